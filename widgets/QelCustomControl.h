// TQelCustomControl: the base of the widget library's windowed controls.
// Its windows are child windows that clip their children and are not
// repainted whole on every size change (no CS_HREDRAW / CS_VREDRAW).
//
// Theming: a class that can draw itself with the desktop theme says so in
// SupportsThemes(); Themed() then applies the library's rule (the
// application's switch, IsThemeActive, CtlXP). ThemeChanged runs when the
// desktop theme or the switch changed: it re-evaluates the switch and
// repaints; subclasses holding theme handles reopen them there.
#pragma once

#include "framework/CustomControl.h"

class TQelCustomControl : public TCustomControl {
 public:
  explicit TQelCustomControl(TComponent* owner);

  // Draw with the desktop theme when theming is on (default true).
  bool CtlXP() const { return ctlXP_; }
  void SetCtlXP(bool value);

  // True when this control draws with the desktop theme now.
  bool Themed() const;

 protected:
  virtual bool SupportsThemes() const { return false; }
  void CreateParams(TCreateParams& params) override;
  void ThemeChanged() override;

 private:
  bool ctlXP_ = true;
};
