// TControl: everything a control has whether or not it owns a window:
// bounds, visibility, enabled state, parent, colour and font (inherited from
// the parent while ParentColor/ParentFont hold), caption, stacking, mouse
// handling and repainting.
//
// Writing a widget
// - Messages: override WndProc(TMessage&) only for messages the framework
//   has no hook for; call the base for everything you do not handle. Mouse
//   messages reach windowless controls through their parent with client
//   coordinates already translated.
// - Mouse: override MouseDown / MouseMove / MouseUp (call the base to keep
//   the OnMouse* events), Click, DblClick, MouseEnter / MouseLeave. With
//   csCaptureMouse in ControlStyle a control keeps the mouse from a button
//   press until all buttons are released (windowless ones too: the parent's
//   window holds the capture and routes to them). A control without
//   csDoubleClicks sees a double click as a second press.
// - Notifications: EnabledChanged, VisibleChanged, ColorChanged, FontChanged,
//   CaptionChanged, ParentChanged, Resize, CancelMode, ThemeChanged,
//   DialogChar; each is also reachable as a CM_* message (Messages.h).
// - Repainting: setters compare, store, then call Invalidate() or
//   InvalidateRect(rect) with the smallest rectangle (client coordinates);
//   the paint routine runs later. Repaint() paints at once.
#pragma once

#include <string>

#include "framework/Component.h"
#include "framework/Contrast.h"
#include "framework/Events.h"
#include "framework/Geometry.h"
#include "framework/Graphics.h"
#include "framework/Messages.h"
#include "framework/SizeConstraints.h"

class TWinControl;
struct TAccessibleInfo;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

enum TControlStyleItem {
  csAcceptsControls,  // may be the parent of other controls
  csCaptureMouse,     // keeps the mouse while a button is held
  csClickEvents,      // a press and release inside raises Click
  csDoubleClicks,     // double clicks raise DblClick (else: a second press)
  csOpaque,           // paints its whole rectangle; nothing is erased under it
};
using TControlStyle = TSet<TControlStyleItem>;

enum TControlStateItem {
  csLButtonDown,  // the left button went down on the control and is held
  csClicked,      // a click is in progress (csClickEvents)
  csPainting,     // inside the control's paint routine
};
using TControlState = TSet<TControlStateItem>;

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  // --- Parent ---
  TWinControl* Parent() const { return parent_; }
  // Moves the control to another parent (nullptr: none). The control takes
  // the parent's font and colour while ParentFont/ParentColor hold, and a
  // windowed control gets its window when the parent has one.
  void SetParent(TWinControl* parent);
  virtual TWinControl* AsWinControl() { return nullptr; }

  // --- Bounds: the parent's client coordinates (a form: the screen) ---
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
  void SetTop(int value) { SetBounds(left_, value, width_, height_); }
  void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
  void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
  virtual void SetBounds(int left, int top, int width, int height);
  TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
  void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
  // The client area in client coordinates: (0, 0, Width, Height) for a
  // windowless control, the window's client area for a windowed one.
  virtual TRect ClientRect() const;
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }
  void SetClientWidth(int value) { SetClientSize(value, ClientHeight()); }
  void SetClientHeight(int value) { SetClientSize(ClientWidth(), value); }
  virtual void SetClientSize(int width, int height);
  // Screen position of the client area's top-left corner.
  virtual TPoint ClientOrigin() const;
  TPoint ClientToScreen(TPoint p) const;
  TPoint ScreenToClient(TPoint p) const;
  TSizeConstraints& Constraints() { return constraints_; }
  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);

  // --- State ---
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible, and so are all parents up to a shown window.
  virtual bool Showing() const;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  TColor Color() const { return color_; }
  void SetColor(TColor color);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);
  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& font) { font_.Assign(font); }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);
  // The colours the control draws its background and its text in: Color
  // and the font's colour, or in high contrast its pair's (Contrast.h).
  TColor DrawColor() const;
  TColor DrawTextColor() const;
  // The system pair the control draws in under high contrast: its Color's
  // when that is the window, highlight or button face colour; otherwise
  // (a colour of its own) its parent's, so that it blends in.
  virtual TContrastPair ContrastPair() const;
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint) { hint_ = hint; }

  // --- What screen readers read (Accessible.h) ---
  // The name for a control that no text on screen names ("Ergebnistabelle").
  const std::string& AccessibleName() const { return accessibleName_; }
  void SetAccessibleName(const std::string& name) { accessibleName_ = name; }
  // A control on the same parent whose caption names this one, read each
  // time (the label above an entry field); nullptr: none.
  TControl* AccessibleLabel() const { return accessibleLabel_; }
  void SetAccessibleLabel(TControl* label) { accessibleLabel_ = label; }
  // The name readers hear: the label's caption, else AccessibleName, else
  // the caption, without accelerator marks.
  std::string AccessibleNameText() const;
  // What the control says of itself, asked each time a reader asks (it may
  // ask the platform); the base: role client, the name as above.
  virtual void DescribeAccessible(TAccessibleInfo& info);
  // Items of the control's own, each with its rectangle (a grid's cells).
  virtual int AccessibleItemCount() { return 0; }
  virtual void DescribeAccessibleItem(int /*index*/, TAccessibleInfo& /*info*/) {}
  // What a reader's "default action" does; false when the control has none.
  virtual bool DoAccessibleDefaultAction() { return false; }

  TControlStyle ControlStyle() const { return controlStyle_; }
  void SetControlStyle(TControlStyle style) { controlStyle_ = style; }
  TControlState ControlState() const { return controlState_; }

  // --- Painting ---
  // Marks the whole control for repainting.
  virtual void Invalidate();
  // Marks `rect` (client coordinates) for repainting; `erase` lets the
  // parent's background be painted under it first.
  virtual void InvalidateRect(const TRect& rect, bool erase = true);
  // Paints what is marked, now.
  virtual void Update();
  void Repaint() {
    Invalidate();
    Update();
  }
  void Refresh() { Repaint(); }

  // --- Stacking among the parent's children (later ones lie above) ---
  void BringToFront();
  void SendToBack();

  // Multiplies size (not position), font height and all children's bounds
  // and fonts by m / d (the layout's text-height scaling).
  void ScaleBy(int m, int d);

  // --- Messages ---
  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  virtual void WndProc(TMessage& msg);

  bool MouseCapture() const;
  void SetMouseCapture(bool capture);

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnResize;

 protected:
  // Mouse hooks; the bases fire the matching events.
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void Click();
  virtual void DblClick();
  virtual void MouseEnter();
  virtual void MouseLeave();

  // Notifications. The bases repaint where the look changes.
  virtual void EnabledChanged();
  virtual void VisibleChanged();
  virtual void ColorChanged();
  virtual void FontChanged();
  virtual void CaptionChanged();
  virtual void ParentColorChanged();
  virtual void ParentFontChanged();
  // After the parent changed (Parent() is the new one, maybe nullptr).
  virtual void ParentChanged() {}
  // After the size changed; fires OnResize.
  virtual void Resize();
  // The mouse mode ends (WM_CANCELMODE, e.g. before an error box): drop
  // pressed states. The base ends a click in progress and the capture.
  virtual void CancelMode();
  virtual void ThemeChanged() {}
  // A character typed in the form; return true to use it (accelerators).
  virtual bool DialogChar(char) { return false; }

  // Scales bounds (position only when `moveToo`) and an own font.
  virtual void ChangeScale(int m, int d, bool moveToo);

  // Where unhandled messages end: nothing for windowless controls, the
  // window class's procedure for windowed ones.
  virtual void DefaultHandler(TMessage&) {}

  void SetControlState(TControlState state) { controlState_ = state; }
  // csPainting for the length of one scope.
  class TPaintingScope {
   public:
    explicit TPaintingScope(TControl& control) : control_(control) {
      control_.controlState_.Include(csPainting);
    }
    TPaintingScope(const TPaintingScope&) = delete;
    TPaintingScope& operator=(const TPaintingScope&) = delete;
    ~TPaintingScope() { control_.controlState_.Exclude(csPainting); }

   private:
    TControl& control_;
  };
  // Stores bounds without any side effect (used when the platform moved the
  // window itself).
  void StoreBounds(int left, int top, int width, int height);
  // Marks the control's rectangle on its parent (graphic controls).
  void InvalidateOnParent(const TRect& rect, bool erase);

 private:
  friend class TWinControl;
  void HandleMouseDown(TMessage& msg, TMouseButton button);
  void HandleMouseUp(TMessage& msg, TMouseButton button);
  void HandleMouseMove(TMessage& msg);
  void ApplyParentFont();
  void ApplyParentColor();

  TWinControl* parent_ = nullptr;
  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  TSizeConstraints constraints_;
  TAlign align_ = alNone;
  bool visible_ = true;
  bool enabled_ = true;
  TColor color_ = clWindow;
  bool parentColor_ = true;
  TFont font_;
  bool parentFont_ = true;
  bool applyingParentFont_ = false;
  std::string caption_;
  std::string hint_;
  std::string accessibleName_;
  TControl* accessibleLabel_ = nullptr;  // cleared when that control goes
  TControlStyle controlStyle_{csCaptureMouse, csClickEvents, csDoubleClicks};
  TControlState controlState_;
};

// The control holding the mouse capture: a windowless control when its
// parent's window has the capture for it, else the windowed control whose
// window has it; nullptr when the capture is elsewhere or nowhere.
TControl* GetCaptureControl();
// Gives the capture to `control` (nullptr releases it).
void SetCaptureControl(TControl* control);
// The framework window holding the capture, known without asking the window
// manager (a round trip per question): taken through SetCaptureControl, and
// followed through each WM_CAPTURECHANGED (CaptureChanged) that a framework
// window gets when it loses the capture. A platform control's own capture is
// not seen, but such a control takes it while it has the focus.
TWinControl* CaptureWindowControl();
void CaptureChanged(HWND newHolder);

// The control the mouse is over, as the message loop's idle step last saw it.
TControl* MouseControl();
// Makes `control` the control under the mouse: the old one gets
// CM_MOUSELEAVE, the new one CM_MOUSEENTER.
void SetMouseControl(TControl* control);
// Counts the moves, shows, hides, re-parentings and ends of controls, after
// which a mouse that stands still may be over another control.
unsigned LayoutChanges();
void NoteLayoutChange();
