// TQelThemeHandle: an open theme of the visual-styles engine
// (OpenThemeData), closed with CloseThemeData when replaced or freed.
#pragma once

#include <windows.h>
#include <uxtheme.h>

#include <utility>

class TQelThemeHandle {
 public:
  TQelThemeHandle() = default;
  TQelThemeHandle(const TQelThemeHandle&) = delete;
  TQelThemeHandle& operator=(const TQelThemeHandle&) = delete;
  ~TQelThemeHandle() { Close(); }

  // Opens the theme class `classList` ("EDIT", "BUTTON") for `window`.
  void Open(HWND window, const wchar_t* classList) {
    Close();
    theme_ = OpenThemeData(window, classList);
  }
  void Close() {
    if (theme_) CloseThemeData(std::exchange(theme_, nullptr));
  }
  HTHEME Get() const { return theme_; }
  explicit operator bool() const { return theme_ != nullptr; }

 private:
  HTHEME theme_ = nullptr;
};
