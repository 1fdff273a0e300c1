#include "widgets/QelLabel.h"

#include <oleacc.h>

#include <algorithm>

#include "framework/Accessible.h"

// --- TQelBaseLabel ---

TQelBaseLabel::TQelBaseLabel(TComponent* owner) : TQelBaseGraphicControl(owner) {
  SetBounds(Left(), Top(), kDefaultSize, kDefaultSize);
}

void TQelBaseLabel::SetAlignment(TQelAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  LayoutChanged();
}

void TQelBaseLabel::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  if (value) {
    LayoutChanged();
  } else {
    RequestRepaint();
  }
}

void TQelBaseLabel::SetMultiLine(bool value) {
  if (value == multiLine_) return;
  multiLine_ = value;
  LayoutChanged();
}

void TQelBaseLabel::SetOptions(TQelLabelOptions value) {
  if (value == options_) return;
  options_ = value;
  LayoutChanged();
}

void TQelBaseLabel::SetShowAccelChar(bool value) {
  if (value == showAccelChar_) return;
  showAccelChar_ = value;
  LayoutChanged();
}

void TQelBaseLabel::Loaded() {
  TQelBaseGraphicControl::Loaded();
  AdjustSize();
}

void TQelBaseLabel::CaptionChanged() { LayoutChanged(); }
void TQelBaseLabel::FontChanged() { LayoutChanged(); }
void TQelBaseLabel::BevelChanged() { LayoutChanged(); }
void TQelBaseLabel::CaptionEffectsChanged() { LayoutChanged(); }
void TQelBaseLabel::EnabledChanged() { RequestRepaint(); }

void TQelBaseLabel::LayoutChanged() {
  if (Loading()) return;
  AdjustSize();
  RequestRepaint();
}

void TQelBaseLabel::RequestRepaint() {
  if (Transparent()) {
    Invalidate();
  } else {
    Repaint();
  }
}

void TQelBaseLabel::AdjustSize() {
  if (!autoSize_ || Align() != alNone || Loading()) return;
  TRect size = ClientRect();
  MeasureCaptionText(Caption(), FontFX(), QelLabelOptionFlags(options_), Bevel().Extent(),
                     showAccelChar_, multiLine_, Font(), size);
  SetBounds(Left(), Top(), size.Right, size.Bottom);
}

TSize TQelBaseLabel::TextExtent() {
  Canvas().SetFont(Font());
  TRect block = ClientRect();
  Canvas().DrawTextEx(Caption(), block, TextFlags() | DT_CALCRECT);
  return {block.Width(), block.Height()};
}

UINT TQelBaseLabel::TextFlags() const {
  UINT flags = 0;
  if (!autoSize_ && !multiLine_ && FontFX().Angle() == 0) flags |= DT_SINGLELINE;
  flags |= QelLabelOptionFlags(options_) | QelAlignmentFlags(alignment_) | DT_EXPANDTABS |
           DT_WORDBREAK;
  if (!showAccelChar_) flags |= DT_NOPREFIX;
  return flags;
}

TRect TQelBaseLabel::PlaceWrappedText(const TRect& rect, UINT& flags) {
  constexpr UINT kVerticalFlags = DT_VCENTER | DT_BOTTOM;
  flags &= ~kVerticalFlags;
  TRect block = rect;
  Canvas().DrawTextEx(Caption(), block, flags | DT_CALCRECT);
  const int free = rect.Height() - block.Height();
  const bool middle = alignment_ <= agCenterRight;
  TRect placed = rect;
  placed.Top += middle ? free / 2 : free;
  return placed;
}

void TQelBaseLabel::Paint() {
  if (painting_ || Loading()) return;
  struct TGuard {
    bool& flag;
    explicit TGuard(bool& f) : flag(f) { flag = true; }
    ~TGuard() { flag = false; }
  } guard(painting_);
  const std::string& caption = Caption();
  if (Transparent() && caption.empty() && Bevel().Extent() == 0) return;
  TCanvas& canvas = Canvas();
  canvas.SetFont(Font());
  if (!Transparent()) {
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(DrawColor());
    canvas.FillRect(ClientRect());
  }
  TRect textRect = ClientRect();
  TQelCaptionPaintState state;
  if (Enabled()) state.Include(cpsEnabled);
  TRect clip;
  const TRect* clipRect = nullptr;
  if (Bevel().Extent() != 0) {
    textRect = Bevel().PaintBevel(canvas, textRect, Bevel().BorderColor() == Color() || Transparent());
    clip = textRect;
    clipRect = &clip;
    state.Include(cpsClip);
  }
  UINT flags = TextFlags();
  if (!autoSize_ && multiLine_ && QelAlignedBelowTop(alignment_))
    textRect = PlaceWrappedText(textRect, flags);
  const TColor color = CaptionColor();
  if (color == clNone) return;
  canvas.Brush().SetColor(DrawColor());
  canvas.Font().SetColor(color);
  PaintCaptionText(canvas, caption, FontFX(), clipRect, state, flags, textRect);
}

void TQelBaseLabel::DescribeAccessible(TAccessibleInfo& info) {
  TQelBaseGraphicControl::DescribeAccessible(info);
  info.Role = ROLE_SYSTEM_STATICTEXT;
}

// --- TQelCustomLabel ---

TQelCustomLabel::TQelCustomLabel(TComponent* owner) : TQelBaseLabel(owner) {}

TQelCustomLabel::~TQelCustomLabel() = default;

void TQelCustomLabel::SetTwinkle(bool value) {
  if (value == twinkle_) return;
  twinkle_ = value;
  twinkleOff_ = false;
  if (value) {
    timer_ = std::make_unique<TTimer>(nullptr);
    timer_->SetInterval(PhaseMs());
    timer_->SetOnTimer([this](TObject*) { TwinkleTick(); });
  } else {
    timer_.reset();
  }
  RequestRepaint();
}

void TQelCustomLabel::SetTwinkleVisible(int milliseconds) {
  milliseconds = std::max(milliseconds, 0);
  if (milliseconds == twinkleVisible_) return;
  twinkleVisible_ = milliseconds;
  if (timer_) timer_->SetInterval(PhaseMs());
}

void TQelCustomLabel::SetTwinkleInVisible(int milliseconds) {
  milliseconds = std::max(milliseconds, 0);
  if (milliseconds == twinkleInVisible_) return;
  twinkleInVisible_ = milliseconds;
  if (timer_) timer_->SetInterval(PhaseMs());
}

void TQelCustomLabel::SetTwinkleColor(TColor value) {
  if (value == twinkleColor_) return;
  twinkleColor_ = value;
  if (twinkleOff_) RequestRepaint();
}

TColor TQelCustomLabel::CaptionColor() const {
  return twinkleOff_ ? twinkleColor_ : TQelBaseLabel::CaptionColor();
}

void TQelCustomLabel::TwinkleTick() {
  twinkleOff_ = !twinkleOff_;
  timer_->SetInterval(PhaseMs());
  RequestRepaint();
}
