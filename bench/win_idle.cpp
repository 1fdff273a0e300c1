// Idle benchmark: the CPU time Baudix.exe and the bare one-window program
// use during the same 10 s in which nothing happens, after both have
// started and painted; and their working sets after the start. A loop that
// sleeps in WaitMessage uses no CPU; a polling loop would use a core.
//
//   cmake/wine-run $PWD/build/win64/wineprefix build/win64/bench/win_idle.exe
#include <cstdio>

#include "bench/bench_table.h"
#include "bench/win_memory.h"
#include "win_launch.h"

namespace {
constexpr DWORD kIdleMs = 10000;

double CpuMilliseconds(HANDLE process) {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(process, &created, &exited, &kernel, &user);
  auto value = [](const FILETIME& t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return (value(kernel) + value(user)) / 10000.0;  // 100 ns units
}
}  // namespace

int main() {
  TLaunched baudix(BenchDirectory() + "..\\Baudix.exe", "");
  TLaunched bare(BenchDirectory() + "win_bare_window.exe", "");
  if (baudix.WaitUntilIdle() < 0 || bare.WaitUntilIdle() < 0) {
    std::printf("a program did not start or did not become idle\n");
    return 1;
  }
  const double baudixMemory = WorkingSetMB(baudix.Process());
  const double bareMemory = WorkingSetMB(bare.Process());
  const double baudixBefore = CpuMilliseconds(baudix.Process());
  const double bareBefore = CpuMilliseconds(bare.Process());
  Sleep(kIdleMs);
  const double baudixIdle = CpuMilliseconds(baudix.Process()) - baudixBefore;
  const double bareIdle = CpuMilliseconds(bare.Process()) - bareBefore;
  PrintRow("CPU time while idle for 10 s", Figure("%.1f ms", baudixIdle),
           Figure("%.1f ms (bare window)", bareIdle), bareIdle > 0 ? baudixIdle / bareIdle : 0);
  PrintRow("working set after start (separate process)", Figure("%.1f MB", baudixMemory),
           Figure("%.1f MB (bare window)", bareMemory), baudixMemory / bareMemory);
  return 0;
}
