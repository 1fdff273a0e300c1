// TTimer: a platform timer as a component, for code without a window of its
// own (windowless controls). It ticks through a hidden message-only window;
// OnTimer runs inside the error trap with the timer as sender.
// The timer runs while Enabled, Interval > 0 and OnTimer is set.
#pragma once

#include <windows.h>

#include "framework/Component.h"
#include "framework/Events.h"

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  // Milliseconds between ticks.
  UINT Interval() const { return interval_; }
  void SetInterval(UINT milliseconds);
  // Setting the handler starts a timer that is enabled.
  void SetOnTimer(TNotifyEvent handler);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  void Update();

  HWND window_ = nullptr;
  bool enabled_ = true;
  UINT interval_ = 1000;
  TNotifyEvent onTimer_;
};
