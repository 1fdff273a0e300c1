// TCustomControl: a windowed control that paints itself. Override Paint()
// and draw with Canvas() (client coordinates); the one paint routine calls it
// for WM_PAINT and WM_PRINTCLIENT, then paints the windowless children.
// Fill your whole background in Paint() and add csOpaque to ControlStyle to
// skip the erase; SetDoubleBuffered(true) paints through an off-screen
// bitmap.
#pragma once

#include "framework/ControlCanvas.h"
#include "framework/WinControl.h"

class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* owner);
  ~TCustomControl() override;

  TCanvas& Canvas() { return canvas_; }

 protected:
  virtual void Paint() {}
  void PaintWindow(HDC dc) override;
  bool PaintsItself() const override { return true; }

 private:
  TControlCanvas canvas_;
};
