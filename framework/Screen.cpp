#include "framework/Screen.h"

#include <windows.h>

int Screen::Width() { return GetSystemMetrics(SM_CXSCREEN); }

int Screen::Height() { return GetSystemMetrics(SM_CYSCREEN); }

bool RunningUnderWine() {
  // Wine's ntdll exports wine_get_version; Windows' does not.
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}
