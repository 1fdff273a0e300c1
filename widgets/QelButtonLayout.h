// The placement of a button's content: TQelGlyphTextLayout puts the
// content block into the button's content rectangle by Alignment and then
// moves it by OffsetX/OffsetY; TQelButtonLayout is the push button's one.
// Every change is reported to the owning button.
#pragma once

#include "widgets/QelCaption.h"
#include "widgets/QelObject.h"

class TQelGlyphTextLayout : public TQelObject {
 public:
  TQelAlignment Alignment() const { return alignment_; }
  void SetAlignment(TQelAlignment value) { Store(alignment_, value); }
  int OffsetX() const { return offsetX_; }
  void SetOffsetX(int value) { Store(offsetX_, value); }
  int OffsetY() const { return offsetY_; }
  void SetOffsetY(int value) { Store(offsetY_, value); }

  // Copies every value and reports one change.
  void Assign(const TQelGlyphTextLayout& source);

  // Where a block of `block` size goes in `content`: by Alignment, halving
  // the free room (towards zero, so a block larger than the content sticks
  // out by half the excess on each side), then moved by the offsets.
  TRect Place(const TRect& content, int blockWidth, int blockHeight) const;

 private:
  TQelAlignment alignment_ = agCenter;
  int offsetX_ = 0;
  int offsetY_ = 0;
};

class TQelButtonLayout : public TQelGlyphTextLayout {};
