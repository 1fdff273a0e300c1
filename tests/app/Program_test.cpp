// The program Baudix.exe as a whole, started as a process of its own: its
// title, its window, minimising, and the exit codes of the ways it ends,
// a failed start included.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>

namespace {

// The folder of the test programs.
std::string TestFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string file = path;
  return file.substr(0, file.find_last_of('\\'));
}

// Baudix.exe lies in the build directory, one above the test programs.
std::string ProgramPath() {
  const std::string tests = TestFolder();
  return tests.substr(0, tests.find_last_of('\\')) + "\\Baudix.exe";
}

// Polls `done` until it holds; the limit only stops a broken test.
bool WaitFor(const std::function<bool()>& done) {
  for (int i = 0; i < 1000 && !done(); ++i) Sleep(20);
  return done();
}

struct TWindows {
  DWORD process = 0;
  HWND application = nullptr;
  HWND form = nullptr;
  HWND box = nullptr;  // a message box
};

BOOL CALLBACK FindWindows(HWND window, LPARAM param) {
  auto* found = reinterpret_cast<TWindows*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != found->process) return TRUE;
  char className[32] = {};
  GetClassNameA(window, className, sizeof className);
  if (std::string(className) == "TApplication") found->application = window;
  if (std::string(className) == "TForm1" && IsWindowVisible(window)) found->form = window;
  if (std::string(className) == "TForm1" && IsIconic(GetWindow(window, GW_OWNER)))
    found->form = window;
  if (std::string(className) == "#32770") found->box = window;
  return TRUE;
}

// A running Baudix.exe; killed if a test leaves it running.
class TProgram {
 public:
  explicit TProgram(WORD showCommand = SW_SHOWNORMAL, std::string desktop = {}) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!desktop.empty()) startup.lpDesktop = desktop.data();
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = showCommand;
    std::string commandLine = "\"" + ProgramPath() + "\"";
    started_ = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &info_);
    windows_.process = info_.dwProcessId;
  }
  ~TProgram() {
    if (!started_) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 99);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  bool Started() const { return started_; }
  DWORD Process() const { return info_.dwProcessId; }

  // Waits until the main form exists (the program is idle in its loop then).
  const TWindows& WaitForWindows() {
    WaitForInputIdle(info_.hProcess, kWaitMs);
    for (int i = 0; i < kWaitMs / kStepMs && !windows_.form; ++i) {
      EnumWindows(FindWindows, reinterpret_cast<LPARAM>(&windows_));
      if (!windows_.form) Sleep(kStepMs);
    }
    return windows_;
  }
  // The exit code, or -1 when the program does not end.
  int WaitForExit() {
    if (WaitForSingleObject(info_.hProcess, kWaitMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return static_cast<int>(code);
  }

 private:
  static constexpr int kWaitMs = 20000;
  static constexpr int kStepMs = 20;
  PROCESS_INFORMATION info_{};
  bool started_ = false;
  TWindows windows_;
};

TEST(Program, ShowsItsWindowUnderTheTitleAndEndsWithZeroWhenClosed) {
  TProgram program;
  ASSERT_TRUE(program.Started()) << ProgramPath();
  const TWindows& windows = program.WaitForWindows();
  ASSERT_NE(windows.form, nullptr) << "no main window";
  ASSERT_NE(windows.application, nullptr);
  char title[64] = {};
  GetWindowTextA(windows.application, title, sizeof title);
  EXPECT_STREQ(title, "Baudix");
  // The taskbar button's window is shown right after the form.
  EXPECT_TRUE(WaitFor([&windows] { return IsWindowVisible(windows.application) != 0; }))
      << "no taskbar button";
  EXPECT_EQ(GetWindow(windows.form, GW_OWNER), windows.application);
  char caption[64] = {};
  GetWindowTextA(windows.form, caption, sizeof caption);
  EXPECT_EQ(std::string(caption).rfind("Baudix - ", 0), 0u) << caption;
  RECT client{};
  GetClientRect(windows.form, &client);
  EXPECT_EQ(client.right, 457);
  EXPECT_EQ(client.bottom, 479);
  EXPECT_TRUE(GetWindowLongA(windows.form, GWL_EXSTYLE) & WS_EX_CONTEXTHELP);

  // Minimising and restoring through the taskbar button's commands.
  PostMessageA(windows.application, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(WaitFor([&] { return IsIconic(windows.application) != 0; }))
      << "minimising did not minimise the taskbar button";
  PostMessageA(windows.application, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_TRUE(WaitFor(
      [&] { return !IsIconic(windows.application) && IsWindowVisible(windows.form); }))
      << "restoring did not show the window";
  PostMessageA(windows.form, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(), 0);
}

TEST(Program, CloseFromTheTaskbarButtonEndsItToo) {
  TProgram program;
  ASSERT_TRUE(program.Started());
  const TWindows& windows = program.WaitForWindows();
  ASSERT_NE(windows.application, nullptr);
  PostMessageA(windows.application, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(), 0);
}

TEST(Program, StartsMinimizedOnTheShowRequestOfAMinimizedShortcut) {
  TProgram program(SW_SHOWMINNOACTIVE);
  ASSERT_TRUE(program.Started());
  const TWindows& windows = program.WaitForWindows();
  ASSERT_NE(windows.application, nullptr);
  EXPECT_TRUE(WaitFor([&] { return IsIconic(windows.application) != 0; }));
  ASSERT_NE(windows.form, nullptr);
  EXPECT_FALSE(IsWindowVisible(windows.form));
  PostMessageA(windows.application, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(windows.form) != 0; }))
      << "restoring did not show the window";
  PostMessageA(windows.form, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(), 0);
}

// This thread on a desktop of its own for one scope, where a hook makes
// every program fail to create its application window.
class TFailingStartDesktop {
 public:
  TFailingStartDesktop() : previous_(GetThreadDesktop(GetCurrentThreadId())) {
    char name[64];
    std::snprintf(name, sizeof name, "baudix-failing-start-%lu", GetCurrentProcessId());
    name_ = name;
    desktop_ = CreateDesktopA(name, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    if (!desktop_ || !SetThreadDesktop(desktop_)) return;
    module_ = LoadLibraryA((TestFolder() + "\\refuse_application_window.dll").c_str());
    if (!module_) return;
    auto refuse = reinterpret_cast<HOOKPROC>(GetProcAddress(module_, "RefuseApplicationWindow"));
    hook_ = SetWindowsHookExA(WH_CBT, refuse, module_, 0);
  }
  TFailingStartDesktop(const TFailingStartDesktop&) = delete;
  TFailingStartDesktop& operator=(const TFailingStartDesktop&) = delete;
  ~TFailingStartDesktop() {
    if (hook_) UnhookWindowsHookEx(hook_);
    if (module_) FreeLibrary(module_);
    SetThreadDesktop(previous_);
    if (desktop_) CloseDesktop(desktop_);
  }
  bool Ready() const { return hook_ != nullptr; }
  const std::string& Name() const { return name_; }
  HDESK Handle() const { return desktop_; }

 private:
  HDESK previous_;
  std::string name_;
  HDESK desktop_ = nullptr;
  HMODULE module_ = nullptr;
  HHOOK hook_ = nullptr;
};

TEST(Program, AFailedStartShowsTheApplicationErrorAndEndsWithOne) {
  TFailingStartDesktop desktop;
  ASSERT_TRUE(desktop.Ready()) << "the hook could not be set";
  TProgram program(SW_SHOWNORMAL, desktop.Name());
  ASSERT_TRUE(program.Started());
  TWindows found{program.Process()};
  char text[512] = {};
  ASSERT_TRUE(WaitFor([&] {
    EnumDesktopWindows(desktop.Handle(), FindWindows, reinterpret_cast<LPARAM>(&found));
    return found.box && GetDlgItemTextA(found.box, 0xFFFF, text, sizeof text) > 0;
  })) << "no error box";
  char caption[64] = {};
  GetWindowTextA(found.box, caption, sizeof caption);
  EXPECT_STREQ(caption, "Anwendungsfehler");
  const std::string shown = text;
  const std::string start = "Exception EOutOfResources in Modul Baudix.exe bei ";
  EXPECT_EQ(shown.rfind(start, 0), 0u) << shown;
  EXPECT_EQ(shown.substr(std::min(shown.size(), start.size() + 8)),
            ".\r\nFehler beim Erzeugen eines Fensters.\r\n")
      << shown;
  PostMessageA(found.box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(program.WaitForExit(), 1);
}

TEST(Program, EndsAtOnceWhenTheSessionEnds) {
  TProgram program;
  ASSERT_TRUE(program.Started());
  const TWindows& windows = program.WaitForWindows();
  ASSERT_NE(windows.application, nullptr);
  PostMessageA(windows.application, WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(program.WaitForExit(), 0);
}

}  // namespace
