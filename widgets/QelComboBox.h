// TQelCustomComboBox / TQelComboBox: the widget library's drop-down list, the
// platform combo box (ComboBox.h) with the library's own frame.
//
// The frame covers the outermost two pixel rings of the window: outside the
// 3D shadow colour along the top and left and the 3D highlight along the
// bottom and right; inside the window-frame colour along the top and left
// and the button face along the bottom and right. The platform draws its
// own border over these rings whenever it paints, so the frame is painted
// again after each platform paint, when the control gains the focus and
// when it loses the focus while the pointer is outside it.
#pragma once

#include "widgets/ComboBox.h"

class TQelCustomComboBox : public TCustomComboBox {
 public:
  explicit TQelCustomComboBox(TComponent* owner) : TCustomComboBox(owner) {}

  // Whether the pointer is over the control.
  bool MouseInside() const { return mouseInside_; }

 protected:
  void WndProc(TMessage& msg) override;
  void WMSetFocus(TMessage& msg) override;
  void WMKillFocus(TMessage& msg) override;
  void MouseEnter() override;
  void MouseLeave() override;

 private:
  void WMPaint(TMessage& msg);
  void WMPrintClient(TMessage& msg);
  // Paints the frame on the window now, over what the platform painted.
  void RedrawFrame();
  // The frame into `dc`, whose origin is the window's top-left corner.
  void PaintFrame(HDC dc);

  bool mouseInside_ = false;
};

// The drop-down list as the window declares it.
class TQelComboBox : public TQelCustomComboBox {
 public:
  using TQelCustomComboBox::TQelCustomComboBox;
};
