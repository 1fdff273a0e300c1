#include "widgets/QelStaticText.h"

#include <oleacc.h>

#include "framework/Accessible.h"

TQelCustomPanelFill::TQelCustomPanelFill(TComponent* owner) : TQelCustomParentPanel(owner) {
  fontFX_.SetOnChange([this](TObject*) { Invalidate(); });
}

TQelCustomPanelFill::~TQelCustomPanelFill() { fontFX_.SetOnChange(nullptr); }

void TQelCustomPanelFill::SetAlignment(TQelAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Invalidate();
}

void TQelCustomPanelFill::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  AdjustSize();
}

void TQelCustomPanelFill::SetMultiLine(bool value) {
  if (value == multiLine_) return;
  multiLine_ = value;
  Invalidate();
}

void TQelCustomPanelFill::SetOptions(TQelLabelOptions value) {
  if (value == options_) return;
  options_ = value;
  Invalidate();
}

void TQelCustomPanelFill::SetShowAccelChar(bool value) {
  if (value == showAccelChar_) return;
  showAccelChar_ = value;
  Invalidate();
}

void TQelCustomPanelFill::SetTransparentBorder(bool value) {
  if (value == transparentBorder_) return;
  transparentBorder_ = value;
  Invalidate();
}

void TQelCustomPanelFill::Loaded() {
  TQelCustomParentPanel::Loaded();
  AdjustSize();
}

void TQelCustomPanelFill::CaptionChanged() {
  TQelCustomParentPanel::CaptionChanged();
  AdjustSize();
}

void TQelCustomPanelFill::AdjustSize() {
  if (!autoSize_ || Align() != alNone || Loading()) return;
  TRect size = ClientRect();
  MeasureCaptionText(Caption(), fontFX_, QelLabelOptionFlags(options_), Bevel().Extent(),
                     showAccelChar_, multiLine_, Font(), size);
  SetBounds(Left(), Top(), size.Right, size.Bottom);
}

UINT TQelCustomPanelFill::TextFlags() const {
  UINT flags = QelLabelOptionFlags(options_);
  if (!multiLine_) flags |= DT_SINGLELINE;
  if (!showAccelChar_) flags |= DT_NOPREFIX;
  return flags | DT_EXPANDTABS | QelAlignmentFlags(alignment_);
}

void TQelCustomPanelFill::DescribeAccessible(TAccessibleInfo& info) {
  TQelCustomParentPanel::DescribeAccessible(info);
  info.Role = ROLE_SYSTEM_STATICTEXT;
}

void TQelCustomPanelFill::Paint() {
  if (Loading()) return;
  PaintBackground();
  const std::string& caption = Caption();
  if (caption.empty() && Bevel().Extent() == 0 && Bevel().Mode() != bmWindows) return;
  TCanvas& canvas = Canvas();
  const TRect textRect = Bevel().PaintBevel(canvas, ClientRect(), transparentBorder_);
  canvas.Brush().SetStyle(bsClear);
  canvas.Brush().SetColor(DrawColor());
  canvas.SetFont(Font());
  canvas.Font().SetColor(DrawTextColor());
  TQelCaptionPaintState state{cpsClip};
  if (Enabled()) state.Include(cpsEnabled);
  PaintCaptionText(canvas, caption, fontFX_, nullptr, state, TextFlags(), textRect);
}
