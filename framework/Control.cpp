#include "framework/Control.h"

#include <oleacc.h>
#include <windowsx.h>

#include "framework/Accessible.h"
#include "framework/WinControl.h"

namespace {
TControl* graphicCaptureControl = nullptr;  // a windowless control whose parent holds the capture
HWND captureWindow = nullptr;  // as SetCaptureControl and the last WM_CAPTURECHANGED left it
TControl* mouseControl = nullptr;
unsigned layoutChanges = 0;  // counts moves, shows, hides and ends of controls

constexpr WPARAM kAnyMouseButton = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON;
}  // namespace

TControl* GetCaptureControl() {
  TWinControl* window = FindControl(GetCapture());
  if (window && graphicCaptureControl && graphicCaptureControl->Parent() == window)
    return graphicCaptureControl;
  return window;
}

void SetCaptureControl(TControl* control) {
  graphicCaptureControl = nullptr;
  if (!control) {
    ReleaseCapture();
    captureWindow = nullptr;
    return;
  }
  if (TWinControl* windowed = control->AsWinControl()) {
    SetCapture(windowed->Handle());
    captureWindow = windowed->Handle();
    return;
  }
  TWinControl* parent = control->Parent();
  if (!parent) return;
  SetCapture(parent->Handle());
  captureWindow = parent->Handle();
  // After SetCapture: taking the capture tells the previous holder to drop it.
  graphicCaptureControl = control;
}

TWinControl* CaptureWindowControl() { return FindControl(captureWindow); }

void CaptureChanged(HWND newHolder) { captureWindow = newHolder; }

TControl* MouseControl() { return mouseControl; }

unsigned LayoutChanges() { return layoutChanges; }

void NoteLayoutChange() { ++layoutChanges; }

void SetMouseControl(TControl* control) {
  if (control == mouseControl) return;
  TControl* previous = mouseControl;
  mouseControl = control;
  if (previous) previous->Perform(CM_MOUSELEAVE);
  if (control && mouseControl == control) control->Perform(CM_MOUSEENTER);
}

// --- TControl ---

TControl::TControl(TComponent* owner) : TComponent(owner) {
  font_.OnChange = [this](TObject*) {
    if (!applyingParentFont_) parentFont_ = false;
    Perform(CM_FONTCHANGED);
  };
  constraints_.OnChange = [this](TObject*) { SetBounds(left_, top_, width_, height_); };
}

TControl::~TControl() {
  NoteLayoutChange();
  if (mouseControl == this) mouseControl = nullptr;
  if (graphicCaptureControl == this) {
    graphicCaptureControl = nullptr;
    if (parent_ && parent_->HandleAllocated() && GetCapture() == parent_->handle_) ReleaseCapture();
  }
  if (parent_) {
    for (TControl* sibling : parent_->controls_)
      if (sibling->accessibleLabel_ == this) sibling->accessibleLabel_ = nullptr;
    if (!parent_->Destroying()) InvalidateOnParent(BoundsRect(), true);
    parent_->RemoveControl(this);
  }
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  NoteLayoutChange();
  if (parent_) {
    InvalidateOnParent(BoundsRect(), true);
    parent_->RemoveControl(this);
  }
  if (parent) parent->InsertControl(this);
  if (parentFont_) ApplyParentFont();
  if (parentColor_) ApplyParentColor();
  ParentChanged();
  if (parent_) {
    if (align_ != alNone) parent_->Realign();
    Invalidate();
  }
}

void TControl::StoreBounds(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
}

void TControl::SetBounds(int left, int top, int width, int height) {
  constraints_.Apply(width, height);
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  const bool resized = width != width_ || height != height_;
  NoteLayoutChange();
  InvalidateOnParent(BoundsRect(), true);
  StoreBounds(left, top, width, height);
  Invalidate();
  if (resized) Resize();
  if (parent_ && align_ != alNone) parent_->Realign();
}

TRect TControl::ClientRect() const { return {0, 0, width_, height_}; }

void TControl::SetClientSize(int width, int height) {
  const TRect client = ClientRect();
  SetBounds(left_, top_, width_ - client.Width() + width, height_ - client.Height() + height);
}

TPoint TControl::ClientOrigin() const {
  if (!parent_) return {left_, top_};
  const TPoint origin = parent_->ClientOrigin();
  return {origin.X + left_, origin.Y + top_};
}

TPoint TControl::ClientToScreen(TPoint p) const {
  const TPoint origin = ClientOrigin();
  return {p.X + origin.X, p.Y + origin.Y};
}

TPoint TControl::ScreenToClient(TPoint p) const {
  const TPoint origin = ClientOrigin();
  return {p.X - origin.X, p.Y - origin.Y};
}

void TControl::SetAlign(TAlign align) {
  if (align == align_) return;
  align_ = align;
  if (parent_) parent_->Realign();
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  NoteLayoutChange();
  // A control that disappears must still have its old place repainted.
  if (!visible) InvalidateOnParent(BoundsRect(), true);
  visible_ = visible;
  Perform(CM_VISIBLECHANGED, visible);
  if (parent_ && align_ != alNone) parent_->Realign();
}

bool TControl::Showing() const { return visible_ && parent_ && parent_->Showing(); }

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Perform(CM_ENABLEDCHANGED);
}

void TControl::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  parentColor_ = false;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
  if (value == parentColor_) return;
  parentColor_ = value;
  if (value) ApplyParentColor();
}

void TControl::ApplyParentColor() {
  if (!parent_ || parent_->color_ == color_) return;
  color_ = parent_->color_;
  Perform(CM_COLORCHANGED);
}

TColor TControl::DrawColor() const {
  return HighContrast() ? ContrastBackground(ContrastPair()) : color_;
}

TColor TControl::DrawTextColor() const {
  return HighContrast() ? ContrastText(ContrastPair()) : font_.Color();
}

TContrastPair TControl::ContrastPair() const {
  if (color_ == clWindow) return cpWindow;
  if (color_ == clHighlight) return cpHighlight;
  if (color_ == clBtnFace || !parent_) return cpFace;
  return parent_->ContrastPair();
}

void TControl::SetParentFont(bool value) {
  if (value == parentFont_) return;
  parentFont_ = value;
  if (value) ApplyParentFont();
}

void TControl::ApplyParentFont() {
  if (!parent_) return;
  applyingParentFont_ = true;
  font_.Assign(parent_->font_);
  applyingParentFont_ = false;
}

void TControl::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  Perform(CM_TEXTCHANGED);
  NotifyAccessibleEvent(*this, EVENT_OBJECT_NAMECHANGE);
  // The controls this one names are renamed with it.
  if (parent_)
    for (TControl* named : parent_->controls_)
      if (named->accessibleLabel_ == this) NotifyAccessibleEvent(*named, EVENT_OBJECT_NAMECHANGE);
}

std::string TControl::AccessibleNameText() const {
  if (accessibleLabel_) return WithoutAccelChars(accessibleLabel_->Caption());
  return WithoutAccelChars(accessibleName_.empty() ? caption_ : accessibleName_);
}

void TControl::DescribeAccessible(TAccessibleInfo& info) {
  info.Role = ROLE_SYSTEM_CLIENT;
  info.Name = AccessibleNameText();
}

void TControl::InvalidateOnParent(const TRect& rect, bool erase) {
  if (!parent_ || !parent_->HandleAllocated() || rect.IsEmpty()) return;
  const RECT r = rect;
  ::InvalidateRect(parent_->handle_, &r, erase);
}

void TControl::Invalidate() { InvalidateRect(ClientRect(), !controlStyle_.Contains(csOpaque)); }

void TControl::InvalidateRect(const TRect& rect, bool erase) {
  if (!visible_) return;
  const TRect part = rect.Intersect(ClientRect());
  InvalidateOnParent(part.Offset(left_, top_), erase);
}

void TControl::Update() {
  if (parent_) parent_->Update();
}

void TControl::BringToFront() {
  if (parent_) parent_->MoveControl(this, true);
}

void TControl::SendToBack() {
  if (parent_) parent_->MoveControl(this, false);
}

void TControl::ScaleBy(int m, int d) { ChangeScale(m, d, false); }

void TControl::ChangeScale(int m, int d, bool moveToo) {
  if (m == d) return;
  int left = left_;
  int top = top_;
  if (moveToo) {
    left = MulDiv(left_, m, d);
    top = MulDiv(top_, m, d);
  }
  // Scale the edges, not the extents, so that adjoining controls stay adjoining.
  const int width = moveToo ? MulDiv(left_ + width_, m, d) - left : MulDiv(width_, m, d);
  const int height = moveToo ? MulDiv(top_ + height_, m, d) - top : MulDiv(height_, m, d);
  if (!parentFont_) font_.SetHeight(MulDiv(font_.Height(), m, d));
  SetBounds(left, top, width, height);
}

bool TControl::MouseCapture() const { return GetCaptureControl() == this; }

void TControl::SetMouseCapture(bool capture) {
  if (capture == MouseCapture()) return;
  SetCaptureControl(capture ? this : nullptr);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  WndProc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& msg) {
  switch (msg.Msg) {
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: HandleMouseDown(msg, mbLeft); break;
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: HandleMouseDown(msg, mbRight); break;
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: HandleMouseDown(msg, mbMiddle); break;
    case WM_LBUTTONUP: HandleMouseUp(msg, mbLeft); break;
    case WM_RBUTTONUP: HandleMouseUp(msg, mbRight); break;
    case WM_MBUTTONUP: HandleMouseUp(msg, mbMiddle); break;
    case WM_MOUSEMOVE: HandleMouseMove(msg); break;
    case WM_CANCELMODE: DefaultHandler(msg); CancelMode(); break;
    case CM_MOUSEENTER: MouseEnter(); break;
    case CM_MOUSELEAVE: MouseLeave(); break;
    case CM_ENABLEDCHANGED: EnabledChanged(); break;
    case CM_VISIBLECHANGED: VisibleChanged(); break;
    case CM_COLORCHANGED: ColorChanged(); break;
    case CM_FONTCHANGED: FontChanged(); break;
    case CM_TEXTCHANGED: CaptionChanged(); break;
    case CM_PARENTCOLORCHANGED: ParentColorChanged(); break;
    case CM_PARENTFONTCHANGED: ParentFontChanged(); break;
    case CM_THEMECHANGED: ThemeChanged(); break;
    case CM_DIALOGCHAR: msg.Result = DialogChar(static_cast<char>(msg.WParam)) ? 1 : 0; break;
    default: DefaultHandler(msg); break;
  }
}

void TControl::HandleMouseDown(TMessage& msg, TMouseButton button) {
  const bool doubleClick = msg.Msg == WM_LBUTTONDBLCLK || msg.Msg == WM_RBUTTONDBLCLK ||
                           msg.Msg == WM_MBUTTONDBLCLK;
  DefaultHandler(msg);
  if (controlStyle_.Contains(csCaptureMouse)) SetMouseCapture(true);
  TShiftState shift = ShiftStateFromMouseFlags(msg.WParam);
  if (button == mbLeft) {
    controlState_.Include(csLButtonDown);
    if (controlStyle_.Contains(csClickEvents)) controlState_.Include(csClicked);
  }
  if (doubleClick && controlStyle_.Contains(csDoubleClicks)) {
    shift.Include(ssDouble);
    if (button == mbLeft) DblClick();
  }
  MouseDown(button, shift, GET_X_LPARAM(msg.LParam), GET_Y_LPARAM(msg.LParam));
}

void TControl::HandleMouseUp(TMessage& msg, TMouseButton button) {
  DefaultHandler(msg);
  if ((msg.WParam & kAnyMouseButton) == 0 && MouseCapture()) SetMouseCapture(false);
  const TPoint p{GET_X_LPARAM(msg.LParam), GET_Y_LPARAM(msg.LParam)};
  if (button == mbLeft) {
    controlState_.Exclude(csLButtonDown);
    if (controlState_.Contains(csClicked)) {
      controlState_.Exclude(csClicked);
      if (ClientRect().Contains(p)) Click();
    }
  }
  MouseUp(button, ShiftStateFromMouseFlags(msg.WParam), p.X, p.Y);
}

void TControl::HandleMouseMove(TMessage& msg) {
  DefaultHandler(msg);
  MouseMove(ShiftStateFromMouseFlags(msg.WParam), GET_X_LPARAM(msg.LParam),
            GET_Y_LPARAM(msg.LParam));
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}

void TControl::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}

void TControl::CancelMode() {
  controlState_.Exclude(csLButtonDown);
  controlState_.Exclude(csClicked);
  if (MouseCapture()) SetMouseCapture(false);
}

void TControl::EnabledChanged() { Invalidate(); }

void TControl::VisibleChanged() { Invalidate(); }

void TControl::ColorChanged() { Invalidate(); }

void TControl::FontChanged() { Invalidate(); }

void TControl::CaptionChanged() { Invalidate(); }

void TControl::ParentColorChanged() {
  if (parentColor_) ApplyParentColor();
}

void TControl::ParentFontChanged() {
  if (parentFont_) ApplyParentFont();
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}
