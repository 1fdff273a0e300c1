// Timing helpers of the Windows benchmarks.
#pragma once

#include <windows.h>

#include <vector>

inline double Microseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  return static_cast<double>(to.QuadPart - from.QuadPart) * 1e6 / frequency;
}

// Types `count` keys into `field`: a digit, then a Backspace, in turn; after
// each one `repaint` brings the screen up to date. Returns the microseconds
// each keystroke took, from the key to the end of the repaint.
template <class Repaint>
std::vector<double> TimeTyping(HWND field, int count, Repaint repaint) {
  std::vector<double> keystrokes;
  keystrokes.reserve(count);
  for (int i = 0; i < count; ++i) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    if (i % 2 == 0) {
      SendMessageA(field, WM_CHAR, '7', 1);
    } else {
      SendMessageA(field, WM_KEYDOWN, VK_BACK, 1);
    }
    repaint();
    QueryPerformanceCounter(&end);
    keystrokes.push_back(Microseconds(start, end));
  }
  return keystrokes;
}
