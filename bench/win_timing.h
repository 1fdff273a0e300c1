// Microseconds between two QueryPerformanceCounter readings, for the
// Windows benchmarks.
#pragma once

#include <windows.h>

inline double Microseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  return static_cast<double>(to.QuadPart - from.QuadPart) * 1e6 / frequency;
}
