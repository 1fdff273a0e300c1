// The yardstick of the keystroke figures: the platform's own single-line
// EDIT control, placed, sized and aligned like the frequency field. It
// scrolls its text when the text outgrows the field, as Baudix's fields do,
// so that every typed digit is taken.
#pragma once

#include <windows.h>

inline HWND CreateBareEdit(HWND parent) {
  constexpr int kLeft = 8, kTop = 8, kWidth = 121, kHeight = 21;
  constexpr char kText[] = "25000";
  HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", kText,
                              WS_CHILD | WS_VISIBLE | ES_CENTER | ES_AUTOHSCROLL, kLeft, kTop,
                              kWidth, kHeight, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  SetFocus(edit);
  SendMessageA(edit, EM_SETSEL, sizeof kText - 1, sizeof kText - 1);
  return edit;
}

// The EDIT on a bare top-level window of its own, for benchmarks that type
// into it in their own process.
class TBareEdit {
 public:
  TBareEdit()
      : window_(CreateWindowExA(0, "STATIC", "", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 0, 0, 300,
                                100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr)),
        edit_(CreateBareEdit(window_)) {}
  TBareEdit(const TBareEdit&) = delete;
  TBareEdit& operator=(const TBareEdit&) = delete;
  ~TBareEdit() { DestroyWindow(window_); }

  HWND Window() const { return window_; }
  HWND Edit() const { return edit_; }

 private:
  HWND window_;
  HWND edit_;
};
