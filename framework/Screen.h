// The primary display and the platform underneath, for layout decisions of
// forms (centring, workarounds for platforms that lack a caption button).
#pragma once

namespace Screen {
// The whole primary display in pixels (not its work area).
int Width();
int Height();
}  // namespace Screen

// True when the program runs under Wine rather than Windows. Wine never draws
// the caption's help button, so forms offer its command another way there.
bool RunningUnderWine();
