#include "framework/Screen.h"

#include <windows.h>

int Screen::Width() { return GetSystemMetrics(SM_CXSCREEN); }

int Screen::Height() { return GetSystemMetrics(SM_CYSCREEN); }

bool RunningUnderWine() {
  // Wine's ntdll exports wine_get_version; Windows' does not.
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

bool CaptionShowsHelpButton(HWND window) {
  if (RunningUnderWine()) return false;
  constexpr int kHelpButtonState = 4;  // index of the help button in rgstate
  TITLEBARINFO info{};
  info.cbSize = sizeof info;
  return GetTitleBarInfo(window, &info) && !(info.rgstate[kHelpButtonState] & STATE_SYSTEM_INVISIBLE);
}
