// The yardstick for the start-up benchmark: a bare Win32 program that opens
// one empty window of the main window's size (client 457 x 479, fixed single
// border, system menu and help button) and ends when it is closed. With the
// argument "edit" the window holds the platform's EDIT control, focused: the
// yardstick for keystrokes typed as real input (win_requests).
#include <windows.h>

#include <cstring>

#include "bench/win_bare_edit.h"

namespace {
constexpr int kClientWidth = 457;
constexpr int kClientHeight = 479;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_CONTEXTHELP;

LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      FillRect(dc, &ps.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
      EndPaint(window, &ps);
      return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(window, msg, wParam, lParam);
  }
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = "BareWindow";
  RegisterClassA(&wc);
  RECT r{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
  HWND window = CreateWindowExA(kExStyle, "BareWindow", "Bare", kStyle, CW_USEDEFAULT,
                                CW_USEDEFAULT, r.right - r.left, r.bottom - r.top, nullptr,
                                nullptr, instance, nullptr);
  ShowWindow(window, show);
  if (std::strcmp(commandLine, "edit") == 0) CreateBareEdit(window);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
