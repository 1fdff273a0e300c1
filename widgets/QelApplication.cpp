#include "widgets/QelApplication.h"

#include <windows.h>
#include <uxtheme.h>

#include "framework/Form.h"

namespace {

void NotifyControls(TWinControl& parent) {
  for (int i = 0; i < parent.ControlCount(); ++i) {
    TControl* control = parent.Controls(i);
    control->Perform(CM_THEMECHANGED);
    if (TWinControl* windowed = control->AsWinControl()) NotifyControls(*windowed);
  }
}

BOOL CALLBACK NotifyForm(HWND window, LPARAM) {
  auto* form = dynamic_cast<TCustomForm*>(FindControl(window));
  if (form && IsWindowVisible(window)) {
    form->Perform(CM_THEMECHANGED);
    NotifyControls(*form);
  }
  return TRUE;
}

}  // namespace

TQelApplication& QelApplication() {
  static TQelApplication application;
  return application;
}

// The theme library is imported directly, so it is always there; the
// desktop decides.
TQelApplication::TQelApplication() : desktopThemed_(IsThemeActive() != FALSE) {}

void TQelApplication::SetThemesAllowed(bool value) {
  if (value == themesAllowed_) return;
  themesAllowed_ = value;
  NotifyThemeChange();
}

bool TQelApplication::ReevaluateThemes() {
  const bool before = ThemesEnabled();
  desktopThemed_ = IsThemeActive() != FALSE;
  return ThemesEnabled() != before;
}

bool TQelApplication::DrawsThemed(bool classSupportsThemes, bool ctlXP) const {
  return classSupportsThemes && ThemesEnabled() && !HighContrast() && IsThemeActive() && ctlXP;
}

void TQelApplication::NotifyThemeChange() const {
  EnumThreadWindows(GetCurrentThreadId(), NotifyForm, 0);
}
