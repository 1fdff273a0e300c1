#include "widgets/QelButtonLayout.h"

void TQelGlyphTextLayout::Assign(const TQelGlyphTextLayout& source) {
  if (&source == this) return;
  alignment_ = source.alignment_;
  offsetX_ = source.offsetX_;
  offsetY_ = source.offsetY_;
  Changed();
}

TRect TQelGlyphTextLayout::Place(const TRect& content, int blockWidth, int blockHeight) const {
  // Columns and rows of the alignments: 0 left/top, 1 centre, 2 right/bottom.
  const int column = alignment_ % 3;
  const int row = alignment_ / 3;
  const int freeX = content.Width() - blockWidth;
  const int freeY = content.Height() - blockHeight;
  const int left = content.Left + (column == 0 ? 0 : column == 1 ? freeX / 2 : freeX);
  const int top = content.Top + (row == 0 ? 0 : row == 1 ? freeY / 2 : freeY);
  return Bounds(left + offsetX_, top + offsetY_, blockWidth, blockHeight);
}
