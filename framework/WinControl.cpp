#include "framework/WinControl.h"

#include <windowsx.h>

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "calc/Exceptions.h"
#include "framework/ControlCanvas.h"
#include "framework/ErrorReport.h"
#include "framework/Form.h"
#include "framework/GraphicControl.h"
#include "framework/WideText.h"

namespace {

// Window classes and windows that could not be made.
constexpr const char kSWindowClass[] = "Fehler beim Erzeugen einer Fensterklasse";
constexpr const char kSWindowCreate[] = "Fehler beim Erzeugen eines Fensters";
// "Element '<name>' hat kein übergeordnetes Fenster".
constexpr const char kSNoParentWindowStart[] = "Element '";
constexpr const char kSNoParentWindowEnd[] = "' hat kein \xFC" "bergeordnetes Fenster";

// The controls of the process's framework windows. Looked up on every
// message, so it lives in the process: a window property would cost a round
// trip to the window manager each time.
std::unordered_map<HWND, TWinControl*>& ControlsByWindow() {
  static std::unordered_map<HWND, TWinControl*> controls;
  return controls;
}

// The control whose CreateWindowEx is running: the first message of the new
// window links it.
thread_local TWinControl* creatingControl = nullptr;
// How many window procedures of framework windows are running, nested.
int dispatchDepth = 0;

// The shift state read at the last key press, kept for that key's release:
// each reading is a round trip to the window manager, and in between the
// state changes only through another key's press or release (which reads
// it anew and drops this one) or while the focus is elsewhere (so a window
// that gets the focus drops it too). A press that comes through the message
// loop is read at its CN_KEYDOWN, for the form's shortcuts, and the
// WM_KEYDOWN that follows it takes that reading.
struct TPressShift {
  WORD key = 0;
  TShiftState shift;
  bool ahead = false;  // read at CN_KEYDOWN; the key's WM_KEYDOWN is still to come
};
TPressShift pressShift;

// Our own messages never go to a window class's procedure.
bool IsFrameworkMessage(UINT msg) { return msg >= CM_BASE && msg < CN_BASE + WM_USER; }

void RegisterWindowClass(const TCreateParams& params, WNDPROC procedure) {
  HINSTANCE module = GetModuleHandleA(nullptr);
  WNDCLASSA existing{};
  if (GetClassInfoA(module, params.WinClassName.c_str(), &existing)) return;
  WNDCLASSA wc = params.WindowClass;
  wc.lpfnWndProc = procedure;
  wc.hInstance = module;
  wc.lpszClassName = params.WinClassName.c_str();
  if (!RegisterClassA(&wc)) throw EOutOfResources(kSWindowClass);
}

}  // namespace

LRESULT CALLBACK FrameworkWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* control = FindControl(window);
  if (!control) {
    control = std::exchange(creatingControl, nullptr);
    if (!control) return DefWindowProcA(window, msg, wParam, lParam);
    control->Attach(window);
  }
  return control->DispatchTrapped(msg, wParam, lParam);
}

TWinControl* FindControl(HWND window) {
  const auto found = ControlsByWindow().find(window);
  return found == ControlsByWindow().end() ? nullptr : found->second;
}

TControl* FindControlAtScreenPoint(TPoint screen) {
  TWinControl* control = FindControl(WindowFromPoint(screen));
  if (!control) return nullptr;
  if (TControl* child = control->GraphicControlAt(control->ScreenToClient(screen), true))
    return child;
  return control;
}

// --- Construction and the window ---

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {
  brush_.SetColor(Color());
}

TWinControl::~TWinControl() {
  // Readers that still hold the object must not reach a control half gone.
  accessible_.Disconnect();
  MarkDestroying();
  for (TWinControl* p = Parent(); p; p = p->Parent())
    if (!p->Destroying()) p->ControlDestroying(this);
  DestroyComponents();
  DestroyHandle();
  for (TControl* child : controls_) child->parent_ = nullptr;
  controls_.clear();
  tabList_.clear();
}

HWND TWinControl::Handle() {
  if (!handle_) CreateHandleTree();
  return handle_;
}

void TWinControl::CreateHandleTree() {
  // Making the parent's window makes ours too.
  if (Parent()) Parent()->HandleNeeded();
  if (handle_) return;
  CreateWnd();
  // The platform puts a new child window at the bottom of its siblings,
  // which is its place unless a sibling below it already has a window.
  if (WindowedSibling(false)) PlaceInStack();
  // The children from the top down, so that each new one belongs at the
  // bottom and none needs moving.
  for (size_t i = controls_.size(); i-- > 0;)
    if (i < controls_.size())
      if (TWinControl* child = controls_[i]->AsWinControl(); child && !child->handle_)
        child->CreateHandleTree();
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  if ((params.Style & WS_CHILD) && !params.WndParent)
    throw Exception(kSNoParentWindowStart + Name() + kSNoParentWindowEnd);
  defWndProc_ = params.WindowClass.lpfnWndProc ? params.WindowClass.lpfnWndProc : DefWindowProcA;
  defWndProcW_ = params.UnicodeWndProc;
  RegisterWindowClass(params, FrameworkWindowProc);
  TWinControl* previous = std::exchange(creatingControl, this);
  HWND window = CreateWindowExA(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(),
                                params.Style, params.X, params.Y, params.Width, params.Height,
                                params.WndParent, nullptr, GetModuleHandleA(nullptr), nullptr);
  creatingControl = previous;
  if (!window) throw EOutOfResources(kSWindowCreate);
  if (!handle_) Attach(window);
  // The window took its text through the ANSI call, right only for ASCII.
  const std::string& caption = params.Caption;
  if (std::any_of(caption.begin(), caption.end(), [](char c) { return c & 0x80; }))
    SendTextW(WM_SETTEXT, 0, caption);
  Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), 0);
  // The window class may have chosen another size (a combo box does).
  UpdateBoundsFromWindow();
}

void TWinControl::CreateParams(TCreateParams& params) {
  params.Caption = Caption();
  params.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  if (Visible()) params.Style |= WS_VISIBLE;
  if (!Enabled()) params.Style |= WS_DISABLED;
  if (tabStop_) params.Style |= WS_TABSTOP;
  params.X = Left();
  params.Y = Top();
  params.Width = Width();
  params.Height = Height();
  params.WndParent = Parent() ? Parent()->Handle() : nullptr;
  params.WindowClass.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  params.WindowClass.lpfnWndProc = DefWindowProcA;
  params.WindowClass.hCursor = SharedCursor(IDC_ARROW);
  params.WinClassName = ClassName();
}

HCURSOR TWinControl::SharedCursor(LPCSTR id) {
  // Loading a cursor is a round trip to the window manager; the system's
  // cursors are shared, so each is loaded once for the process.
  static std::unordered_map<LPCSTR, HCURSOR> loaded;
  auto [it, added] = loaded.try_emplace(id, nullptr);
  if (added) it->second = LoadCursorA(nullptr, id);
  return it->second;
}

void TWinControl::CreateSubClass(TCreateParams& params, const char* platformClass) {
  WNDCLASSA wc{};
  if (!GetClassInfoA(nullptr, platformClass, &wc)) throw EOutOfResources(kSWindowClass);
  params.WindowClass = wc;
  WNDCLASSW unicode{};
  if (!GetClassInfoW(nullptr, WideText(platformClass).c_str(), &unicode))
    throw EOutOfResources(kSWindowClass);
  params.UnicodeWndProc = unicode.lpfnWndProc;
}

LRESULT TWinControl::SendTextW(UINT msg, WPARAM wParam, const std::string& text) {
  const std::wstring wide = WideText(text);
  return PerformW(msg, wParam, reinterpret_cast<LPARAM>(wide.c_str()));
}

LRESULT TWinControl::PerformW(UINT msg, WPARAM wParam, LPARAM lParam) {
  HandleNeeded();
  TMessage m{msg, wParam, lParam, 0};
  // Messages the class procedure sends back meanwhile are ANSI ones.
  struct TMark {
    const TMessage*& mark;
    const TMessage* previous;
    ~TMark() { mark = previous; }
  } mark{unicodeMessage_, std::exchange(unicodeMessage_, &m)};
  WndProc(m);
  return m.Result;
}

void TWinControl::Attach(HWND window) {
  handle_ = window;
  ControlsByWindow()[window] = this;
}

void TWinControl::Detach() {
  if (!handle_) return;
  ControlsByWindow().erase(handle_);
  handle_ = nullptr;
  focused_ = false;
}

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  // Child windows go with ours; their controls learn it from WM_NCDESTROY.
  DestroyWindow(handle_);
  Detach();
}

void TWinControl::RecreateWnd() {
  if (!handle_) return;
  DestroyHandle();
  CreateHandleTree();
}

LRESULT TWinControl::DispatchTrapped(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  ++dispatchDepth;
  try {
    WndProc(m);
  } catch (...) {
    ReportError(this, std::current_exception());
  }
  if (--dispatchDepth == 0) TControlCanvas::FreeDeviceContexts();
  return m.Result;
}

void TWinControl::DefaultHandler(TMessage& msg) {
  if (!handle_ || IsFrameworkMessage(msg.Msg)) return;
  msg.Result = IsUnicodeMessage(msg)
                   ? CallWindowProcW(defWndProcW_, handle_, msg.Msg, msg.WParam, msg.LParam)
                   : CallWindowProcA(defWndProc_, handle_, msg.Msg, msg.WParam, msg.LParam);
}

// --- Children ---

void TWinControl::InsertControl(TControl* control) {
  control->parent_ = this;
  controls_.push_back(control);
  if (TWinControl* windowed = control->AsWinControl()) tabList_.push_back(windowed);
}

void TWinControl::RemoveControl(TControl* control) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  std::erase_if(tabList_, [control](TWinControl* w) { return static_cast<TControl*>(w) == control; });
  control->parent_ = nullptr;
}

void TWinControl::MoveControl(TControl* control, bool toFront) {
  auto it = std::find(controls_.begin(), controls_.end(), control);
  if (it == controls_.end()) return;
  controls_.erase(it);
  if (toFront) {
    controls_.push_back(control);
  } else {
    controls_.insert(controls_.begin(), control);
  }
  if (TWinControl* windowed = control->AsWinControl()) {
    windowed->PlaceInStack();
  } else {
    control->Invalidate();
  }
}

HWND TWinControl::WindowedSibling(bool above) const {
  if (!Parent()) return nullptr;
  const auto& siblings = Parent()->controls_;
  const auto it = std::find(siblings.begin(), siblings.end(), this);
  if (it == siblings.end()) return nullptr;
  const auto windowed = [](TControl* c) {
    const TWinControl* w = c->AsWinControl();
    return w && w->handle_;
  };
  if (above) {
    const auto next = std::find_if(it + 1, siblings.end(), windowed);
    return next == siblings.end() ? nullptr : (*next)->AsWinControl()->handle_;
  }
  const auto next = std::find_if(std::make_reverse_iterator(it), siblings.rend(), windowed);
  return next == siblings.rend() ? nullptr : (*next)->AsWinControl()->handle_;
}

void TWinControl::PlaceInStack() {
  if (!handle_ || !Parent()) return;
  // Our window goes right below the next windowed sibling above us.
  HWND above = WindowedSibling(true);
  SetWindowPos(handle_, above ? above : HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

TControl* TWinControl::GraphicControlAt(TPoint p, bool allowDisabled) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (c->AsWinControl() || !c->Visible() || (!c->Enabled() && !allowDisabled)) continue;
    if (c->BoundsRect().Contains(p)) return c;
  }
  return nullptr;
}

void TWinControl::ParentChanged() {
  if (!Parent()) {
    DestroyHandle();
  } else if (handle_) {
    ::SetParent(handle_, Parent()->Handle());
    PlaceInStack();
  } else if (Parent()->HandleAllocated()) {
    CreateHandleTree();
  }
}

void TWinControl::Loaded() {
  TControl::Loaded();
  Realign();
}

void TWinControl::Realign() {
  if (aligning_ || Loading() || Destroying()) return;
  aligning_ = true;
  TRect area = ClientRect();
  AdjustClientRect(area);
  for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
    for (TControl* c : controls_) {
      if (c->Align() != align || !c->Visible()) continue;
      switch (align) {
        case alTop:
          c->SetBounds(area.Left, area.Top, area.Width(), c->Height());
          area.Top += c->Height();
          break;
        case alBottom:
          c->SetBounds(area.Left, area.Bottom - c->Height(), area.Width(), c->Height());
          area.Bottom -= c->Height();
          break;
        case alLeft:
          c->SetBounds(area.Left, area.Top, c->Width(), area.Height());
          area.Left += c->Width();
          break;
        case alRight:
          c->SetBounds(area.Right - c->Width(), area.Top, c->Width(), area.Height());
          area.Right -= c->Width();
          break;
        case alClient:
          c->SetBounds(area.Left, area.Top, area.Width(), area.Height());
          break;
        case alNone:
          break;
      }
    }
  }
  aligning_ = false;
}

// --- Bounds ---

void TWinControl::SetBounds(int left, int top, int width, int height) {
  Constraints().Apply(width, height);
  if (left == Left() && top == Top() && width == Width() && height == Height()) return;
  if (handle_ && !IsIconic(handle_)) {
    // WM_WINDOWPOSCHANGED stores what the window really got.
    SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  const int oldWidth = Width();
  const int oldHeight = Height();
  StoreBounds(left, top, width, height);
  BoundsChanged(oldWidth, oldHeight);
}

void TWinControl::UpdateBoundsFromWindow() {
  if (!handle_ || IsIconic(handle_)) return;
  RECT r{};
  GetWindowRect(handle_, &r);
  if (GetWindowLongA(handle_, GWL_STYLE) & WS_CHILD)
    MapWindowPoints(nullptr, GetParent(handle_), reinterpret_cast<POINT*>(&r), 2);
  const TRect bounds = r;
  if (bounds == BoundsRect()) return;
  const int oldWidth = Width();
  const int oldHeight = Height();
  StoreBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
  BoundsChanged(oldWidth, oldHeight);
}

void TWinControl::BoundsChanged(int oldWidth, int oldHeight) {
  if (Width() != oldWidth || Height() != oldHeight) {
    Resize();
    Realign();
  }
  if (Parent() && Align() != alNone) Parent()->Realign();
}

TRect TWinControl::ClientRect() const {
  if (!handle_) return TControl::ClientRect();
  RECT r{};
  GetClientRect(handle_, &r);
  return r;
}

TPoint TWinControl::ClientOrigin() const {
  if (!handle_) return TControl::ClientOrigin();
  POINT p{0, 0};
  ::ClientToScreen(handle_, &p);
  return p;
}

bool TWinControl::Showing() const { return handle_ && IsWindowVisible(handle_); }

// --- Painting ---

// A window that is not showing is painted whole when it shows: asking
// before would cost a round trip for nothing.
void TWinControl::Invalidate() {
  if (Showing()) ::InvalidateRect(handle_, nullptr, !ControlStyle().Contains(csOpaque));
}

void TWinControl::InvalidateRect(const TRect& rect, bool erase) {
  if (!Showing()) return;
  const RECT r = rect;
  if (invalidationBatches_ == 0 || erase) {
    ::InvalidateRect(handle_, &r, erase);
    return;
  }
  TRegionHandle part(CreateRectRgnIndirect(&r));
  if (!pendingInvalid_) {
    pendingInvalid_ = std::move(part);
  } else {
    CombineRgn(pendingInvalid_.Get(), pendingInvalid_.Get(), part.Get(), RGN_OR);
  }
}

void TWinControl::EndInvalidationBatch() {
  if (--invalidationBatches_ > 0 || !pendingInvalid_) return;
  if (handle_) InvalidateRgn(handle_, pendingInvalid_.Get(), FALSE);
  pendingInvalid_.Reset();
}

void TWinControl::Update() {
  if (Showing()) UpdateWindow(handle_);
}

void TWinControl::PaintWindow(HDC dc) {
  // A plain window has nothing to paint beyond its erased background.
  if (defWndProc_ == DefWindowProcA) return;
  TMessage paint{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
  DefaultHandler(paint);
}

void TWinControl::PaintHandler(HDC dc, const TRect& clip) {
  TPaintingScope painting(*this);
  if (!doubleBuffered_) {
    PaintWindow(dc);
    PaintControls(dc, clip);
    return;
  }
  const TRect client = ClientRect();
  TMemoryDC memory(dc);
  TBitmapHandle bitmap(CreateCompatibleBitmap(dc, client.Width(), client.Height()));
  TSelectObject select(memory.Get(), bitmap.Get());
  ::IntersectClipRect(memory.Get(), clip.Left, clip.Top, clip.Right, clip.Bottom);
  PaintWindow(memory.Get());
  PaintControls(memory.Get(), clip);
  BitBlt(dc, clip.Left, clip.Top, clip.Width(), clip.Height(), memory.Get(), clip.Left, clip.Top,
         SRCCOPY);
}

void TWinControl::PaintControls(HDC dc, const TRect& clip) {
  for (TControl* c : controls_) {
    auto* graphic = dynamic_cast<TGraphicControl*>(c);
    if (!graphic || !graphic->Visible() || graphic->BoundsRect().Intersect(clip).IsEmpty()) continue;
    TSavedDC saved(dc);
    OffsetViewportOrgEx(dc, graphic->Left(), graphic->Top(), nullptr);
    ::IntersectClipRect(dc, 0, 0, graphic->Width(), graphic->Height());
    graphic->PaintTo(dc);
  }
}

void TWinControl::PrintChildren(HDC dc, LPARAM flags) {
  for (TControl* c : controls_) {
    TWinControl* child = c->AsWinControl();
    if (!child || !child->handle_ || !IsWindowVisible(child->handle_)) continue;
    // Print at the child's client origin, which lies inside any border it has.
    POINT origin{0, 0};
    ::ClientToScreen(child->handle_, &origin);
    ::ScreenToClient(handle_, &origin);
    const TRect client = child->ClientRect();
    TSavedDC saved(dc);
    OffsetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    ::IntersectClipRect(dc, 0, 0, client.Width(), client.Height());
    SendMessageA(child->handle_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), flags);
  }
}

void TWinControl::WMPaint(TMessage& msg) {
  if (msg.WParam) {
    PaintHandler(reinterpret_cast<HDC>(msg.WParam), ClientRect());
    return;
  }
  const bool hasGraphicChildren = std::any_of(controls_.begin(), controls_.end(),
                                              [](TControl* c) { return !c->AsWinControl(); });
  if (!PaintsItself() && !hasGraphicChildren && !doubleBuffered_) {
    DefaultHandler(msg);
    return;
  }
  TPaintDC paint(handle_);
  PaintHandler(paint.Get(), paint.PaintRect());
}

void TWinControl::WMPrintClient(TMessage& msg) {
  HDC dc = reinterpret_cast<HDC>(msg.WParam);
  if (msg.LParam & PRF_ERASEBKGND) Perform(WM_ERASEBKGND, msg.WParam);
  PaintHandler(dc, ClientRect());
  if (msg.LParam & PRF_CHILDREN) PrintChildren(dc, msg.LParam);
}

void TWinControl::WMEraseBkgnd(TMessage& msg) {
  msg.Result = 1;
  if (ControlStyle().Contains(csOpaque)) return;
  brush_.SetColor(DrawColor());
  const RECT r = ClientRect();
  FillRect(reinterpret_cast<HDC>(msg.WParam), &r, brush_.Handle());
}

// --- Messages ---

void TWinControl::WndProc(TMessage& msg) {
  if (RouteMouseToGraphicChild(msg)) return;
  switch (msg.Msg) {
    case WM_PAINT: WMPaint(msg); break;
    case WM_PRINTCLIENT: WMPrintClient(msg); break;
    case WM_ERASEBKGND: WMEraseBkgnd(msg); break;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(msg); break;
    case WM_SETFOCUS:
      focused_ = true;
      pressShift = {};
      WMSetFocus(msg);
      break;
    case WM_KILLFOCUS:
      focused_ = false;
      WMKillFocus(msg);
      break;
    case WM_CAPTURECHANGED:
      CaptureChanged(reinterpret_cast<HWND>(msg.LParam));
      DefaultHandler(msg);
      break;
    case WM_KEYDOWN: case WM_SYSKEYDOWN: WMKeyDown(msg); break;
    case WM_KEYUP: case WM_SYSKEYUP: WMKeyUp(msg); break;
    case WM_CHAR: WMChar(msg); break;
    case WM_TIMER: WMTimer(msg); break;
    case WM_CANCELMODE: WMCancelMode(msg); break;
    case WM_NCDESTROY: WMNCDestroy(msg); break;
    case WM_GETOBJECT: WMGetObject(msg); break;
    case WM_CONTEXTMENU: WMContextMenu(msg); break;
    case WM_COMMAND: case WM_NOTIFY: case WM_DRAWITEM: case WM_HSCROLL: case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC:
      if (!ReflectToChild(msg)) DefaultHandler(msg);
      break;
    case CN_KEYDOWN: case CN_SYSKEYDOWN: CNKeyDown(msg); break;
    case CN_CHAR: case CN_SYSCHAR: CNChar(msg); break;
    case CN_BASE + WM_CTLCOLORMSGBOX: case CN_CTLCOLOREDIT: case CN_CTLCOLORLISTBOX:
    case CN_BASE + WM_CTLCOLORBTN: case CN_BASE + WM_CTLCOLORDLG:
    case CN_BASE + WM_CTLCOLORSCROLLBAR: case CN_CTLCOLORSTATIC:
      CNCtlColor(msg);
      break;
    default: TControl::WndProc(msg); break;
  }
}

bool TWinControl::RouteMouseToGraphicChild(TMessage& msg) {
  if (msg.Msg < WM_MOUSEMOVE || msg.Msg > WM_MBUTTONDBLCLK) return false;
  const TPoint p{GET_X_LPARAM(msg.LParam), GET_Y_LPARAM(msg.LParam)};
  TControl* target = nullptr;
  if (handle_ && GetCapture() == handle_) {
    TControl* capture = GetCaptureControl();
    if (capture && capture != this && capture->Parent() == this) target = capture;
  } else {
    target = GraphicControlAt(p);
  }
  if (!target) return false;
  msg.LParam = MAKELPARAM(p.X - target->Left(), p.Y - target->Top());
  target->WndProc(msg);
  return true;
}

bool TWinControl::ReflectToChild(TMessage& msg) {
  HWND child = nullptr;
  if (msg.Msg == WM_NOTIFY) {
    child = reinterpret_cast<NMHDR*>(msg.LParam)->hwndFrom;
  } else if (msg.Msg == WM_DRAWITEM) {
    const auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(msg.LParam);
    if (item->CtlType != ODT_MENU) child = item->hwndItem;
  } else {
    child = reinterpret_cast<HWND>(msg.LParam);
  }
  TWinControl* control = FindControl(child);
  if (!control || control == this) return false;
  msg.Result = control->Perform(CN_BASE + msg.Msg, msg.WParam, msg.LParam);
  return true;
}

void TWinControl::WMGetObject(TMessage& msg) {
  if (static_cast<LONG>(msg.LParam) != OBJID_CLIENT) {
    DefaultHandler(msg);
    return;
  }
  msg.Result = accessible_.Answer(*this, msg.WParam);
}

void TWinControl::WMContextMenu(TMessage& msg) {
  TPoint at{GET_X_LPARAM(msg.LParam), GET_Y_LPARAM(msg.LParam)};
  // The keyboard's request names no point.
  if (at == TPoint{-1, -1}) at = ClientOrigin();
  bool handled = false;
  if (OnContextPopup) OnContextPopup(this, at, handled);
  if (!handled) DefaultHandler(msg);
}

void TWinControl::WMWindowPosChanged(TMessage& msg) {
  NoteLayoutChange();
  DefaultHandler(msg);
  UpdateBoundsFromWindow();
}

void TWinControl::WMSetFocus(TMessage& msg) {
  DefaultHandler(msg);
  if (TCustomForm* form = GetParentForm(this); form && form != this) form->SetFocusedControl(this);
  if (OnEnter) OnEnter(this);
}

void TWinControl::WMKillFocus(TMessage& msg) {
  DefaultHandler(msg);
  if (OnExit) OnExit(this);
}

void TWinControl::WMKeyDown(TMessage& msg) {
  WORD key = static_cast<WORD>(msg.WParam);
  if (!pressShift.ahead || pressShift.key != key) pressShift = {key, KeyboardShiftState()};
  pressShift.ahead = false;
  const TShiftState shift = pressShift.shift;
  TWinControl* form = GetParentForm(this);
  if (form && form != this && static_cast<TCustomForm*>(form)->KeyPreview()) form->KeyDown(key, shift);
  if (key) KeyDown(key, shift);
  if (!key) return;
  msg.WParam = key;
  DefaultHandler(msg);
}

void TWinControl::WMKeyUp(TMessage& msg) {
  WORD key = static_cast<WORD>(msg.WParam);
  const TShiftState shift = pressShift.key == key ? pressShift.shift : KeyboardShiftState();
  pressShift = {};
  TWinControl* form = GetParentForm(this);
  if (form && form != this && static_cast<TCustomForm*>(form)->KeyPreview()) form->KeyUp(key, shift);
  if (key) KeyUp(key, shift);
  if (!key) return;
  msg.WParam = key;
  DefaultHandler(msg);
}

void TWinControl::WMChar(TMessage& msg) {
  char key = static_cast<char>(msg.WParam);
  TWinControl* form = GetParentForm(this);
  if (form && form != this && static_cast<TCustomForm*>(form)->KeyPreview()) form->KeyPress(key);
  if (key) KeyPress(key);
  if (!key) return;
  msg.WParam = static_cast<unsigned char>(key);
  DefaultHandler(msg);
}

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(WORD& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::CNKeyDown(TMessage& msg) {
  // Result 0 lets the key go on to the control as usual.
  const WORD key = static_cast<WORD>(msg.WParam);
  const TShiftState shift = KeyboardShiftState();
  pressShift = {};
  TCustomForm* form = GetParentForm(this);
  // A shortcut is used up even when it fails: its error leaves with Result 1.
  msg.Result = 1;
  if (form && form->IsShortCut(key, shift)) return;
  msg.Result = 0;
  if (msg.Msg == CN_KEYDOWN && key == VK_TAB && form &&
      !(Perform(WM_GETDLGCODE, key, 0) & (DLGC_WANTTAB | DLGC_WANTALLKEYS)))
    msg.Result = form->Perform(CM_DIALOGKEY, msg.WParam, msg.LParam);
  // A key used up here sends no WM_KEYDOWN that could take the reading.
  if (!msg.Result) pressShift = {key, shift, true};
}

void TWinControl::CNChar(TMessage& msg) {
  if (msg.Msg == CN_CHAR && (Perform(WM_GETDLGCODE, msg.WParam, 0) & DLGC_WANTCHARS)) return;
  if (TCustomForm* form = GetParentForm(this))
    msg.Result = form->Perform(CM_DIALOGCHAR, msg.WParam, msg.LParam);
}

void TWinControl::CNCtlColor(TMessage& msg) {
  HDC dc = reinterpret_cast<HDC>(msg.WParam);
  SetTextColor(dc, ColorToRGB(DrawTextColor()));
  SetBkColor(dc, ColorToRGB(DrawColor()));
  brush_.SetColor(DrawColor());
  msg.Result = reinterpret_cast<LRESULT>(brush_.Handle());
}

void TWinControl::WMTimer(TMessage& msg) {
  TimerTick(msg.WParam);
  // Platform window classes keep timers of their own.
  DefaultHandler(msg);
}

void TWinControl::WMCancelMode(TMessage& msg) {
  TControl* capture = GetCaptureControl();
  if (capture && capture != this && capture->Parent() == this) capture->Perform(WM_CANCELMODE);
  DefaultHandler(msg);
  CancelMode();
}

void TWinControl::WMNCDestroy(TMessage& msg) {
  DefaultHandler(msg);
  Detach();
}

// --- Notifications ---

void TWinControl::ColorChanged() {
  brush_.SetColor(Color());
  TControl::ColorChanged();
  for (TControl* c : controls_) c->Perform(CM_PARENTCOLORCHANGED);
}

void TWinControl::FontChanged() {
  if (handle_) Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), 0);
  TControl::FontChanged();
  for (TControl* c : controls_) c->Perform(CM_PARENTFONTCHANGED);
}

void TWinControl::CaptionChanged() {
  if (handle_) SendTextW(WM_SETTEXT, 0, Caption());
  TControl::CaptionChanged();
}

void TWinControl::EnabledChanged() {
  if (handle_) EnableWindow(handle_, Enabled());
  TControl::EnabledChanged();
}

void TWinControl::VisibleChanged() {
  if (handle_) ShowWindow(handle_, Visible() ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::ScaleControls(int m, int d) {
  for (TControl* c : controls_) c->ChangeScale(m, d, true);
}

void TWinControl::ChangeScale(int m, int d, bool moveToo) {
  if (m == d) return;
  ScaleControls(m, d);
  TControl::ChangeScale(m, d, moveToo);
}

// --- Focus and tab order ---

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& list = Parent()->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
  if (!Parent()) return;
  auto& list = Parent()->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  order = std::clamp(order, 0, static_cast<int>(list.size()));
  list.insert(list.begin() + order, this);
}

void TWinControl::SetTabStop(bool value) {
  if (value == tabStop_) return;
  tabStop_ = value;
  if (!handle_) return;
  const LONG style = GetWindowLongA(handle_, GWL_STYLE);
  SetWindowLongA(handle_, GWL_STYLE, value ? style | WS_TABSTOP : style & ~WS_TABSTOP);
}

bool TWinControl::CanFocus() const {
  const TCustomForm* form = GetParentForm(this);
  for (const TWinControl* c = this; c; c = c->Parent()) {
    if (!c->Visible() || !c->Enabled()) return false;
    if (c == form) break;
  }
  return true;
}

bool TWinControl::Focused() const { return focused_; }

void TWinControl::SetFocus() {
  TCustomForm* form = GetParentForm(this);
  if (form && form != this) {
    form->SetActiveControl(this);
    if (!form->Showing()) return;
  }
  if (CanFocus()) ::SetFocus(Handle());
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
  for (TWinControl* child : tabList_) {
    list.push_back(child);
    child->GetTabOrderList(list);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward, bool checkTabStop,
                                          bool checkParent) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  const int count = static_cast<int>(list.size());
  auto it = std::find(list.begin(), list.end(), current);
  int start = it != list.end() ? static_cast<int>(it - list.begin()) : (forward ? count - 1 : 0);
  int i = start;
  do {
    i = forward ? (i + 1) % count : (i + count - 1) % count;
    TWinControl* candidate = list[i];
    if (candidate->CanFocus() && (!checkTabStop || candidate->TabStop()) &&
        (!checkParent || candidate->Parent() == this))
      return candidate;
  } while (i != start);
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool forward, bool checkTabStop) {
  if (TWinControl* next = FindNextControl(current, forward, checkTabStop, !checkTabStop))
    next->SetFocus();
}

bool TWinControl::Ctl3D() const {
  if (parentCtl3D_ && Parent()) return Parent()->Ctl3D();
  return ctl3D_;
}

void TWinControl::SetCtl3D(bool value) {
  const bool before = Ctl3D();
  parentCtl3D_ = false;
  ctl3D_ = value;
  if (value != before) RecreateWnd();
}

void TWinControl::StartTimer(UINT_PTR id, UINT milliseconds) {
  ::SetTimer(Handle(), id, milliseconds, nullptr);
}

void TWinControl::StopTimer(UINT_PTR id) {
  if (handle_) ::KillTimer(handle_, id);
}
