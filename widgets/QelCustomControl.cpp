#include "widgets/QelCustomControl.h"

#include "widgets/QelApplication.h"

TQelCustomControl::TQelCustomControl(TComponent* owner) : TCustomControl(owner) {}

void TQelCustomControl::SetCtlXP(bool value) {
  if (value == ctlXP_) return;
  ctlXP_ = value;
  if (SupportsThemes()) ThemeChanged();
}

bool TQelCustomControl::Themed() const {
  return QelApplication().DrawsThemed(SupportsThemes(), ctlXP_);
}

void TQelCustomControl::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TQelCustomControl::ThemeChanged() {
  QelApplication().ReevaluateThemes();
  Invalidate();
}
