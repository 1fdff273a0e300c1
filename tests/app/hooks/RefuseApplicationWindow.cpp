// A computer-based-training hook, set from a test for a desktop of its own:
// Windows loads it into every program started there and it refuses to
// create the program's application window, so that the start fails.
#include <windows.h>

extern "C" __declspec(dllexport) LRESULT CALLBACK RefuseApplicationWindow(int code, WPARAM wParam,
                                                                          LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    const char* className = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs->lpszClass;
    if (!IS_INTRESOURCE(className) && lstrcmpA(className, "TApplication") == 0) return 1;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
