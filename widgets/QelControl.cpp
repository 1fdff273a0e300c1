#include "widgets/QelControl.h"

#include "widgets/QelApplication.h"

// --- TQelControl ---

TQelControl::TQelControl(TComponent* owner) : TGraphicControl(owner) {}

void TQelControl::SetCtlXP(bool value) {
  if (value == ctlXP_) return;
  ctlXP_ = value;
  if (SupportsThemes()) ThemeChanged();
}

bool TQelControl::Themed() const { return QelApplication().DrawsThemed(SupportsThemes(), ctlXP_); }

void TQelControl::ThemeChanged() {
  QelApplication().ReevaluateThemes();
  Invalidate();
}

// --- TQelBaseControl ---

TQelBaseControl::TQelBaseControl(TComponent* owner) : TQelControl(owner) {
  fontFX_.SetOnChange([this](TObject*) { CaptionEffectsChanged(); });
}

TQelBaseControl::~TQelBaseControl() { fontFX_.SetOnChange(nullptr); }

// --- TQelBaseGraphicControl ---

TQelBaseGraphicControl::TQelBaseGraphicControl(TComponent* owner) : TQelBaseControl(owner) {
  bevel_.SetOnChange([this](TObject*) { BevelChanged(); });
}

TQelBaseGraphicControl::~TQelBaseGraphicControl() { bevel_.SetOnChange(nullptr); }

void TQelBaseGraphicControl::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  TControlStyle style = ControlStyle();
  SetControlStyle(style.Set(csOpaque, !value));
  Invalidate();
}
