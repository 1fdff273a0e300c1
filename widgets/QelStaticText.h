// The static text: a windowed caption on an opaque background.
//
// TQelCustomPanelFill: a bordered panel that fills itself with Color and
// draws its caption inside its bevel, placed by Alignment (agCenter by
// default): one line unless MultiLine (then only the caption's own line
// breaks start new lines), "&" as accelerator marker unless ShowAccelChar
// is false, clipped to the area inside the bevel. TransparentBorder paints
// only the bevel's lines. An auto-sized one takes the size of its caption
// like a label does (MeasureCaptionText).
//
// TQelStaticText: the static text as forms use it.
#pragma once

#include "widgets/QelCaption.h"
#include "widgets/QelPanel.h"

class TQelCustomPanelFill : public TQelCustomParentPanel {
 public:
  explicit TQelCustomPanelFill(TComponent* owner);
  ~TQelCustomPanelFill() override;

  TQelAlignment Alignment() const { return alignment_; }
  void SetAlignment(TQelAlignment value);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  bool MultiLine() const { return multiLine_; }
  void SetMultiLine(bool value);
  TQelLabelOptions Options() const { return options_; }
  void SetOptions(TQelLabelOptions value);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool value);
  bool TransparentBorder() const { return transparentBorder_; }
  void SetTransparentBorder(bool value);
  TQelFxCaption& FontFX() { return fontFX_; }
  const TQelFxCaption& FontFX() const { return fontFX_; }
  void SetFontFX(const TQelFxCaption& value) { fontFX_.Assign(value); }

  // Sizes the control to its caption when it is auto-sized.
  void AdjustSize();

 protected:
  void Paint() override;
  void DescribeAccessible(TAccessibleInfo& info) override;
  void Loaded() override;
  void CaptionChanged() override;

 private:
  UINT TextFlags() const;

  TQelAlignment alignment_ = agCenter;
  bool autoSize_ = true;
  bool multiLine_ = false;
  TQelLabelOptions options_;
  bool showAccelChar_ = true;
  bool transparentBorder_ = false;
  TQelFxCaption fontFX_;
};

class TQelStaticText : public TQelCustomPanelFill {
 public:
  using TQelCustomPanelFill::TQelCustomPanelFill;
};
