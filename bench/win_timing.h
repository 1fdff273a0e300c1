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

// One keystroke as the message loop hands it to a focused field after
// translation: a digit arrives as its character, a Backspace as the key
// (which Baudix's fields act on) and then as character 8 (which the
// platform's EDIT acts on).
inline void SendKeystroke(HWND field, bool backspace) {
  if (backspace) {
    SendMessageA(field, WM_KEYDOWN, VK_BACK, 1);
    SendMessageA(field, WM_CHAR, '\b', 1);
  } else {
    SendMessageA(field, WM_CHAR, '7', 1);
  }
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
    SendKeystroke(field, i % 2 == 1);
    repaint();
    QueryPerformanceCounter(&end);
    keystrokes.push_back(Microseconds(start, end));
  }
  return keystrokes;
}
