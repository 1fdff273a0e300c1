#include "support/WindowCount.h"

#include <windows.h>

namespace {

BOOL CALLBACK CountChild(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  // EnumChildWindows walks the whole subtree, grandchildren included.
  EnumChildWindows(window, CountChild, count);
  return TRUE;
}

}  // namespace

int WindowCount() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountTopLevel, reinterpret_cast<LPARAM>(&count));
  return count;
}
