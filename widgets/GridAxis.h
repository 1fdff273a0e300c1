// The geometry of one axis of a grid: the columns, or the rows.
//
// TGridAxis holds the cells' sizes: a default size, and a per-cell list that
// exists only once a cell got a size of its own. TGridAxisLayout places the
// cells of an axis in the client area for one first scrollable cell and one
// client extent: the fixed cells from 0, then the scrollable cells from the
// fixed boundary, each cell followed by a gap of the effective line width.
#pragma once

#include <vector>

class TGridAxis {
 public:
  TGridAxis(int count, int defaultSize) : count_(count), defaultSize_(defaultSize) {}

  int Count() const { return count_; }
  // Keeps the per-cell list as long as the axis; new cells get the default.
  void SetCount(int count);

  int DefaultSize() const { return defaultSize_; }
  // Discards the per-cell sizes. False when the default already was `size`.
  bool SetDefaultSize(int size);

  // The cell's own size, or the default.
  int Size(int index) const;
  // `index` must lie in 0 to Count() - 1. False when the cell already had
  // `size` (the per-cell list is then left as it was).
  bool SetSize(int index, int size);
  // Multiplies the default and the cells' own sizes by m / d.
  void Scale(int m, int d);

 private:
  int count_;
  int defaultSize_;
  std::vector<int> sizes_;  // empty until a cell gets its own size, else Count() entries
};

// A pixel span [Start, End) along the axis; empty when End <= Start.
struct TGridSpan {
  int Start = 0;
  int End = 0;
  bool IsEmpty() const { return End <= Start; }
};

class TGridAxisLayout {
 public:
  // `first` is the first scrollable cell shown (at least `fixedCount`).
  TGridAxisLayout(const TGridAxis& axis, int fixedCount, int first, int lineWidth,
                  int clientExtent);

  int Count() const { return axis_.Count(); }
  int FixedCount() const { return fixedCount_; }
  int First() const { return first_; }
  int LineWidth() const { return lineWidth_; }
  int ClientExtent() const { return clientExtent_; }
  int Size(int index) const { return axis_.Size(index); }

  // The end of the fixed cells, their gaps included: where `First()` starts.
  int FixedBoundary() const { return fixedBoundary_; }
  // The last scrollable cell whose end, gap included, does not pass the
  // client extent plus one line width; First() - 1 when there is none.
  int LastFullVisible() const { return lastFullVisible_; }
  // The end of that cell, gap included (FixedBoundary() when there is none).
  int FullVisibleBoundary() const { return fullVisibleBoundary_; }
  // Where painted cells end: FullVisibleBoundary(), or the client extent
  // when the next cell is cut off by it.
  int GridBoundary() const { return gridBoundary_; }
  // The keyboard's page: LastFullVisible() - First(), at least 1.
  int PageSize() const;

  // Whether the cell is in the client area at all (fixed, or scrollable
  // from First() on, starting before the client extent).
  bool Shown(int index) const;
  // The start of a shown cell.
  int Start(int index) const;
  // The cell whose area (gap included) holds `pos`; -1 for none.
  int CellAt(int pos) const;
  // The area of the shown cells among `lo` to `hi`: from the start of the
  // first to the end of the last plus one line width, within the client
  // extent. Indexes outside the axis contribute nothing.
  TGridSpan Span(int lo, int hi) const;

  // The smallest first cell that still shows `index` fully (`index` itself
  // when even alone it does not fit).
  int FirstShowing(int index) const;
  // The largest useful first cell: the one that shows the last cell fully.
  int MaxFirst() const;

 private:
  const TGridAxis& axis_;
  int fixedCount_;
  int first_;
  int lineWidth_;
  int clientExtent_;
  int fixedBoundary_ = 0;
  int lastShownFixed_ = -1;  // last fixed cell starting inside the client extent
  int lastShown_ = 0;        // last scrollable cell starting inside it (>= first_ - 1)
  int lastFullVisible_ = 0;
  int fullVisibleBoundary_ = 0;
  int gridBoundary_ = 0;
};
