// TQelApplication: the widget library's application-wide state, one object
// for the whole process (QelApplication()).
//
// Theme switch: a widget whose class supports themes draws with the desktop
// theme while the switch is on, IsThemeActive() holds and the widget's CtlXP
// is true (DrawsThemed), but never in high contrast (Contrast.h), whose
// system colours a theme's pictures do not follow. The switch follows the
// desktop: it is on while the desktop theme is active, as seen at start and
// at every re-evaluation (ReevaluateThemes, run when the platform reports a
// theme change), unless the program turned theming off
// (SetThemesAllowed(false)).
#pragma once

#include "widgets/QelKeyboardState.h"

class TQelApplication {
 public:
  TQelApplication();
  TQelApplication(const TQelApplication&) = delete;
  TQelApplication& operator=(const TQelApplication&) = delete;

  // The switch: theming allowed and the desktop theme active.
  bool ThemesEnabled() const { return themesAllowed_ && desktopThemed_; }
  bool ThemesAllowed() const { return themesAllowed_; }
  // Turns theming on or off for the whole program; on a change every widget
  // of every visible form hears of it (CM_THEMECHANGED).
  void SetThemesAllowed(bool value);

  // Looks at the desktop theme again. Returns true when the switch changed.
  bool ReevaluateThemes();

  // The theming rule for one widget.
  bool DrawsThemed(bool classSupportsThemes, bool ctlXP) const;

  // Sends CM_THEMECHANGED to every control of every visible form of this
  // thread, so that widgets reopen their theme handles and repaint.
  void NotifyThemeChange() const;

  // The keyboard state shared by all entry fields.
  TQelKeyboardState& Keyboard() { return keyboard_; }

 private:
  bool themesAllowed_ = true;
  bool desktopThemed_ = false;  // IsThemeActive() at the last evaluation
  TQelKeyboardState keyboard_;
};

// The one application-wide object.
TQelApplication& QelApplication();
