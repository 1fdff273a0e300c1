#include "framework/GraphicControl.h"

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::PaintTo(HDC dc) {
  TCanvasHandleScope scope(canvas_, dc);
  TPaintingScope painting(*this);
  Paint();
}
