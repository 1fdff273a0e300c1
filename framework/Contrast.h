// High contrast: when Windows runs in a high-contrast scheme, the controls
// draw with the system's colour pairs alone (window text on window, button
// text on button face, highlight text on highlight) instead of the colours
// they declare, so that every text is readable in any scheme. Outside high
// contrast the declared colours are drawn, unchanged.
//
// HighContrast() is the one reading of the setting (SPI_GETHIGHCONTRAST),
// kept until a form hears of a change (WM_SETTINGCHANGE, WM_SYSCOLORCHANGE:
// it reads the setting again, tells its controls CM_SYSCOLORCHANGE and
// repaints). Tests force it with ForceHighContrast.
//
// Each control belongs to one pair (TControl::ContrastPair: by its Color
// when that is a system colour, else its parent's) and in high contrast
// draws its background and text in that pair (TControl::DrawColor,
// DrawTextColor).
#pragma once

#include <optional>

#include "framework/Graphics.h"

enum TContrastPair { cpWindow, cpFace, cpHighlight };

bool HighContrast();
// Forces the setting (std::nullopt: the system's again); the caller makes
// the forms hear of it.
void ForceHighContrast(std::optional<bool> on);
// Reads the system's setting again; true when HighContrast() changed.
bool HighContrastSettingChanged();

// The system colours of a pair.
TColor ContrastBackground(TContrastPair pair);
TColor ContrastText(TContrastPair pair);
