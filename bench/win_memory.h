// The working set of a process, the memory figure of the Windows
// benchmarks (link with psapi).
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <psapi.h>

// In MB; 0 when the process cannot be asked.
inline double WorkingSetMB(HANDLE process) {
  constexpr double kBytesPerMB = 1024.0 * 1024.0;
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (!GetProcessMemoryInfo(process, &memory, sizeof memory)) return 0;
  return static_cast<double>(memory.WorkingSetSize) / kBytesPerMB;
}
