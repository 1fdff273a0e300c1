#include "app/Application.h"

#include <utility>
#include <vector>

#include "app/FloatingPoint.h"
#include "app/LocaleSettings.h"
#include "app/ProgramError.h"
#include "framework/ErrorReport.h"
#include "framework/WideText.h"

TApplication* Application = nullptr;

namespace {

constexpr const char kApplicationWindowClass[] = "TApplication";
constexpr const char kSWindowClass[] = "Fehler beim Erzeugen einer Fensterklasse";
constexpr const char kSWindowCreate[] = "Fehler beim Erzeugen eines Fensters";
constexpr const char kMainIcon[] = "MAINICON";
// WS_POPUP | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX.
constexpr DWORD kApplicationWindowStyle = 0x84CA0000;
// The executable's path is read into this many characters.
constexpr DWORD kModuleNameSize = 256;
constexpr UINT kErrorBoxFlags = MB_OK | MB_ICONSTOP;
// Moving the application window for a box: no size, stacking, redraw or
// activation change.
constexpr UINT kMoveOnlyFlags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE;

// The object whose application window is being created: its first
// messages arrive before the window knows it.
TApplication* creatingApplication = nullptr;

// The windows a message box disables while it is open, enabled again (if
// they still exist) when it closes; the focus goes back where it was.
class TDisabledWindows {
 public:
  explicit TDisabledWindows(HWND active) : active_(active), focus_(GetFocus()) {
    EnumThreadWindows(GetCurrentThreadId(), Visit, reinterpret_cast<LPARAM>(this));
  }
  TDisabledWindows(const TDisabledWindows&) = delete;
  TDisabledWindows& operator=(const TDisabledWindows&) = delete;
  ~TDisabledWindows() {
    for (HWND window : disabled_)
      if (IsWindow(window)) EnableWindow(window, TRUE);
    if (IsWindow(active_)) SetActiveWindow(active_);
    if (focus_ && IsWindow(focus_)) SetFocus(focus_);
  }

 private:
  static BOOL CALLBACK Visit(HWND window, LPARAM self) {
    auto* list = reinterpret_cast<TDisabledWindows*>(self);
    if (window != list->active_ && IsWindowVisible(window) && IsWindowEnabled(window)) {
      EnableWindow(window, FALSE);
      list->disabled_.push_back(window);
    }
    return TRUE;
  }

  HWND active_;
  HWND focus_;
  std::vector<HWND> disabled_;
};

// Moves a window to the centre of another monitor for one scope.
class TMovedToMonitor {
 public:
  TMovedToMonitor(HWND window, HWND owner) : window_(window) {
    const HMONITOR target = MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST);
    if (target == MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)) return;
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(target, &info) || !GetWindowRect(window, &saved_)) return;
    moved_ = true;
    SetWindowPos(window, nullptr, (info.rcMonitor.left + info.rcMonitor.right) / 2,
                 (info.rcMonitor.top + info.rcMonitor.bottom) / 2, 0, 0, kMoveOnlyFlags);
  }
  TMovedToMonitor(const TMovedToMonitor&) = delete;
  TMovedToMonitor& operator=(const TMovedToMonitor&) = delete;
  ~TMovedToMonitor() {
    if (moved_) SetWindowPos(window_, nullptr, saved_.left, saved_.top, 0, 0, kMoveOnlyFlags);
  }

 private:
  HWND window_;
  RECT saved_{};
  bool moved_ = false;
};

}  // namespace

// --- Creation ---

std::string TApplication::TitleFromPath(const std::string& path) {
  std::string title = path.substr(path.find_last_of('\\') + 1);
  title = title.substr(0, title.find('.'));
  if (title.size() > 1) CharLowerBuffA(title.data() + 1, static_cast<DWORD>(title.size() - 1));
  return title;
}

TApplication::TApplication() : TComponent(nullptr) {
  char path[kModuleNameSize + 1] = {};
  GetModuleFileNameA(nullptr, path, kModuleNameSize);
  OemToCharA(path, path);
  title_ = TitleFromPath(path);
  icon_ = LoadIconA(GetModuleHandleA(nullptr), kMainIcon);
  taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
  CreateHandle();
  previousReporter_ = SetErrorReporter(
      [this](TObject* sender, std::exception_ptr error) { ReportError(sender, error); });
  previousHost_ = SetFormHost(this);
  Application = this;
}

TApplication::~TApplication() {
  // The forms go first: they still need the host and the owner window.
  DestroyComponents();
  SetFormHost(previousHost_);
  SetErrorReporter(previousReporter_);
  if (handle_) DestroyWindow(handle_);
  if (Application == this) Application = nullptr;
}

void TApplication::CreateHandle() {
  HINSTANCE module = GetModuleHandleA(nullptr);
  WNDCLASSA existing{};
  if (!GetClassInfoA(module, kApplicationWindowClass, &existing)) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = module;
    wc.hIcon = icon_;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kApplicationWindowClass;
    if (!RegisterClassA(&wc)) throw EOutOfResources(kSWindowClass);
  }
  creatingApplication = this;
  handle_ = CreateWindowExA(0, kApplicationWindowClass, title_.c_str(), kApplicationWindowStyle,
                            GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2,
                            0, 0, nullptr, nullptr, module, nullptr);
  creatingApplication = nullptr;
  if (!handle_) throw EOutOfResources(kSWindowCreate);
  SetWindowLongPtrA(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  HMENU menu = GetSystemMenu(handle_, FALSE);
  DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND);
  DeleteMenu(menu, SC_SIZE, MF_BYCOMMAND);
  DeleteMenu(menu, SC_MOVE, MF_BYCOMMAND);
}

// --- The program block ---

void TApplication::StartUp() {}

void TApplication::RunLoop() {
  running_ = true;
  if (mainForm_) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    if (startup.dwFlags & STARTF_USESHOWWINDOW) ApplyShowRequest(startup.wShowWindow);
    if (ShowMainForm) {
      if (mainForm_->WindowState() == wsMinimized) {
        Minimize();
      } else {
        // The form first: a window manager that offers the focus to the
        // first new window then finds the form already mapped, where Wine
        // passes the focus on (to the active form) when offered the
        // application window.
        mainForm_->Show();
        ShowWindow(handle_, SW_SHOWNA);
      }
    }
    while (!terminated_) {
      // Each step runs inside the error trap, so the loop goes on.
      try {
        if (!ProcessOneMessage()) Idle();
      } catch (...) {
        ReportError(this, std::current_exception());
      }
    }
  }
  running_ = false;
}

void TApplication::ApplyShowRequest(int showCommand) {
  if (!mainForm_) return;
  if (showCommand == SW_SHOWMAXIMIZED) mainForm_->SetWindowState(wsMaximized);
  if (showCommand == SW_SHOWMINNOACTIVE) mainForm_->SetWindowState(wsMinimized);
}

bool TApplication::ProcessOneMessage() {
  // One look into the queue per message, each look being a round trip to
  // the window manager: the message is taken in its Unicode form and its
  // character turned into the ANSI one that an ANSI window expects.
  MSG msg;
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  NoteMousePoint(msg);
  const bool unicode = msg.hwnd && IsWindowUnicode(msg.hwnd);
  if (!unicode) ToAnsiCharacter(msg);
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  if (IsPreProcessMessage(msg) || IsKeyMsg(msg)) return true;
  TranslateMessage(&msg);
  if (unicode) {
    DispatchMessageW(&msg);
  } else {
    DispatchMessageA(&msg);
  }
  return true;
}

void TApplication::ToAnsiCharacter(MSG& msg) {
  switch (msg.message) {
    case WM_CHAR: case WM_DEADCHAR: case WM_SYSCHAR: case WM_SYSDEADCHAR: case WM_IME_CHAR: break;
    default: return;
  }
  const WCHAR wide = LOWORD(msg.wParam);
  char ansi = 0;
  WideCharToMultiByte(CP_ACP, 0, &wide, 1, &ansi, 1, nullptr, nullptr);
  msg.wParam = static_cast<unsigned char>(ansi);
}

bool TApplication::IsPreProcessMessage(MSG& msg) {
  TWinControl* control = FindControl(msg.hwnd);
  return control && control->PreProcessMessage(msg);
}

bool TApplication::IsKeyMsg(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  HWND target = msg.hwnd;
  if (TWinControl* capture = CaptureWindowControl()) target = capture->Handle();
  // Child windows of a platform control (a combo box's edit) belong to it.
  while (target && !FindControl(target) && (GetWindowLongA(target, GWL_STYLE) & WS_CHILD))
    target = GetParent(target);
  TWinControl* control = FindControl(target);
  if (!control) return false;
  return SendMessageA(control->Handle(), CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
}

void TApplication::NoteMousePoint(const MSG& msg) {
  const bool pointer = (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) ||
                       (msg.message >= WM_NCMOUSEMOVE && msg.message <= WM_NCMBUTTONDBLCLK) ||
                       msg.message == WM_MOUSELEAVE || msg.message == WM_NCMOUSELEAVE;
  if (pointer || msg.pt.x != mouseLookedAt_.x || msg.pt.y != mouseLookedAt_.y) mouseLookDue_ = true;
}

void TApplication::Idle() {
  if (mouseLookDue_ || layoutLookedAt_ != LayoutChanges()) {
    POINT cursor{};
    TControl* control = nullptr;
    if (GetCursorPos(&cursor)) control = FindControlAtScreenPoint(cursor);
    mouseLookedAt_ = cursor;
    layoutLookedAt_ = LayoutChanges();
    mouseLookDue_ = false;
    SetMouseControl(control);
  }
  TControl* control = MouseControl();
  currentHint_ = control ? control->Hint() : std::string();
  // Sleeps until a new message arrives; the loop never polls.
  WaitMessage();
}

void TApplication::RequestQuit() { PostQuitMessage(0); }

bool TApplication::FormClosing(TCustomForm& form) {
  if (&form != mainForm_) return false;
  RequestQuit();
  return true;
}

void TApplication::Minimize() {
  if (IsIconic(handle_)) return;
  ShowWindow(handle_, SW_MINIMIZE);
}

void TApplication::Restore() {
  if (!IsIconic(handle_)) return;
  ShowWindow(handle_, SW_RESTORE);
  if (mainForm_) {
    mainForm_->SetWindowState(wsNormal);
    mainForm_->Show();
    SetActiveWindow(mainForm_->Handle());
  }
}

// --- Errors ---

void TApplication::ReportError(TObject* sender, std::exception_ptr error) {
  // A processor fault may have left the control word changed.
  SetFpuControlWord();
  // No drag or button press stays active while the box is up.
  if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
  try {
    std::rethrow_exception(error);
  } catch (const EAbort&) {
  } catch (const Exception& e) {
    if (OnError) {
      OnError(sender, error);
    } else {
      ShowError(e);
    }
  } catch (...) {
    ShowProgramError(error);
  }
}

void TApplication::ShowError(const Exception& error) {
  std::string text = error.Message();
  if (!text.empty()) {
    // The last character, a double-byte character counting as one.
    const char* last = CharPrevA(text.c_str(), text.c_str() + text.size());
    if (static_cast<unsigned char>(*last) > '.') text += '.';
  }
  ShowMessageBox(text, title_, kErrorBoxFlags);
}

int TApplication::ShowMessageBox(const std::string& text, const std::string& caption, UINT flags) {
  HWND owner = GetActiveWindow();
  if (!owner) owner = handle_;
  TMovedToMonitor moved(handle_, owner);
  TDisabledWindows disabled(owner);
  return MessageBoxW(owner, WideText(text).c_str(), WideText(caption).c_str(), flags);
}

// --- The application window ---

LRESULT CALLBACK TApplication::WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* app = reinterpret_cast<TApplication*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!app) app = creatingApplication;
  if (!app) return DefWindowProcA(window, msg, wParam, lParam);
  if (!app->handle_) app->handle_ = window;
  TMessage m{msg, wParam, lParam, 0};
  try {
    app->WndProc(m);
  } catch (...) {
    app->ReportError(app, std::current_exception());
  }
  return m.Result;
}

void TApplication::WndProc(TMessage& msg) {
  if (msg.Msg == WM_WININICHANGE || (taskbarCreated_ && msg.Msg == taskbarCreated_))
    SettingsChanged(msg);
  switch (msg.Msg) {
    case WM_SYSCOMMAND: WMSysCommand(msg); break;
    case WM_CLOSE: WMClose(msg); break;
    case WM_ACTIVATEAPP: WMActivateApp(msg); break;
    case WM_ENDSESSION: WMEndSession(msg); break;
    default: DefaultHandler(msg); break;
  }
}

void TApplication::DefaultHandler(TMessage& msg) {
  msg.Result = DefWindowProcA(handle_, msg.Msg, msg.WParam, msg.LParam);
}

void TApplication::SettingsChanged(TMessage&) {
  if (UpdateFormatSettings) {
    SetThreadLocale(LOCALE_USER_DEFAULT);
    LoadThreadLocaleFormats();
  }
}

void TApplication::WMSysCommand(TMessage& msg) {
  switch (msg.WParam & 0xFFF0) {
    case SC_MINIMIZE: Minimize(); break;
    case SC_RESTORE: Restore(); break;
    default: DefaultHandler(msg); break;
  }
}

void TApplication::WMClose(TMessage&) {
  if (mainForm_) mainForm_->Close();
}

void TApplication::WMActivateApp(TMessage& msg) {
  active_ = msg.WParam != 0;
  DefaultHandler(msg);
}

void TApplication::WMEndSession(TMessage& msg) {
  if (msg.WParam) ExitProcess(0);
}

// --- Process ---

TProgramSetup::TProgramSetup() {
  SetFpuControlWord();
  InstallFpuFaultBridge();
  LoadThreadLocaleFormats();
  new TApplication();
}

TProgramSetup::~TProgramSetup() { delete Application; }
