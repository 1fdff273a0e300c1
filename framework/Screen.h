// The primary display and the platform underneath, for layout decisions of
// forms (centring, workarounds for platforms that lack a caption button).
#pragma once

#include <windows.h>

namespace Screen {
// The whole primary display in pixels (not its work area).
int Width();
int Height();
}  // namespace Screen

// True when the program runs under Wine rather than Windows.
bool RunningUnderWine();

// True when the caption of `window` shows the help button "?", so a click on
// it can give its command; where it does not, a form offers the command
// another way. Wine never draws the button, neither in the frame it draws
// itself nor when a window manager draws the frame; Windows draws it as the
// window's styles ask.
bool CaptionShowsHelpButton(HWND window);
