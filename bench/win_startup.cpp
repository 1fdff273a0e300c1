// Start-up benchmark: the time from process creation until the main window
// has been painted and the program waits for input, for Baudix.exe and for
// a bare Win32 program with one empty window of the same size, alternating
// in one run under the same Wine. Prints the medians and their ratio.
//
//   cmake/wine-run $PWD/build/win64/wineprefix build/win64/bench/win_startup.exe [runs]
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/bench_table.h"
#include "win_launch.h"

namespace {
constexpr int kDefaultRuns = 15;

double StartOnce(const std::string& path) {
  TLaunched program(path, "");
  return program.WaitUntilIdle();
}
}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : kDefaultRuns;
  const std::string dir = BenchDirectory();
  const std::string baudix = dir + "..\\Baudix.exe";
  const std::string bare = dir + "win_bare_window.exe";
  // One start of each first, not counted: DLLs and fonts into the caches.
  StartOnce(baudix);
  StartOnce(bare);
  std::vector<double> baudixTimes, bareTimes;
  for (int i = 0; i < runs; ++i) {
    const double a = StartOnce(baudix);
    const double b = StartOnce(bare);
    if (a < 0 || b < 0) {
      std::printf("a program did not start or did not become idle\n");
      return 1;
    }
    baudixTimes.push_back(a);
    bareTimes.push_back(b);
  }
  const double baudixMedian = Percentile(baudixTimes, 0.5);
  const double bareMedian = Percentile(bareTimes, 0.5);
  PrintRow("start-up to first complete paint, median of " + std::to_string(runs) + " starts",
           Figure("%.0f ms", baudixMedian * 1000), Figure("%.0f ms (bare window)", bareMedian * 1000),
           baudixMedian / bareMedian);
  return 0;
}
