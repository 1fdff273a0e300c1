#include "widgets/StatusBar.h"

#include <commctrl.h>
#include <oleacc.h>
#include <uxtheme.h>

#include <algorithm>
#include <stdexcept>

#include "framework/Accessible.h"
#include "framework/Form.h"

namespace {

constexpr int kDefaultHeight = 19;
// The platform window takes at most this many parts.
constexpr int kMaxParts = 128;

LRESULT Send(HWND window, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
  return SendMessageA(window, msg, wParam, lParam);
}

// Sets a flag for the length of a scope.
class TKeepBounds {
 public:
  explicit TKeepBounds(bool& flag) : flag_(flag) { flag_ = true; }
  TKeepBounds(const TKeepBounds&) = delete;
  TKeepBounds& operator=(const TKeepBounds&) = delete;
  ~TKeepBounds() { flag_ = false; }

 private:
  bool& flag_;
};

// The common controls register the status window class on request.
void RegisterBarClasses() {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
  InitCommonControlsEx(&classes);
}

}  // namespace

// --- TStatusPanel ---

void TStatusPanel::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  Changed();
  NotifyAccessibleEvent(bar_, EVENT_OBJECT_NAMECHANGE, bar_.Panels().IndexOf(*this));
}

void TStatusPanel::SetWidth(int width) {
  if (width == width_) return;
  width_ = width;
  bar_.LayOutPanels();
}

void TStatusPanel::SetBevel(TStatusPanelBevel bevel) {
  if (bevel == bevel_) return;
  bevel_ = bevel;
  Changed();
}

void TStatusPanel::SetAlignment(TAlignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  Changed();
}

void TStatusPanel::SetStyle(TStatusPanelStyle style) {
  if (style == style_) return;
  style_ = style;
  Changed();
}

void TStatusPanel::SetRightToLeftReading(bool value) {
  if (value == rightToLeftReading_) return;
  rightToLeftReading_ = value;
  Changed();
}

void TStatusPanel::Changed() { bar_.PanelChanged(*this); }

// --- TStatusPanels ---

int TStatusPanels::IndexOf(const TStatusPanel& panel) const {
  for (size_t i = 0; i < panels_.size(); ++i)
    if (panels_[i].get() == &panel) return static_cast<int>(i);
  return -1;
}

TStatusPanel& TStatusPanels::Add() {
  panels_.push_back(std::make_unique<TStatusPanel>(bar_));
  bar_.LayOutPanels();
  return *panels_.back();
}

void TStatusPanels::Delete(int index) {
  if (index < 0 || index >= Count()) throw std::out_of_range("status panel " + std::to_string(index));
  panels_.erase(panels_.begin() + index);
  bar_.LayOutPanels();
}

void TStatusPanels::Clear() {
  panels_.clear();
  bar_.LayOutPanels();
}

// --- TStatusBar ---

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner) {
  SetParentColor(false);
  SetColor(clBtnFace);
  SetParentFont(false);
  ApplySystemFont();
  SetHeight(kDefaultHeight);
  SetAlign(alBottom);
}

void TStatusBar::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  RegisterBarClasses();
  CreateSubClass(params, STATUSCLASSNAMEA);
  params.Style |= ShowsSizeGrip() ? SBARS_SIZEGRIP : CCS_TOP;
}

void TStatusBar::CreateWnd() {
  {
    TKeepBounds keep(keepBounds_);
    TWinControl::CreateWnd();
  }
  if (HighContrast()) FollowContrast();
  SetBackgroundColor();
  HWND window = Handle();
  SendTextW(SB_SETTEXTW, SB_SIMPLEID, simpleText_);
  Send(window, SB_SIMPLE, simplePanel_);
  LayOutPanels();
}

void TStatusBar::SetBounds(int left, int top, int width, int height) {
  TWinControl::SetBounds(left, top, width, height);
  UpdateSizeGrip();
}

bool TStatusBar::ShowsSizeGrip() const {
  const auto* form = dynamic_cast<const TCustomForm*>(Parent());
  if (!sizeGrip_ || !form) return false;
  if (form->BorderStyle() != bsSizeable && form->BorderStyle() != bsSizeToolWin) return false;
  const TRect client = form->ClientRect();
  return Left() + Width() == client.Right && Top() + Height() == client.Bottom;
}

// The grip is a window style: a change of its validity needs a new window.
void TStatusBar::UpdateSizeGrip() {
  if (!HandleAllocated() || keepBounds_) return;
  const bool shown = (GetWindowLongA(Handle(), GWL_STYLE) & SBARS_SIZEGRIP) != 0;
  if (shown != ShowsSizeGrip()) RecreateWnd();
}

void TStatusBar::SetSizeGrip(bool value) {
  if (value == sizeGrip_) return;
  sizeGrip_ = value;
  UpdateSizeGrip();
}

void TStatusBar::SetSimplePanel(bool value) {
  if (value == simplePanel_) return;
  simplePanel_ = value;
  if (HandleAllocated()) Send(Handle(), SB_SIMPLE, simplePanel_);
}

void TStatusBar::SetSimpleText(const std::string& text) {
  if (text == simpleText_) return;
  simpleText_ = text;
  if (HandleAllocated()) SendTextW(SB_SETTEXTW, SB_SIMPLEID, simpleText_);
}

void TStatusBar::SetUseSystemFont(bool value) {
  if (value == useSystemFont_) return;
  useSystemFont_ = value;
  if (!value) return;
  SetParentFont(false);
  ApplySystemFont();
}

void TStatusBar::ApplySystemFont() {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  const LOGFONTA& status = metrics.lfStatusFont;
  TFontStyles style;
  style.Set(fsBold, status.lfWeight >= FW_BOLD);
  style.Set(fsItalic, status.lfItalic != 0);
  style.Set(fsUnderline, status.lfUnderline != 0);
  style.Set(fsStrikeOut, status.lfStrikeOut != 0);
  TFont font;
  font.SetName(status.lfFaceName);
  font.SetHeight(status.lfHeight);
  font.SetCharset(status.lfCharSet);
  font.SetStyle(style);
  font.SetColor(clBtnText);
  applyingSystemFont_ = true;
  Font().Assign(font);
  applyingSystemFont_ = false;
}

void TStatusBar::FontChanged() {
  if (!applyingSystemFont_) useSystemFont_ = false;
  TWinControl::FontChanged();
}

void TStatusBar::ColorChanged() {
  TWinControl::ColorChanged();
  SetBackgroundColor();
}

void TStatusBar::DescribeAccessible(TAccessibleInfo& info) {
  TWinControl::DescribeAccessible(info);
  info.Role = ROLE_SYSTEM_STATUSBAR;
}

int TStatusBar::AccessibleItemCount() {
  return simplePanel_ ? 1 : std::min(panels_.Count(), kMaxParts);
}

void TStatusBar::DescribeAccessibleItem(int index, TAccessibleInfo& info) {
  info.Role = ROLE_SYSTEM_STATICTEXT;
  info.Name = simplePanel_ ? simpleText_ : panels_[index].Text();
  if (simplePanel_) {
    info.Bounds = ClientRect();
    return;
  }
  RECT rect{};
  if (HandleAllocated())
    Send(Handle(), SB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
  info.Bounds = rect;
}

void TStatusBar::CMSysColorChange(TMessage& msg) {
  if (!HandleAllocated()) return;
  Send(Handle(), WM_SYSCOLORCHANGE, msg.WParam, msg.LParam);
  FollowContrast();
  SetBackgroundColor();
}

void TStatusBar::FollowContrast() {
  // A theme name of no theme draws classic (Wine takes only a blank for
  // one); none gives the desktop's back.
  const wchar_t* theme = HighContrast() ? L" " : nullptr;
  SetWindowTheme(Handle(), theme, theme);
}

void TStatusBar::SetBackgroundColor() {
  if (HandleAllocated()) Send(Handle(), SB_SETBKCOLOR, 0, ColorToRGB(DrawColor()));
}

void TStatusBar::LayOutPanels() {
  if (!HandleAllocated()) return;
  HWND window = Handle();
  const int count = std::min(panels_.Count(), kMaxParts);
  if (count == 0) {
    const int rightEnd = -1;
    Send(window, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&rightEnd));
    SendTextW(SB_SETTEXTW, 0, "");
    return;
  }
  std::vector<int> rights(static_cast<size_t>(count));
  int right = 0;
  for (int i = 0; i + 1 < count; ++i) {
    right += panels_[i].Width();
    rights[static_cast<size_t>(i)] = right;
  }
  rights.back() = -1;
  Send(window, SB_SETPARTS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(rights.data()));
  for (int i = 0; i < count; ++i) PanelChanged(panels_[i]);
}

void TStatusBar::PanelChanged(TStatusPanel& panel) {
  if (!HandleAllocated()) return;
  const int index = panels_.IndexOf(panel);
  if (index < 0 || index >= kMaxParts) return;
  panel.textPending_ = true;
  RECT rect{};
  Send(Handle(), SB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
  InvalidateRect(rect, true);
}

void TStatusBar::HandOverPendingTexts() {
  static constexpr WPARAM kBevelFlags[] = {SBT_NOBORDERS, 0, SBT_POPOUT};
  // The platform centres what follows one tab and right-aligns what follows two.
  static constexpr const char* kAlignmentPrefixes[] = {"", "\t\t", "\t"};
  HWND window = Handle();
  const int count = std::min(panels_.Count(), kMaxParts);
  for (int i = 0; i < count; ++i) {
    TStatusPanel& panel = panels_[i];
    if (!panel.textPending_) continue;
    panel.textPending_ = false;
    WPARAM flags = static_cast<WPARAM>(i) | kBevelFlags[panel.Bevel()];
    if (panel.RightToLeftReading()) flags |= SBT_RTLREADING;
    if (panel.Style() == psOwnerDraw) {
      Send(window, SB_SETTEXTA, flags | SBT_OWNERDRAW, 0);
      continue;
    }
    SendTextW(SB_SETTEXTW, flags, kAlignmentPrefixes[panel.Alignment()] + panel.Text());
  }
}

void TStatusBar::WndProc(TMessage& msg) {
  switch (msg.Msg) {
    case WM_PAINT: case WM_PRINTCLIENT:
      HandOverPendingTexts();
      TWinControl::WndProc(msg);
      break;
    case WM_SIZE: WMSize(msg); break;
    case WM_WINDOWPOSCHANGING: WMWindowPosChanging(msg); break;
    case CN_DRAWITEM: CNDrawItem(msg); break;
    case CM_SYSCOLORCHANGE: CMSysColorChange(msg); break;
    default: TWinControl::WndProc(msg); break;
  }
}

// The platform lays out its parts for the new size here, and moves the
// window to its parent's bottom edge at the height it prefers, which the bar
// does not allow: it keeps its docked bounds.
void TStatusBar::WMSize(TMessage& msg) {
  {
    TKeepBounds keep(keepBounds_);
    TWinControl::WndProc(msg);
  }
  Invalidate();
}

void TStatusBar::WMWindowPosChanging(TMessage& msg) {
  if (keepBounds_) reinterpret_cast<WINDOWPOS*>(msg.LParam)->flags |= SWP_NOMOVE | SWP_NOSIZE;
  TWinControl::WndProc(msg);
}

void TStatusBar::CNDrawItem(TMessage& msg) {
  const auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(msg.LParam);
  const int index = static_cast<int>(item->itemID);
  if (index < 0 || index >= panels_.Count()) return;
  TCanvasHandleScope scope(canvas_, item->hDC);
  canvas_.SetFont(Font());
  canvas_.Brush().SetStyle(bsSolid);
  canvas_.Brush().SetColor(clBtnFace);
  const TRect rect = item->rcItem;
  if (OnDrawPanel) {
    OnDrawPanel(this, panels_[index], rect);
  } else {
    canvas_.FillRect(rect);
  }
  msg.Result = TRUE;
}
