// TGraphicControl: a windowless control. It paints onto its parent's window
// after the parent has painted itself, in stacking order, clipped to its own
// rectangle, and gets the mouse through its parent's routing (with the
// capture while a button is held, see TControl).
//
// Override Paint() and draw with Canvas() in client coordinates
// ((0, 0) is the control's top-left corner). Invalidate() marks the
// control's rectangle on the parent; with csOpaque in ControlStyle nothing is
// erased under it. Repaint() paints at once.
#pragma once

#include <windows.h>

#include "framework/Control.h"
#include "framework/ControlCanvas.h"

class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* owner);
  ~TGraphicControl() override;

  TCanvas& Canvas() { return canvas_; }
  // Paints the control into `dc`, whose origin is the control's top-left
  // corner (the parent's paint routine sets it up so; tests use it too).
  void PaintTo(HDC dc);

 protected:
  virtual void Paint() {}

 private:
  TControlCanvas canvas_;
};
