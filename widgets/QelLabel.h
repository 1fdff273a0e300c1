// The label: a windowless caption painted onto its parent.
//
// TQelBaseLabel: caption drawing and automatic sizing. An auto-sized label
// (AutoSize, no Align) takes the size of its caption in its font plus one
// pixel of air on each side beyond its bevel, whenever loading ends or the
// caption, font, alignment, options, MultiLine, ShowAccelChar, effects or
// bevel change; each such change then repaints it. A label that is not
// auto-sized draws one line (MultiLine false) or wraps at spaces, and cuts
// off what does not fit. "&" marks an accelerator (underlined) unless
// ShowAccelChar is false.
//
// TQelCustomLabel: adds blinking (Twinkle): the caption shows for
// TwinkleVisible milliseconds, then for TwinkleInVisible milliseconds is
// drawn in TwinkleColor, or not at all when that is clNone.
//
// TQelLabel: the label as forms use it.
#pragma once

#include <memory>

#include "framework/Timer.h"
#include "widgets/QelControl.h"

class TQelBaseLabel : public TQelBaseGraphicControl {
 public:
  static constexpr int kDefaultSize = 30;

  explicit TQelBaseLabel(TComponent* owner);

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

  // Sizes the label to its caption when it is auto-sized.
  void AdjustSize();
  // The size of the caption's text in the label's font as the label lays
  // it out: wrapped to the label's width when it wraps, without the air
  // that automatic sizing adds.
  TSize TextExtent();

 protected:
  void Paint() override;
  void DescribeAccessible(TAccessibleInfo& info) override;
  void Loaded() override;
  void CaptionChanged() override;
  void FontChanged() override;
  void EnabledChanged() override;
  void BevelChanged() override;
  void CaptionEffectsChanged() override;
  // The colour the caption is drawn in now; clNone: not drawn.
  virtual TColor CaptionColor() const { return DrawTextColor(); }
  // Repaints: a transparent label by marking its place on the parent, an
  // opaque one at once.
  void RequestRepaint();

 private:
  // Sizing, then repainting.
  void LayoutChanged();
  UINT TextFlags() const;
  // Moves a wrapped, not auto-sized caption down for the middle and bottom
  // alignments (the platform places only single lines vertically).
  TRect PlaceWrappedText(const TRect& rect, UINT& flags);

  TQelAlignment alignment_ = agTopLeft;
  bool autoSize_ = true;
  bool multiLine_ = false;
  TQelLabelOptions options_;
  bool showAccelChar_ = true;
  bool painting_ = false;  // inside Paint: a nested paint is skipped
};

class TQelCustomLabel : public TQelBaseLabel {
 public:
  static constexpr int kDefaultTwinkleMs = 700;

  explicit TQelCustomLabel(TComponent* owner);
  ~TQelCustomLabel() override;

  bool Twinkle() const { return twinkle_; }
  void SetTwinkle(bool value);
  // Phase lengths in milliseconds (0 stops the blinking in that phase).
  int TwinkleVisible() const { return twinkleVisible_; }
  void SetTwinkleVisible(int milliseconds);
  int TwinkleInVisible() const { return twinkleInVisible_; }
  void SetTwinkleInVisible(int milliseconds);
  TColor TwinkleColor() const { return twinkleColor_; }
  void SetTwinkleColor(TColor value);

 protected:
  TColor CaptionColor() const override;

 private:
  void TwinkleTick();
  // The length of the current phase.
  int PhaseMs() const { return twinkleOff_ ? twinkleInVisible_ : twinkleVisible_; }

  bool twinkle_ = false;
  int twinkleVisible_ = kDefaultTwinkleMs;
  int twinkleInVisible_ = kDefaultTwinkleMs;
  TColor twinkleColor_ = clNone;
  bool twinkleOff_ = false;  // in the phase without the normal caption
  std::unique_ptr<TTimer> timer_;  // exists while Twinkle
};

class TQelLabel : public TQelCustomLabel {
 public:
  using TQelCustomLabel::TQelCustomLabel;
};
