#include "widgets/QelSpeedButton.h"

#include <oleacc.h>
#include <vsstyle.h>

#include "framework/Accessible.h"
#include "framework/WinControl.h"

namespace {

// The classic (ubsWin40) face: content lies this far inside the edge, and
// moves this far right and down while the button is down.
constexpr int kFaceInset = 2;
constexpr int kDownShift = 1;
// The caption block is drawn this far in from its top-left corner.
constexpr int kCaptionShift = 1;
// The theme's push button is drawn this much larger than the button on
// every side (and clipped to that), so that its own margin stays outside.
constexpr int kThemeOverhang = 1;

bool UpOrHot(TQelButtonState state) {
  return state == TQelButtonState::Up || state == TQelButtonState::Hot;
}

int ThemeState(TQelButtonState state) {
  switch (state) {
    case TQelButtonState::Up: return PBS_NORMAL;
    case TQelButtonState::Hot: return PBS_HOT;
    case TQelButtonState::Disabled:
    case TQelButtonState::DisabledLatched: return PBS_DISABLED;
    case TQelButtonState::Pressed:
    case TQelButtonState::Latched:
    case TQelButtonState::MenuOpen: return PBS_PRESSED;
  }
  return PBS_NORMAL;
}

// What a reader's default action for a button is called.
constexpr char kPressAction[] = "Dr\xFC" "cken";

}  // namespace

// --- TQelBaseGraphicButton ---

TQelBaseGraphicButton::TQelBaseGraphicButton(TComponent* owner) : TQelBaseControl(owner) {
  // Clicks and double clicks are the button's own business (the inside
  // tests differ from the framework's); it paints its whole rectangle.
  SetControlStyle(ControlStyle() - TControlStyle{csClickEvents, csDoubleClicks} +
                  TControlStyle{csOpaque});
}

TQelBaseGraphicButton::~TQelBaseGraphicButton() { *alive_ = false; }

bool TQelBaseGraphicButton::ShowsDown(TQelButtonState state) {
  return state == TQelButtonState::Pressed || state == TQelButtonState::Latched ||
         state == TQelButtonState::MenuOpen || state == TQelButtonState::DisabledLatched;
}

void TQelBaseGraphicButton::SetButtonState(TQelButtonState state, bool force) {
  if (!force && state == state_) return;
  const bool redraw = !(UpOrHot(state) && UpOrHot(state_)) || HotLooksDifferent();
  previous_ = state == TQelButtonState::Hot && state_ != TQelButtonState::Latched
                  ? TQelButtonState::Up
                  : state_;
  state_ = state;
  // At once, not later: OnClick may hide the button right after this.
  if (redraw && Visible()) Repaint();
  if (state_ != TQelButtonState::Hot) {
    hotCheck_.reset();
  } else if (!hotCheck_) {
    hotCheck_ = std::make_unique<TTimer>(nullptr);
    hotCheck_->SetInterval(kHotCheckMs);
    hotCheck_->SetOnTimer([this](TObject*) { HotCheck(); });
  }
}

void TQelBaseGraphicButton::HotCheck() {
  if (!Enabled() || state_ == TQelButtonState::Latched) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  const TPoint p = ScreenToClient(cursor);
  const bool inside = p.X >= 0 && p.X < Width() && p.Y >= 0 && p.Y <= Height();
  if (!inside) SetButtonState(TQelButtonState::Up);
}

void TQelBaseGraphicButton::Click() { TQelBaseControl::Click(); }

void TQelBaseGraphicButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TQelBaseControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || !Enabled()) return;
  tracking_ = true;
  SetButtonState(TQelButtonState::Pressed);
}

void TQelBaseGraphicButton::MouseMove(TShiftState shift, int x, int y) {
  TQelBaseControl::MouseMove(shift, x, y);
  if (!Enabled()) return;
  const bool inside = x >= 0 && x <= Width() && y >= 0 && y <= Height();
  if (tracking_) SetButtonState(inside ? TQelButtonState::Pressed : TQelButtonState::Up);
  if (inside && state_ != TQelButtonState::Hot) {
    TQelBaseControl::MouseEnter();
    if (state_ == TQelButtonState::Up) SetButtonState(TQelButtonState::Hot);
  }
}

void TQelBaseGraphicButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TQelBaseControl::MouseUp(button, shift, x, y);
  if (!tracking_) return;
  tracking_ = false;
  const bool inside = x >= 0 && x < Width() && y >= 0 && y <= Height();
  if (!inside) {
    SetButtonState(TQelButtonState::Up);
    return;
  }
  SetButtonState(TQelButtonState::Hot);
  const std::shared_ptr<bool> alive = alive_;
  Click();
  if (!*alive) return;
  if (ThemeData() && Enabled()) SetButtonState(TQelButtonState::Hot);
}

void TQelBaseGraphicButton::MouseEnter() {
  if (!Enabled()) return;
  TQelBaseControl::MouseEnter();
  if (state_ == TQelButtonState::Up) SetButtonState(TQelButtonState::Hot);
}

void TQelBaseGraphicButton::MouseLeave() {
  if (Enabled()) TQelBaseControl::MouseLeave();
  if (state_ == TQelButtonState::Hot) SetButtonState(previous_);
}

void TQelBaseGraphicButton::CancelMode() {
  TQelBaseControl::CancelMode();
  if (!tracking_) return;
  tracking_ = false;
  SetButtonState(TQelButtonState::Up);
}

void TQelBaseGraphicButton::EnabledChanged() {
  tracking_ = false;
  SetButtonState(Enabled() ? TQelButtonState::Up : TQelButtonState::Disabled);
  Invalidate();
}

void TQelBaseGraphicButton::ParentChanged() {
  TQelBaseControl::ParentChanged();
  OpenTheme();
}

void TQelBaseGraphicButton::ThemeChanged() {
  TQelBaseControl::ThemeChanged();
  OpenTheme();
}

void TQelBaseGraphicButton::OpenTheme() {
  theme_.Close();
  if (Themed() && Parent() && Parent()->HandleAllocated())
    theme_.Open(Parent()->Handle(), L"BUTTON");
}

HTHEME TQelBaseGraphicButton::ThemeData() {
  if (!Themed()) return nullptr;
  // The parent may have got its window only after the button was placed.
  if (!theme_) OpenTheme();
  return theme_.Get();
}

bool TQelBaseGraphicButton::Clickable() const {
  const TWinControl* parent = Parent();
  return Enabled() && Visible() && parent && parent->Enabled() && parent->Showing();
}

bool TQelBaseGraphicButton::DialogChar(char ch) {
  if (!IsAccelerator(ch, Caption()) || !Clickable()) return false;
  Click();
  return true;
}

void TQelBaseGraphicButton::DescribeAccessible(TAccessibleInfo& info) {
  TQelBaseControl::DescribeAccessible(info);
  info.Role = ROLE_SYSTEM_PUSHBUTTON;
  info.DefaultAction = kPressAction;
  if (ShowsDown(state_)) info.State |= STATE_SYSTEM_PRESSED;
  if (state_ == TQelButtonState::Hot) info.State |= STATE_SYSTEM_HOTTRACKED;
}

bool TQelBaseGraphicButton::DoAccessibleDefaultAction() {
  if (!Clickable()) return false;
  Click();
  return true;
}

// --- TQelCustomSpeedButton ---

TQelCustomSpeedButton::TQelCustomSpeedButton(TComponent* owner) : TQelBaseGraphicButton(owner) {
  SetBounds(Left(), Top(), kDefaultWidth, kDefaultHeight);
  layout_.SetOnChange([this](TObject*) { Invalidate(); });
}

TQelCustomSpeedButton::~TQelCustomSpeedButton() { layout_.SetOnChange(nullptr); }

void TQelCustomSpeedButton::SetUseCaption(bool value) {
  if (value == useCaption_) return;
  useCaption_ = value;
  Invalidate();
}

void TQelCustomSpeedButton::SetMultiLine(bool value) {
  if (value == multiLine_) return;
  multiLine_ = value;
  Invalidate();
}

void TQelCustomSpeedButton::SetEnterColor(TColor value) {
  if (value == enterColor_) return;
  enterColor_ = value;
  if (enterColorChange_ && ButtonState() == TQelButtonState::Hot) Invalidate();
}

void TQelCustomSpeedButton::SetEnterColorChange(bool value) {
  if (value == enterColorChange_) return;
  enterColorChange_ = value;
  if (ButtonState() == TQelButtonState::Hot) Invalidate();
}

bool TQelCustomSpeedButton::HotLooksDifferent() {
  return enterColorChange_ || TQelBaseGraphicButton::HotLooksDifferent();
}

void TQelCustomSpeedButton::Paint() {
  if (Loading() || !Visible()) return;
  const TRect client(0, 0, Width(), Height());
  Canvas().Brush().SetStyle(bsSolid);
  Canvas().Brush().SetColor(DrawColor());
  Canvas().FillRect(client);
  PaintFace(client);
  TRect content = client.Inflate(-kFaceInset, -kFaceInset);
  if (ShowsDown(ButtonState())) content = content.Offset(kDownShift, kDownShift);
  if (useCaption_) PaintCaption(content);
}

void TQelCustomSpeedButton::PaintFace(const TRect& client) {
  if (HTHEME theme = ThemeData()) {
    const RECT face = client.Inflate(kThemeOverhang, kThemeOverhang);
    DrawThemeBackground(theme, Canvas().Handle(), BP_PUSHBUTTON, ThemeState(ButtonState()), &face,
                        &face);
    return;
  }
  TRect edge = client;
  if (ShowsDown(ButtonState())) {
    Canvas().DrawEdge(edge, EDGE_SUNKEN, BF_RECT | BF_SOFT | BF_ADJUST);
    return;
  }
  Canvas().DrawEdge(edge, BDR_RAISEDOUTER, BF_RECT | BF_SOFT | BF_ADJUST);
  Canvas().DrawEdge(edge, BDR_RAISEDINNER, BF_RIGHT | BF_BOTTOM | BF_ADJUST);
}

void TQelCustomSpeedButton::PaintCaption(const TRect& content) {
  TCanvas& canvas = Canvas();
  canvas.SetFont(Font());
  TRect block(0, 0, content.Width(), 0);
  MeasureCaptionText(Caption(), FontFX(), 0, 0, true, multiLine_, Font(), block);
  const TRect placed = ButtonLayout().Place(content, block.Width(), block.Height());
  const TRect textRect = placed.Offset(kCaptionShift, kCaptionShift);
  UINT flags = DT_EXPANDTABS;
  if (multiLine_) flags |= DT_WORDBREAK | QelAlignmentFlags(ButtonLayout().Alignment());
  const bool enabled = Enabled();
  const bool entered = enterColorChange_ && ButtonState() == TQelButtonState::Hot;
  canvas.Font().SetColor(entered ? enterColor_ : DrawTextColor());
  TQelCaptionPaintState state;
  if (enabled) state.Include(cpsEnabled);
  PaintCaptionText(canvas, Caption(), FontFX(), nullptr, state, flags, textRect);
}
