#include "framework/Timer.h"

#include <utility>

#include "calc/Exceptions.h"
#include "framework/ErrorReport.h"

namespace {
constexpr const char kTimerWindowClass[] = "TTimerWindow";
constexpr const char kSNoTimers[] = "Nicht gen\xFCgend Timer verf\xFCgbar";
constexpr const char kSWindowClass[] = "Fehler beim Erzeugen einer Fensterklasse";
constexpr UINT_PTR kTimerId = 1;
}  // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}

TTimer::~TTimer() {
  if (window_) DestroyWindow(window_);
}

void TTimer::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Update();
}

void TTimer::SetInterval(UINT milliseconds) {
  if (milliseconds == interval_) return;
  interval_ = milliseconds;
  Update();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
  onTimer_ = std::move(handler);
  Update();
}

void TTimer::Update() {
  if (window_) KillTimer(window_, kTimerId);
  if (!enabled_ || interval_ == 0 || !onTimer_) return;
  if (!window_) {
    HINSTANCE module = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    if (!GetClassInfoA(module, kTimerWindowClass, &wc)) {
      wc.lpfnWndProc = WindowProc;
      wc.hInstance = module;
      wc.lpszClassName = kTimerWindowClass;
      if (!RegisterClassA(&wc)) throw EOutOfResources(kSWindowClass);
    }
    window_ = CreateWindowExA(0, kTimerWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              module, nullptr);
    if (!window_) throw EOutOfResources(kSNoTimers);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  if (!SetTimer(window_, kTimerId, interval_, nullptr)) throw EOutOfResources(kSNoTimers);
}

LRESULT CALLBACK TTimer::WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* timer = reinterpret_cast<TTimer*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (msg != WM_TIMER || !timer) return DefWindowProcA(window, msg, wParam, lParam);
  try {
    if (timer->onTimer_) timer->onTimer_(timer);
  } catch (...) {
    ReportError(timer, std::current_exception());
  }
  return 0;
}
