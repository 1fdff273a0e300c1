#include "widgets/GridAxis.h"

#include <windows.h>

#include <algorithm>

// --- TGridAxis ---

void TGridAxis::SetCount(int count) {
  count_ = count;
  if (!sizes_.empty()) sizes_.resize(count, defaultSize_);
}

bool TGridAxis::SetDefaultSize(int size) {
  if (size == defaultSize_) return false;
  defaultSize_ = size;
  sizes_.clear();
  return true;
}

int TGridAxis::Size(int index) const {
  if (index < 0 || index >= static_cast<int>(sizes_.size())) return defaultSize_;
  return sizes_[index];
}

bool TGridAxis::SetSize(int index, int size) {
  if (Size(index) == size) return false;
  if (sizes_.empty()) sizes_.assign(count_, defaultSize_);
  sizes_[index] = size;
  return true;
}

void TGridAxis::Scale(int m, int d) {
  defaultSize_ = MulDiv(defaultSize_, m, d);
  for (int& size : sizes_) size = MulDiv(size, m, d);
}

// --- TGridAxisLayout ---

TGridAxisLayout::TGridAxisLayout(const TGridAxis& axis, int fixedCount, int first, int lineWidth,
                                 int clientExtent)
    : axis_(axis),
      fixedCount_(fixedCount),
      first_(first),
      lineWidth_(lineWidth),
      clientExtent_(clientExtent) {
  int pos = 0;
  for (int i = 0; i < fixedCount_; ++i) {
    if (pos < clientExtent_) lastShownFixed_ = i;
    pos += axis_.Size(i) + lineWidth_;
  }
  fixedBoundary_ = pos;

  // A cell counts as fully visible while its end, gap included, does not
  // pass the client extent plus one line width: the last gap may fall off.
  const int limit = clientExtent_ + lineWidth_;
  lastFullVisible_ = first_ - 1;
  bool cutOff = false;
  int i = first_;
  for (; i < Count(); ++i) {
    const int end = pos + axis_.Size(i) + lineWidth_;
    if (end > limit) {
      cutOff = true;
      break;
    }
    lastFullVisible_ = i;
    pos = end;
  }
  fullVisibleBoundary_ = pos;
  gridBoundary_ = cutOff ? clientExtent_ : pos;
  lastShown_ = cutOff && pos < clientExtent_ ? i : lastFullVisible_;
}

int TGridAxisLayout::PageSize() const { return std::max(1, lastFullVisible_ - first_); }

bool TGridAxisLayout::Shown(int index) const {
  return (index >= 0 && index <= lastShownFixed_) || (index >= first_ && index <= lastShown_);
}

int TGridAxisLayout::Start(int index) const {
  if (index < fixedCount_) {
    int pos = 0;
    for (int i = 0; i < index; ++i) pos += axis_.Size(i) + lineWidth_;
    return pos;
  }
  int pos = fixedBoundary_;
  for (int i = first_; i < index; ++i) pos += axis_.Size(i) + lineWidth_;
  return pos;
}

int TGridAxisLayout::CellAt(int pos) const {
  if (pos < 0 || pos >= clientExtent_) return -1;
  int start = 0;
  for (int i = 0; i <= lastShownFixed_; ++i) {
    start += axis_.Size(i) + lineWidth_;
    if (pos < start) return i;
  }
  start = fixedBoundary_;
  for (int i = first_; i <= lastShown_; ++i) {
    start += axis_.Size(i) + lineWidth_;
    if (pos < start) return i;
  }
  return -1;
}

TGridSpan TGridAxisLayout::Span(int lo, int hi) const {
  lo = std::max(lo, 0);
  hi = std::min(hi, Count() - 1);
  if (lo > hi) return {};
  // The first shown cell at or after lo, the last shown one at or before hi.
  int a = -1;
  if (lo <= lastShownFixed_) {
    a = lo;
  } else if (std::max(lo, first_) <= lastShown_) {
    a = std::max(lo, first_);
  }
  int b = -1;
  if (hi >= first_ && lastShown_ >= first_) {
    b = std::min(hi, lastShown_);
  } else {
    b = std::min(hi, lastShownFixed_);
  }
  if (a < 0 || b < 0 || a > b) return {};
  const int end = Start(b) + axis_.Size(b) + lineWidth_;
  return {Start(a), std::min(end, clientExtent_)};
}

int TGridAxisLayout::FirstShowing(int index) const {
  const int room = clientExtent_ - fixedBoundary_ + lineWidth_;
  int first = index;
  int used = axis_.Size(index) + lineWidth_;
  while (first > fixedCount_) {
    const int more = axis_.Size(first - 1) + lineWidth_;
    if (used + more > room) break;
    used += more;
    --first;
  }
  return first;
}

int TGridAxisLayout::MaxFirst() const {
  if (Count() - 1 < fixedCount_) return fixedCount_;
  return FirstShowing(Count() - 1);
}
