// Starting a program for the Windows benchmarks and waiting until it has
// painted its first window and sits idle in its message loop.
#pragma once

#include <windows.h>

#include <string>

// The directory of the running benchmark, with a trailing backslash.
std::string BenchDirectory();

class TLaunched {
 public:
  // Starts the program at `path` with the command-line `arguments`.
  TLaunched(const std::string& path, const std::string& arguments);
  TLaunched(const TLaunched&) = delete;
  TLaunched& operator=(const TLaunched&) = delete;
  // Closes the program's top-level windows, or kills it.
  ~TLaunched();

  bool Started() const { return started_; }
  HANDLE Process() const { return info_.hProcess; }
  // Waits until the process is idle after its start (WaitForInputIdle: the
  // first paint is done before a message loop finds its queue empty) and
  // returns the seconds since the process was created, or a negative value.
  double WaitUntilIdle();

 private:
  PROCESS_INFORMATION info_{};
  bool started_ = false;
  LARGE_INTEGER start_{};
};
