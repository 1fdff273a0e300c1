#include "widgets/QelPanel.h"

namespace {
// Controls with the 3D look (client edges) exist from this major version of
// the platform on.
constexpr DWORD kFirstVersionWith3DControls = 4;

bool PlatformHas3DControls() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  return GetVersionExA(&info) && info.dwMajorVersion >= kFirstVersionWith3DControls;
}
}  // namespace

// --- TQelCustomPanel ---

TQelCustomPanel::TQelCustomPanel(TComponent* owner) : TQelCustomControl(owner) {
  SetColor(clBtnFace);
}

void TQelCustomPanel::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  // The paint routine covers everything either way; the erase in Color
  // would only flash before the parent's picture.
  TControlStyle style = ControlStyle();
  SetControlStyle(style.Set(csOpaque, value));
  Invalidate();
}

void TQelCustomPanel::PaintBackground() {
  if (transparent_) {
    PaintParentPicture(Canvas().Handle());
    return;
  }
  Canvas().Brush().SetStyle(bsSolid);
  Canvas().Brush().SetColor(DrawColor());
  Canvas().FillRect(ClientRect());
}

void TQelCustomPanel::PaintParentPicture(HDC dc) {
  TWinControl* parent = Parent();
  if (!parent || !parent->HandleAllocated()) return;
  TSavedDC saved(dc);
  OffsetViewportOrgEx(dc, -Left(), -Top(), nullptr);
  SendMessageA(parent->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc),
               PRF_CLIENT | PRF_ERASEBKGND);
}

// --- TQelCustomBevelPanel ---

TQelCustomBevelPanel::TQelCustomBevelPanel(TComponent* owner) : TQelCustomPanel(owner) {
  bevel_.SetNativeBorder(true);
  bevel_.SetOnChange([this](TObject*) { BevelChanged(); });
}

TQelCustomBevelPanel::~TQelCustomBevelPanel() { bevel_.SetOnChange(nullptr); }

void TQelCustomBevelPanel::BorderStyles(DWORD& style, DWORD& exStyle) const {
  style = 0;
  exStyle = 0;
  if (Themed()) return;
  if (bevel_.Mode() != bmWindows) return;
  if (PlatformHas3DControls() && Ctl3D()) {
    exStyle = WS_EX_CLIENTEDGE;
  } else {
    style = WS_BORDER;
  }
}

void TQelCustomBevelPanel::CreateParams(TCreateParams& params) {
  TQelCustomPanel::CreateParams(params);
  DWORD style = 0;
  DWORD exStyle = 0;
  BorderStyles(style, exStyle);
  params.Style = (params.Style & ~WS_BORDER) | style;
  params.ExStyle = (params.ExStyle & ~WS_EX_CLIENTEDGE) | exStyle;
}

void TQelCustomBevelPanel::AdjustClientRect(TRect& rect) {
  const int extent = bevel_.Extent();
  rect = rect.Inflate(-extent, -extent);
}

void TQelCustomBevelPanel::BevelChanged() {
  if (Loading() || Destroying()) return;
  if (bevel_.NativeBorder()) RecreateWnd();
  Realign();
  Invalidate();
}

void TQelCustomBevelPanel::ThemeChanged() {
  TQelCustomPanel::ThemeChanged();
  if (!HandleAllocated() || !SupportsThemes()) return;
  // Only the border bits follow the theme; the window itself stays.
  DWORD style = 0;
  DWORD exStyle = 0;
  BorderStyles(style, exStyle);
  HWND window = Handle();
  const LONG oldStyle = GetWindowLongA(window, GWL_STYLE);
  const LONG oldExStyle = GetWindowLongA(window, GWL_EXSTYLE);
  SetWindowLongA(window, GWL_STYLE, (oldStyle & ~WS_BORDER) | style);
  SetWindowLongA(window, GWL_EXSTYLE, (oldExStyle & ~WS_EX_CLIENTEDGE) | exStyle);
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// --- TQelCustomParentPanel ---

TQelCustomParentPanel::TQelCustomParentPanel(TComponent* owner) : TQelCustomBevelPanel(owner) {
  SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
}

void TQelCustomParentPanel::Paint() {
  if (Loading()) return;
  PaintBackground();
  if (Bevel().Extent() != 0 || Bevel().Mode() == bmWindows)
    Bevel().PaintBevel(Canvas(), ClientRect(), true);
}
