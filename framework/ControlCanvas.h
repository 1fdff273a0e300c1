// TControlCanvas: the canvas of a control. During a paint the paint routine
// attaches the paint device context. Used outside a paint (to measure text,
// say) it fetches a device context of its own: the control's window, or for
// a windowless control its parent's window moved and clipped to the
// control's rectangle, or a screen-compatible memory context when there is
// no window yet. Such device contexts are released when the outermost
// window procedure returns, on every path (FreeDeviceContexts).
#pragma once

#include "framework/Canvas.h"

class TControl;

class TControlCanvas : public TCanvas {
 public:
  explicit TControlCanvas(TControl& control) : control_(control) {}
  ~TControlCanvas() override;

  // Releases the device contexts that control canvases fetched themselves.
  static void FreeDeviceContexts();

 protected:
  HDC CreateHandle() override;
  void ReleaseHandle(HDC dc) override;

 private:
  TControl& control_;
  HWND window_ = nullptr;  // the window the device context came from
  bool memory_ = false;    // a memory context (no window)
};
