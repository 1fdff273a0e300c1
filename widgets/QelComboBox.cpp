#include "widgets/QelComboBox.h"

#include "framework/Gdi.h"

void TQelCustomComboBox::WndProc(TMessage& msg) {
  switch (msg.Msg) {
    case WM_PAINT: WMPaint(msg); break;
    case WM_PRINTCLIENT: WMPrintClient(msg); break;
    default: TCustomComboBox::WndProc(msg); break;
  }
}

void TQelCustomComboBox::WMPaint(TMessage& msg) {
  TCustomComboBox::WndProc(msg);
  RedrawFrame();
}

void TQelCustomComboBox::WMPrintClient(TMessage& msg) {
  TCustomComboBox::WndProc(msg);
  // A combo box has no non-client area: its client origin is the window's.
  PaintFrame(reinterpret_cast<HDC>(msg.WParam));
}

void TQelCustomComboBox::WMSetFocus(TMessage& msg) {
  TCustomComboBox::WMSetFocus(msg);
  RedrawFrame();
}

void TQelCustomComboBox::WMKillFocus(TMessage& msg) {
  TCustomComboBox::WMKillFocus(msg);
  if (!mouseInside_) RedrawFrame();
}

void TQelCustomComboBox::MouseEnter() {
  mouseInside_ = true;
  TCustomComboBox::MouseEnter();
}

void TQelCustomComboBox::MouseLeave() {
  mouseInside_ = false;
  TCustomComboBox::MouseLeave();
}

void TQelCustomComboBox::RedrawFrame() {
  if (!HandleAllocated()) return;
  TWholeWindowDC dc(Handle());
  PaintFrame(dc.Get());
}

void TQelCustomComboBox::PaintFrame(HDC dc) {
  RECT window{};
  GetWindowRect(Handle(), &window);
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  // Inner ring: the window-frame colour shows along the top and left, the
  // button face, drawn over it, along the bottom and right.
  const RECT shifted{1, 1, width, height};
  FrameRect(dc, &shifted, GetSysColorBrush(COLOR_WINDOWFRAME));
  const RECT shrunk{0, 0, width - 1, height - 1};
  FrameRect(dc, &shrunk, GetSysColorBrush(COLOR_BTNFACE));
  // Outer ring: shadow along the top and left, highlight along the bottom
  // and right.
  RECT outer{0, 0, width, height};
  DrawEdge(dc, &outer, BDR_SUNKENOUTER, BF_RECT);
}
