#include "win_launch.h"

namespace {
constexpr DWORD kWaitMs = 30000;

BOOL CALLBACK CloseWindowsOf(HWND window, LPARAM process) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == static_cast<DWORD>(process) && IsWindowVisible(window))
    PostMessageA(window, WM_CLOSE, 0, 0);
  return TRUE;
}
}  // namespace

std::string BenchDirectory() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir = path;
  return dir.substr(0, dir.find_last_of('\\') + 1);
}

TLaunched::TLaunched(const std::string& path, const std::string& arguments) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::string commandLine = "\"" + path + "\" " + arguments;
  QueryPerformanceCounter(&start_);
  started_ = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &info_);
}

TLaunched::~TLaunched() {
  if (!started_) return;
  EnumWindows(CloseWindowsOf, static_cast<LPARAM>(info_.dwProcessId));
  if (WaitForSingleObject(info_.hProcess, kWaitMs) != WAIT_OBJECT_0) TerminateProcess(info_.hProcess, 1);
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

double TLaunched::WaitUntilIdle() {
  if (!started_ || WaitForInputIdle(info_.hProcess, kWaitMs) != 0) return -1;
  LARGE_INTEGER now{}, frequency{};
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart - start_.QuadPart) / frequency.QuadPart;
}
