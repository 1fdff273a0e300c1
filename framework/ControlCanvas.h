// TControlCanvas: the canvas of a control. During a paint the paint routine
// attaches the paint device context. Used outside a paint (to measure text,
// say) it fetches a screen-compatible memory context of its own: drawing
// happens only in a paint. Such device contexts are released when the
// outermost window procedure returns, on every path (FreeDeviceContexts).
#pragma once

#include "framework/Canvas.h"

class TControlCanvas : public TCanvas {
 public:
  TControlCanvas() = default;
  ~TControlCanvas() override;

  // Releases the device contexts that control canvases fetched themselves.
  static void FreeDeviceContexts();

 protected:
  HDC CreateHandle() override;
  void ReleaseHandle(HDC dc) override;
};
