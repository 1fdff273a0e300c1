#include "framework/Form.h"

#include "framework/ErrorReport.h"
#include "framework/FormHost.h"

namespace {
// A new form's size before its layout sets one.
constexpr int kDefaultFormWidth = 320;
constexpr int kDefaultFormHeight = 240;
// Layouts are made at 96 pixels per inch.
constexpr int kDesignPixelsPerInch = 96;
}  // namespace

TCustomForm* GetParentForm(const TControl* control) {
  if (!control) return nullptr;
  while (control->Parent()) control = control->Parent();
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(control));
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
  BeginLoading();
  SetVisible(false);
  SetParentColor(false);
  SetParentFont(false);
  SetColor(clBtnFace);
  SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
  SetBounds(0, 0, kDefaultFormWidth, kDefaultFormHeight);
}

TCustomForm::~TCustomForm() { MarkDestroying(); }

void TCustomForm::AfterConstruction() {
  if (scaled_ && textHeight_ > 0) {
    TWindowDC screen(nullptr);
    const int ppi = GetDeviceCaps(screen.Get(), LOGPIXELSY);
    if (ppi != kDesignPixelsPerInch)
      Font().SetHeight(MulDiv(Font().Height(), ppi, kDesignPixelsPerInch));
    const int actual = FontTextHeight();
    if (actual != textHeight_) ScaleBy(actual, textHeight_);
  }
  FinishLoading();
  DoCreate();
}

void TCustomForm::DoCreate() {
  if (!OnCreate) return;
  // Construction goes on after a failed OnCreate; the error is shown.
  try {
    OnCreate(this);
  } catch (...) {
    ReportError(this, std::current_exception());
  }
}

int TCustomForm::FontTextHeight() {
  TWindowDC screen(nullptr);
  TSelectObject font(screen.Get(), Font().Handle());
  SIZE size{};
  GetTextExtentPoint32A(screen.Get(), "0", 1, &size);
  return size.cy;
}

int TCustomForm::ScaledExtent(int start, int extent) const {
  return MulDiv(start + extent, scaleM_, scaleD_) - MulDiv(start, scaleM_, scaleD_);
}

// --- Window ---

void TCustomForm::WindowStyles(DWORD& style, DWORD& exStyle) const {
  style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  exStyle = 0;
  const bool tool = borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin;
  switch (borderStyle_) {
    case bsNone: style |= WS_POPUP; break;
    case bsSingle: case bsToolWindow: style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable: case bsSizeToolWin: style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
      style |= WS_POPUP | WS_CAPTION;
      exStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
  }
  if (tool) exStyle |= WS_EX_TOOLWINDOW;
  if (borderStyle_ != bsNone && borderIcons_.Contains(biSystemMenu)) {
    style |= WS_SYSMENU;
    const bool boxesAllowed = borderStyle_ != bsDialog && !tool;
    if (boxesAllowed && borderIcons_.Contains(biMinimize)) style |= WS_MINIMIZEBOX;
    if (boxesAllowed && borderIcons_.Contains(biMaximize)) style |= WS_MAXIMIZEBOX;
    // The platform shows the help button only without minimize/maximize boxes.
    if (borderIcons_.Contains(biHelp) && !(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)))
      exStyle |= WS_EX_CONTEXTHELP;
  }
  if (!Enabled()) style |= WS_DISABLED;
}

void TCustomForm::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  WindowStyles(params.Style, params.ExStyle);
  params.WndParent = FormHost() ? FormHost()->FormOwnerWindow() : nullptr;
  params.WindowClass.style = CS_DBLCLKS;
  if (position_ == poDefault) {
    params.X = CW_USEDEFAULT;
    params.Y = CW_USEDEFAULT;
  }
}

void TCustomForm::CreateWnd() {
  TWinControl::CreateWnd();
  if (HICON icon = FormHost() ? FormHost()->FormIcon() : nullptr) {
    SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  }
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
  if (style == borderStyle_) return;
  borderStyle_ = style;
  RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons icons) {
  if (icons == borderIcons_) return;
  borderIcons_ = icons;
  RecreateWnd();
}

TSize TCustomForm::FrameSize() const {
  DWORD style = 0;
  DWORD exStyle = 0;
  WindowStyles(style, exStyle);
  RECT r{0, 0, 0, 0};
  AdjustWindowRectEx(&r, style, FALSE, exStyle);
  return {r.right - r.left, r.bottom - r.top};
}

TRect TCustomForm::ClientRect() const {
  if (HandleAllocated()) return TWinControl::ClientRect();
  const TSize frame = FrameSize();
  return {0, 0, Width() - frame.Width, Height() - frame.Height};
}

void TCustomForm::SetClientSize(int width, int height) {
  const TRect client = ClientRect();
  SetBounds(Left(), Top(), Width() - client.Width() + width, Height() - client.Height() + height);
}

void TCustomForm::ChangeScale(int m, int d, bool) {
  // The form keeps its place and its own font (the one the layout was
  // measured with); its client area and its controls scale.
  if (m == d) return;
  scaleM_ *= m;
  scaleD_ *= d;
  const int width = MulDiv(ClientWidth(), m, d);
  const int height = MulDiv(ClientHeight(), m, d);
  ScaleControls(m, d);
  SetClientSize(width, height);
}

TWindowState TCustomForm::WindowState() const {
  if (!HandleAllocated() || !Visible()) return windowState_;
  HWND window = const_cast<TCustomForm*>(this)->Handle();
  if (IsIconic(window)) return wsMinimized;
  if (IsZoomed(window)) return wsMaximized;
  return wsNormal;
}

void TCustomForm::SetWindowState(TWindowState state) {
  windowState_ = state;
  if (!HandleAllocated() || !Visible()) return;
  static constexpr int kShowCommands[] = {SW_RESTORE, SW_MINIMIZE, SW_SHOWMAXIMIZED};
  ShowWindow(Handle(), kShowCommands[state]);
}

void TCustomForm::VisibleChanged() {
  if (!Visible()) {
    if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
    return;
  }
  HWND window = Handle();
  if (position_ == poScreenCenter) {
    SetBounds((GetSystemMetrics(SM_CXSCREEN) - Width()) / 2,
              (GetSystemMetrics(SM_CYSCREEN) - Height()) / 2, Width(), Height());
  }
  int show = SW_SHOWNORMAL;
  if (windowState_ == wsMaximized) show = SW_SHOWMAXIMIZED;
  if (windowState_ == wsMinimized) show = SW_SHOWMINNOACTIVE;
  ShowWindow(window, show);
}

// --- Focus ---

bool TCustomForm::Active() const {
  return HandleAllocated() && GetActiveWindow() == const_cast<TCustomForm*>(this)->Handle();
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  activeControl_ = control;
  if (control && Active() && control->CanFocus() && !control->Focused())
    ::SetFocus(control->Handle());
}

void TCustomForm::SetFocusedControl(TWinControl* control) { activeControl_ = control; }

void TCustomForm::FocusFirstControl() {
  if (TWinControl* first = FindNextControl(nullptr, true, true, false)) SetActiveControl(first);
}

void TCustomForm::ControlDestroying(TWinControl* control) {
  if (activeControl_ && control->ContainsControl(activeControl_)) activeControl_ = nullptr;
}

// --- Closing ---

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  if (OnClose) OnClose(this, action);
  if (action == caNone) return;
  if (FormHost() && FormHost()->FormClosing(*this)) return;
  if (action == caMinimize) {
    SetWindowState(wsMinimized);
  } else {
    Hide();
  }
}

bool TCustomForm::IsShortCut(WORD key, TShiftState shift) {
  bool handled = false;
  if (OnShortCut) OnShortCut(key, shift, handled);
  return handled;
}

// --- Messages ---

void TCustomForm::WndProc(TMessage& msg) {
  switch (msg.Msg) {
    case WM_CLOSE: WMClose(msg); break;
    case WM_ACTIVATE: WMActivate(msg); break;
    case WM_GETMINMAXINFO: WMGetMinMaxInfo(msg); break;
    case WM_THEMECHANGED: WMThemeChanged(msg); break;
    case WM_SYSCOLORCHANGE: case WM_SETTINGCHANGE: WMSysColorChange(msg); break;
    case CM_DIALOGKEY: CMDialogKey(msg); break;
    case CM_DIALOGCHAR: CMDialogChar(msg); break;
    default: TWinControl::WndProc(msg); break;
  }
}

void TCustomForm::WMClose(TMessage&) { Close(); }

void TCustomForm::WMActivate(TMessage& msg) {
  const bool activated = LOWORD(msg.WParam) != WA_INACTIVE;
  const bool minimized = HIWORD(msg.WParam) != 0;
  if (!activated || minimized) {
    DefaultHandler(msg);
    return;
  }
  // The focus goes back to the control that had it, or the first time to
  // the first tab stop, not to the form itself.
  if (activeControl_ && activeControl_->CanFocus()) {
    ::SetFocus(activeControl_->Handle());
  } else if (FindNextControl(nullptr, true, true, false)) {
    FocusFirstControl();
  } else {
    DefaultHandler(msg);
  }
}

void TCustomForm::WMGetMinMaxInfo(TMessage& msg) {
  DefaultHandler(msg);
  auto* info = reinterpret_cast<MINMAXINFO*>(msg.LParam);
  const TSizeConstraints& c = Constraints();
  if (c.MinWidth() > 0) info->ptMinTrackSize.x = c.MinWidth();
  if (c.MinHeight() > 0) info->ptMinTrackSize.y = c.MinHeight();
  if (c.MaxWidth() > 0) info->ptMaxTrackSize.x = c.MaxWidth();
  if (c.MaxHeight() > 0) info->ptMaxTrackSize.y = c.MaxHeight();
}

void TCustomForm::NotifyControls(TWinControl* parent, UINT msg) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    c->Perform(msg);
    if (TWinControl* windowed = c->AsWinControl()) NotifyControls(windowed, msg);
  }
}

void TCustomForm::WMThemeChanged(TMessage& msg) {
  Perform(CM_THEMECHANGED);
  NotifyControls(this, CM_THEMECHANGED);
  DefaultHandler(msg);
}

void TCustomForm::WMSysColorChange(TMessage& msg) {
  // Read on every settings message: any of them may come with a new scheme.
  const bool contrastChanged = HighContrastSettingChanged();
  if (msg.Msg == WM_SYSCOLORCHANGE || contrastChanged) {
    // Themed widgets draw classic in high contrast.
    for (UINT change : {CM_SYSCOLORCHANGE, CM_THEMECHANGED}) {
      Perform(change);
      NotifyControls(this, change);
    }
    if (HandleAllocated())
      RedrawWindow(Handle(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
  DefaultHandler(msg);
}

void TCustomForm::CMDialogKey(TMessage& msg) {
  const bool plainTab =
      msg.WParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0;
  if (!plainTab) return;
  SelectNext(activeControl_, GetKeyState(VK_SHIFT) >= 0, true);
  msg.Result = 1;
}

bool TCustomForm::DialogCharToControls(TWinControl* parent, char ch) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (!c->Visible() || !c->Enabled()) continue;
    if (c->Perform(CM_DIALOGCHAR, static_cast<unsigned char>(ch))) return true;
    if (TWinControl* windowed = c->AsWinControl(); windowed && DialogCharToControls(windowed, ch))
      return true;
  }
  return false;
}

void TCustomForm::CMDialogChar(TMessage& msg) {
  msg.Result = DialogCharToControls(this, static_cast<char>(msg.WParam)) ? 1 : 0;
}
