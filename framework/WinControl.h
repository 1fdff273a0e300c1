// TWinControl: a control with a platform window of its own.
//
// The window is made when it is first needed: when Handle() is called, when
// the control gets a parent that has a window, or when the parent's window is
// made. Windows are ANSI windows of a class registered per C++ class (its
// ClassName()), whose window procedure finds the control and runs its
// WndProc inside the error trap (ErrorReport.h).
//
// Writing a windowed widget
// - CreateParams(params): call the base, then adjust Style / ExStyle /
//   WindowClass.style. To wrap a platform class ("COMBOBOX",
//   "msctls_statusbar32") call CreateSubClass(params, "COMBOBOX"): the
//   platform's procedure then becomes DefaultHandler, so every message you do
//   not handle goes to it.
// - CreateWnd(): call the base, then configure the new window (send it the
//   messages it needs). The window is destroyed in ~TWinControl; release
//   your own resources in your destructor (WM_DESTROY reaches only the base
//   there). RecreateWnd() makes a new window with fresh CreateParams.
// - Messages: override WndProc with a flat switch calling named handlers,
//   `default: TWinControl::WndProc(msg)`. Named handlers here that you may
//   override: WMSetFocus, WMKillFocus (call the base), TimerTick.
// - Keyboard: KeyDown / KeyUp / KeyPress hooks (the bases fire OnKeyDown,
//   OnKeyUp, OnKeyPress; the form sees keys first when KeyPreview). Tab goes
//   to the form unless the control answers WM_GETDLGCODE with DLGC_WANTTAB.
// - Painting: a TWinControl without graphic children leaves WM_PAINT to the
//   window class (platform controls paint themselves). Otherwise, and always
//   for TCustomControl, the one paint routine PaintHandler(dc, clip) runs for
//   WM_PAINT and WM_PRINTCLIENT: PaintWindow(dc) (the control itself), then
//   the windowless children in stacking order, each clipped to its bounds.
//   WM_PRINTCLIENT with PRF_ERASEBKGND erases first; with PRF_CHILDREN the
//   child windows are printed into the same device context at their places.
//   WM_ERASEBKGND fills with DrawColor unless csOpaque is in ControlStyle.
// - Reflected notifications: WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR*,
//   WM_DRAWITEM and the scroll messages that a child window sends to its
//   parent come back to the child control as CN_* messages. CN_CTLCOLOR* is
//   answered with the control's text colour on its background colour as it
//   draws them (DrawTextColor on DrawColor, Contrast.h).
// - Timers: StartTimer(id, ms) / StopTimer(id) on the control's window;
//   each tick calls TimerTick(id).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/Accessible.h"
#include "framework/Control.h"
#include "framework/Gdi.h"

struct TCreateParams {
  std::string Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
  HWND WndParent = nullptr;
  // The class the window is made of. lpfnWndProc is the procedure that gets
  // every unhandled message (DefWindowProcA, or a platform class's own);
  // the framework registers its own procedure in front of it.
  WNDCLASSA WindowClass{};
  // The same procedure in its UTF-16 form, which takes the messages whose
  // texts are UTF-16 (TWinControl::SendTextW).
  WNDPROC UnicodeWndProc = DefWindowProcW;
  std::string WinClassName;
};

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  TWinControl* AsWinControl() override { return this; }

  // The window, made first if it does not exist yet.
  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded() { Handle(); }
  // Destroys the window (if any) and makes a new one from fresh CreateParams.
  void RecreateWnd();

  // Children in stacking order, the lowest first.
  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const { return controls_.at(index); }
  // True when `control` is this control or lies anywhere below it.
  bool ContainsControl(const TControl* control) const;
  // The topmost visible windowless child at `p` (client coordinates); a
  // disabled one only with `allowDisabled`.
  TControl* GraphicControlAt(TPoint p, bool allowDisabled = false) const;

  // --- Focus and tab order ---
  // Position among the parent's windowed children in Tab order (from 0).
  int TabOrder() const;
  void SetTabOrder(int order);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value);
  // Visible and enabled, with every parent up to the form.
  bool CanFocus() const;
  // Whether the window has the keyboard focus, as the focus messages told
  // it: asking the window manager would cost a round trip, and painting asks
  // often.
  bool Focused() const;
  virtual void SetFocus();
  // All windowed descendants in Tab order (depth first).
  void GetTabOrderList(std::vector<TWinControl*>& list) const;
  // The next (or previous) focusable control after `current` in Tab order,
  // wrapping around; nullptr when none qualifies.
  TWinControl* FindNextControl(TWinControl* current, bool forward, bool checkTabStop,
                               bool checkParent) const;
  // Focuses FindNextControl(current, forward, checkTabStop, !checkTabStop).
  void SelectNext(TWinControl* current, bool forward, bool checkTabStop);

  // --- Look ---
  bool Ctl3D() const;
  void SetCtl3D(bool value);
  bool ParentCtl3D() const { return parentCtl3D_; }
  bool DoubleBuffered() const { return doubleBuffered_; }
  void SetDoubleBuffered(bool value) { doubleBuffered_ = value; }
  // The brush of DrawColor that erasing and CN_CTLCOLOR* answers use.
  TBrush& Brush() { return brush_; }

  // --- Screen readers (Accessible.h) ---
  // The control's accessible object, with one reference for the caller.
  IDispatch* AccessibleObject() { return accessible_.Object(*this); }

  // --- Timers on the control's window ---
  void StartTimer(UINT_PTR id, UINT milliseconds);
  void StopTimer(UINT_PTR id);

  // --- Overrides of TControl ---
  void SetBounds(int left, int top, int width, int height) override;
  TRect ClientRect() const override;
  TPoint ClientOrigin() const override;
  bool Showing() const override;
  void Invalidate() override;
  void InvalidateRect(const TRect& rect, bool erase = true) override;
  // While at least one batch is open (TInvalidationBatch), invalidations
  // without erase are gathered and handed to the platform as one region
  // when the last batch closes: a burst of small invalidations (a table's
  // cells rewritten) then costs one call into the window manager, not one
  // each, and the area invalidated is the same.
  void BeginInvalidationBatch() { ++invalidationBatches_; }
  void EndInvalidationBatch();
  void Update() override;
  void WndProc(TMessage& msg) override;

  // A chance to take a message out of the loop before it is translated and
  // dispatched (the message loop asks the control that owns its window);
  // return true when handled.
  virtual bool PreProcessMessage(MSG&) { return false; }

  // Lays out the children that have an Align (top, bottom, left, right,
  // then client) inside the client area as AdjustClientRect leaves it.
  void Realign();

  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  // WM_CONTEXTMENU (a right click, or the keyboard's menu key): MousePos in
  // screen coordinates, from the keyboard the control's top-left corner.
  // Unless Handled the request goes on to the parent.
  TContextPopupEvent OnContextPopup;

 protected:
  virtual void CreateParams(TCreateParams& params);
  // Makes `params` a window class derived from the platform class
  // `platformClass`; call from CreateParams after the base.
  static void CreateSubClass(TCreateParams& params, const char* platformClass);
  // Gives the control a message whose lParam is a text (WM_SETTEXT,
  // CB_ADDSTRING, SB_SETTEXTW, ...) in UTF-16, as WideText (WideText.h)
  // makes it of the program's text. WndProc sees it as any message, with
  // IsUnicodeMessage true, and DefaultHandler hands it to the window class's
  // procedure in its UTF-16 form: the text reaches the platform as the
  // program means it, where the window's ANSI procedure would have it read
  // in the system's code page.
  LRESULT SendTextW(UINT msg, WPARAM wParam, const std::string& text);
  // The same for a message whose lParam is a UTF-16 buffer to fill
  // (CB_GETLBTEXT, WM_GETTEXT, ...) or no text at all.
  LRESULT PerformW(UINT msg, WPARAM wParam, LPARAM lParam);
  // Whether `msg` came through PerformW, its texts in UTF-16.
  bool IsUnicodeMessage(const TMessage& msg) const { return &msg == unicodeMessage_; }
  // A system cursor (IDC_*), loaded once for the process.
  static HCURSOR SharedCursor(LPCSTR id);
  virtual void CreateWnd();
  void DestroyHandle();

  // The control's own painting into `dc`. The base lets the window class
  // paint (WM_PAINT with the device context).
  virtual void PaintWindow(HDC dc);
  // True for controls that paint themselves (TCustomControl).
  virtual bool PaintsItself() const { return false; }
  // The one paint routine: PaintWindow, then the windowless children.
  void PaintHandler(HDC dc, const TRect& clip);
  void PaintControls(HDC dc, const TRect& clip);
  // ChangeScale on every child, positions included.
  void ScaleControls(int m, int d);

  // Where aligned children may go; the base leaves the client area as is.
  virtual void AdjustClientRect(TRect&) {}
  virtual void TimerTick(UINT_PTR) {}
  virtual void KeyDown(WORD& key, TShiftState shift);
  virtual void KeyUp(WORD& key, TShiftState shift);
  virtual void KeyPress(char& key);
  virtual void WMSetFocus(TMessage& msg);
  virtual void WMKillFocus(TMessage& msg);
  // A windowed descendant is being destroyed (forms drop it as the active
  // control).
  virtual void ControlDestroying(TWinControl*) {}

  void Loaded() override;
  void DefaultHandler(TMessage& msg) override;
  void ColorChanged() override;
  void FontChanged() override;
  void CaptionChanged() override;
  void EnabledChanged() override;
  void VisibleChanged() override;
  void ParentChanged() override;
  void ChangeScale(int m, int d, bool moveToo) override;

 private:
  friend class TControl;
  friend LRESULT CALLBACK FrameworkWindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT DispatchTrapped(UINT msg, WPARAM wParam, LPARAM lParam);
  void Attach(HWND window);
  void Detach();
  void CreateHandleTree();
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  void MoveControl(TControl* control, bool toFront);
  void PlaceInStack();
  // The window of the nearest windowed sibling above (or below) this control
  // in the stacking order that has one.
  HWND WindowedSibling(bool above) const;
  void PrintChildren(HDC dc, LPARAM flags);
  bool RouteMouseToGraphicChild(TMessage& msg);
  bool ReflectToChild(TMessage& msg);
  void UpdateBoundsFromWindow();
  void BoundsChanged(int oldWidth, int oldHeight);

  void WMPaint(TMessage& msg);
  void WMPrintClient(TMessage& msg);
  void WMGetObject(TMessage& msg);
  void WMContextMenu(TMessage& msg);
  void WMEraseBkgnd(TMessage& msg);
  void WMWindowPosChanged(TMessage& msg);
  void WMKeyDown(TMessage& msg);
  void WMKeyUp(TMessage& msg);
  void WMChar(TMessage& msg);
  void WMTimer(TMessage& msg);
  void WMCancelMode(TMessage& msg);
  void WMNCDestroy(TMessage& msg);
  void CNKeyDown(TMessage& msg);
  void CNChar(TMessage& msg);
  void CNCtlColor(TMessage& msg);

  HWND handle_ = nullptr;
  WNDPROC defWndProc_ = DefWindowProcA;
  WNDPROC defWndProcW_ = DefWindowProcW;  // the same, in its UTF-16 form
  const TMessage* unicodeMessage_ = nullptr;  // the message PerformW is sending
  std::vector<TControl*> controls_;      // stacking order, lowest first
  std::vector<TWinControl*> tabList_;    // windowed children in Tab order
  bool tabStop_ = false;
  bool ctl3D_ = true;
  bool parentCtl3D_ = true;
  bool doubleBuffered_ = false;
  bool aligning_ = false;
  bool focused_ = false;  // between WM_SETFOCUS and WM_KILLFOCUS (or the window's end)
  TBrush brush_;
  TAccessibleLink accessible_;
  int invalidationBatches_ = 0;
  TRegionHandle pendingInvalid_;  // gathered by the open batches
};

// Gathers the control's invalidations for as long as it lives (see
// TWinControl::BeginInvalidationBatch), on every path out of a scope.
class TInvalidationBatch {
 public:
  explicit TInvalidationBatch(TWinControl& control) : control_(control) {
    control_.BeginInvalidationBatch();
  }
  TInvalidationBatch(const TInvalidationBatch&) = delete;
  TInvalidationBatch& operator=(const TInvalidationBatch&) = delete;
  ~TInvalidationBatch() { control_.EndInvalidationBatch(); }

 private:
  TWinControl& control_;
};

// The control that owns `window`, or nullptr for windows of other kinds.
TWinControl* FindControl(HWND window);
// The control at a screen position: the windowed control under it, or its
// windowless child there.
TControl* FindControlAtScreenPoint(TPoint screen);
