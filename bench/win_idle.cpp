// Idle benchmark: the CPU time Baudix.exe uses during 5 s in which nothing
// happens, after it has started and painted its window. A loop that sleeps
// in WaitMessage uses none; a polling loop would use a core.
//
//   cmake/wine-run $PWD/build/win64/wineprefix build/win64/bench/win_idle.exe
#include <cstdio>

#include "win_launch.h"

namespace {
constexpr DWORD kIdleMs = 5000;

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
  TLaunched program(BenchDirectory() + "..\\Baudix.exe");
  if (program.WaitUntilIdle() < 0) {
    std::printf("Baudix.exe did not start or did not become idle\n");
    return 1;
  }
  const double before = CpuMilliseconds(program.Process());
  Sleep(kIdleMs);
  const double after = CpuMilliseconds(program.Process());
  std::printf("CPU time of Baudix.exe during %lu ms idle: %.1f ms\n", kIdleMs, after - before);
  return 0;
}
