#include "framework/Contrast.h"

#include <windows.h>

namespace {

std::optional<bool> forcedSetting;
// Asking the system is a round trip; paints ask all the time.
std::optional<bool> systemSetting;

bool ReadSystemSetting() {
  HIGHCONTRASTA contrast{};
  contrast.cbSize = sizeof contrast;
  return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

}  // namespace

bool HighContrast() {
  if (forcedSetting) return *forcedSetting;
  if (!systemSetting) systemSetting = ReadSystemSetting();
  return *systemSetting;
}

void ForceHighContrast(std::optional<bool> on) { forcedSetting = on; }

bool HighContrastSettingChanged() {
  const bool before = HighContrast();
  systemSetting.reset();
  return HighContrast() != before;
}

TColor ContrastBackground(TContrastPair pair) {
  switch (pair) {
    case cpWindow: return clWindow;
    case cpHighlight: return clHighlight;
    case cpFace: break;
  }
  return clBtnFace;
}

TColor ContrastText(TContrastPair pair) {
  switch (pair) {
    case cpWindow: return clWindowText;
    case cpHighlight: return clHighlightText;
    case cpFace: break;
  }
  return clBtnText;
}
