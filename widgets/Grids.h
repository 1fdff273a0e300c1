// The grid controls: a rectangle of cells in columns and rows that paints
// itself cell by cell.
//
// TCustomGrid    layout, painting, the current cell and the selection, mouse,
//                keyboard and scrolling
// TCustomDrawGrid / TDrawGrid
//                the cell-drawing and cell-selection events
// TStringGrid    one text per cell
//
// Layout: the leading FixedCols columns and FixedRows rows are fixed: they
// start at 0 and never scroll; the scrollable cells follow from the top-left
// scrollable cell (LeftCol, TopRow) on. Each cell is followed by a gap of the
// axis's effective line width: GridLineWidth when a vertical (for columns) or
// horizontal (for rows) line option is set, else 0.
// Scaling the grid (ScaleBy, or its form's scaling) scales the default
// sizes and the cells' own sizes with it.
//
// Painting: the fixed cells in FixedColor with the state {gdFixed}, the
// others in Color. For each cell the grid prepares its canvas (a fresh copy of
// Font; the brush in the cell's colour, or clHighlight with the font in
// clHighlightText for a selected cell), fills the cell, lets DrawCell draw
// (a string grid writes its text at +2/+2, then OnDrawCell runs), and then
// draws the raised edges of fixed cells and the focus rectangle over it.
// With CellsDrawnByHandler the fill and the text are left to the handler.
// What lies outside the cells is filled with Color.
//
// The current cell and the anchor span the selection. Every move of either
// is checked against the grid's size ("Gitterindex außerhalb des zulässigen
// Bereichs") and then offered to SelectCell / OnSelectCell,
// which may refuse it; a refused move changes nothing. Setting Selection
// directly does neither and may leave both outside the grid.
//
// Invalidation never erases: every cell repaints its whole rectangle.
//
// Screen readers find a table whose children are its cells, row by row
// (child id row * ColCount + column + 1): column headers in the fixed rows,
// row headers in the fixed columns, cells elsewhere, each with its
// rectangle; a string grid's cell has its text as value. OnDescribeCell
// adds what the grid cannot know (a name with the cell's context, a
// description).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/CustomControl.h"
#include "framework/Form.h"
#include "widgets/GridAxis.h"

// A cell: column X, row Y, from 0.
struct TGridCoord {
  int X = 0;
  int Y = 0;
  friend constexpr bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

// Columns Left to Right and rows Top to Bottom, both ends included.
struct TGridRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  constexpr bool Contains(TGridCoord c) const {
    return c.X >= Left && c.X <= Right && c.Y >= Top && c.Y <= Bottom;
  }
  friend constexpr bool operator==(const TGridRect&, const TGridRect&) = default;
};

enum TGridOption {
  goFixedVertLine,      // vertical lines between fixed cells (and their raised edges)
  goFixedHorzLine,      // horizontal lines between fixed cells (and their raised edges)
  goVertLine,           // vertical lines between scrollable cells
  goHorzLine,           // horizontal lines between scrollable cells
  goRangeSelect,        // dragging or Shift extends the selection beyond one cell
  goDrawFocusSelected,  // the focused cell is drawn highlighted too
  goRowSizing,          // not supported by this grid
  goColSizing,          // not supported by this grid
  goRowMoving,          // not supported by this grid
  goColMoving,          // not supported by this grid
  goEditing,            // characters go to the grid (it has no in-place editor)
  goTabs,               // Tab goes to the grid instead of moving the focus
  goRowSelect,          // the selection always spans whole rows
  goAlwaysShowEditor,   // no focus rectangle for the focused cell with goEditing
  goThumbTracking,      // the grid scrolls while the scroll box is dragged
};
using TGridOptions = TSet<TGridOption>;

enum TGridDrawStateItem { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawStateItem>;

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// The grid's errors (EInvalidGridOperation), code page 1252.
inline constexpr const char kSGridIndexOutOfRange[] =
    "Gitterindex au\xDF" "erhalb des zul\xE4ssigen Bereichs";
inline constexpr const char kSFixedColTooBig[] =
    "Die Anzahl fester Spalten muss kleiner sein als die Spaltenanzahl";
inline constexpr const char kSFixedRowTooBig[] =
    "Die Anzahl fester Zeilen muss kleiner sein als die Zeilenanzahl";

class TCustomGrid : public TCustomControl {
 public:
  explicit TCustomGrid(TComponent* owner);

  // --- Size. Counts below 1 become 1; a count at or below the fixed count
  // first lowers the fixed count to count - 1. ---
  int ColCount() const { return cols_.Count(); }
  void SetColCount(int count);
  int RowCount() const { return rows_.Count(); }
  void SetRowCount(int count);
  // Must lie in 0 to ColCount - 1 (RowCount - 1); a change resets the
  // current cell, the anchor and the top-left cell to (FixedCols, FixedRows).
  int FixedCols() const { return fixedCols_; }
  void SetFixedCols(int count);
  int FixedRows() const { return fixedRows_; }
  void SetFixedRows(int count);

  // --- Cell sizes. Setting a default discards the cells' own sizes. ---
  int DefaultColWidth() const { return cols_.DefaultSize(); }
  void SetDefaultColWidth(int width);
  int DefaultRowHeight() const { return rows_.DefaultSize(); }
  void SetDefaultRowHeight(int height);
  int ColWidths(int col) const { return cols_.Size(col); }
  void SetColWidths(int col, int width);
  int RowHeights(int row) const { return rows_.Size(row); }
  void SetRowHeights(int row, int height);
  int GridLineWidth() const { return gridLineWidth_; }
  void SetGridLineWidth(int width);

  // --- Look ---
  TGridOptions Options() const { return options_; }
  void SetOptions(TGridOptions options);
  TColor FixedColor() const { return fixedColor_; }
  void SetFixedColor(TColor color);
  // The grid fills each cell (and a string grid writes its text) before
  // DrawCell / OnDrawCell, and draws fixed edges and focus afterwards.
  bool DefaultDrawing() const { return defaultDrawing_; }
  void SetDefaultDrawing(bool value);
  // For a DrawCell / OnDrawCell that covers every cell whole: the grid still
  // prepares the canvas and draws edges and focus, but leaves out its own
  // fill and text, so that no cell is drawn twice.
  bool CellsDrawnByHandler() const { return cellsDrawnByHandler_; }
  void SetCellsDrawnByHandler(bool value);
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle style);
  // bsSingle: a sunken client edge (a plain line without Ctl3D); bsNone.
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle style);

  // --- Current cell, selection, scrolling ---
  int Col() const { return current_.X; }
  int Row() const { return current_.Y; }
  // Requests a move of the current cell (the anchor follows).
  void SetCol(int col) { MoveCurrent({col, current_.Y}, true); }
  void SetRow(int row) { MoveCurrent({current_.X, row}, true); }
  int LeftCol() const { return topLeft_.X; }
  int TopRow() const { return topLeft_.Y; }
  // The rectangle spanned by the current cell and the anchor, normalised
  // (whole rows with goRowSelect).
  TGridRect Selection() const;
  // Anchor (Left, Top), current cell (Right, Bottom), as given: no range
  // check, no SelectCell. Repaints only where the old and new areas differ.
  void SetSelection(const TGridRect& selection);
  // Set by F2, toggled by Enter; the grid has no in-place editor, so it
  // changes nothing on screen.
  bool EditorMode() const { return editorMode_; }

  // The cell's rectangle in client coordinates; empty when not shown.
  TRect CellRect(int col, int row) const;
  // The cell at a client point; -1 coordinates outside the cells.
  TGridCoord MouseCoord(int x, int y) const;

 protected:
  // Draws one cell over what the grid prepared (see the top of this file).
  virtual void DrawCell(int col, int row, const TRect& rect, TGridDrawState state);
  // May the cell become current (or the anchor)?
  virtual bool SelectCell(int col, int row);
  // After ColCount or RowCount changed.
  virtual void SizeChanged(int oldColCount, int oldRowCount);
  // What a reader hears of a cell beyond its role and rectangle.
  virtual void DescribeCell(int /*col*/, int /*row*/, TAccessibleInfo& /*info*/) {}

  void DescribeAccessible(TAccessibleInfo& info) override;
  int AccessibleItemCount() override { return ColCount() * RowCount(); }
  void DescribeAccessibleItem(int index, TAccessibleInfo& info) override;

  // Repaints a cell's area (not erased).
  void InvalidateCell(int col, int row);
  // Move requests: the range check, SelectCell, then the move, scrolled
  // into view. MoveCurrent takes the anchor along when asked to, or always
  // without goRangeSelect; MoveAnchor moves only the anchor with
  // goRangeSelect, and is MoveCurrent without it.
  void MoveCurrent(TGridCoord target, bool moveAnchor);
  void MoveAnchor(TGridCoord target);

  void Paint() override;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& msg) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void TimerTick(UINT_PTR id) override;
  void CancelMode() override;
  void WMSetFocus(TMessage& msg) override;
  void WMKillFocus(TMessage& msg) override;
  void Resize() override;
  void ChangeScale(int m, int d, bool moveToo) override;

 private:
  // One axis of one painted area: cells first .. limit - 1, drawn from
  // pixel start on while they start before stop.
  struct TAreaAxis {
    int first;
    int limit;
    int start;
    int stop;
  };
  // What a painting pass reads once, before the first cell.
  struct TPassState {
    TGridRect selection;
    TGridCoord current;
    bool activeGrid;  // the grid is its form's active control
  };

  TGridAxisLayout ColumnLayout() const;
  TGridAxisLayout RowLayout() const;
  // The effective line widths: the gap after each column, after each row.
  int ColLineWidth() const;
  int RowLineWidth() const;
  bool IsActiveControl() const;
  bool InGrid(TGridCoord c) const;
  // The screen area of a grid rectangle (gaps after its cells included).
  TRect BoxRect(const TGridRect& r) const;

  void CheckCell(TGridCoord c) const;
  void ResetCurrent();
  void LayoutChanged();
  void InvalidateFixedCells();
  void InvalidateSelectionChange(const TGridRect& before, const TGridRect& after);
  void MoveTopLeft(TGridCoord topLeft);
  void ScrollIntoView(TGridCoord cell);
  void DragTo(int x, int y);
  void StopSelecting();

  void UpdateScrollBars();
  void UpdateScrollBar(int bar, const TGridAxisLayout& layout);
  void WMScroll(TMessage& msg, bool horizontal);
  void WMMouseWheel(TMessage& msg);
  void WMGetDlgCode(TMessage& msg);

  void PaintArea(const TAreaAxis& x, const TAreaAxis& y, TColor color, TGridDrawState initial,
                 const TPassState& pass);
  void PaintCell(int col, int row, const TRect& rect, TColor color, TGridDrawState state);
  void PaintFixedEdges(const TRect& rect);
  void PaintGaps(const TRect& rect, bool fixed, TColor color);
  void PaintOutside(const TGridAxisLayout& cols, const TGridAxisLayout& rows);

  TGridAxis cols_;
  TGridAxis rows_;
  int fixedCols_ = 1;
  int fixedRows_ = 1;
  int gridLineWidth_ = 1;
  TGridOptions options_{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
  TColor fixedColor_ = clBtnFace;
  bool defaultDrawing_ = true;
  bool cellsDrawnByHandler_ = false;
  TScrollStyle scrollBars_ = ssBoth;
  TBorderStyle borderStyle_ = bsSingle;

  TGridCoord current_{1, 1};
  TGridCoord anchor_{1, 1};   // the other corner of the selection; what a drag moves
  TGridCoord topLeft_{1, 1};  // the first scrollable column and row shown
  bool selecting_ = false;    // a left press on a scrollable cell is held (the drag timer runs)
  bool editorMode_ = false;
  bool updatingScrollBars_ = false;
};

// Event types of the draw grids.
using TDrawCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, const TRect& Rect,
                                          TGridDrawState State)>;
// CanSelect is true on entry; leaving it false refuses the move.
using TSelectCellEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;
// Info holds what the grid says of the cell (role, rectangle, value); the
// handler adds to it.
using TDescribeCellEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, TAccessibleInfo& Info)>;

class TCustomDrawGrid : public TCustomGrid {
 public:
  using TCustomGrid::TCustomGrid;

  // Called for every painted cell with the canvas prepared for it.
  TDrawCellEvent OnDrawCell;
  // Asked before the current cell or the anchor moves.
  TSelectCellEvent OnSelectCell;
  // Asked whenever a reader asks for a cell.
  TDescribeCellEvent OnDescribeCell;

 protected:
  void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;
  bool SelectCell(int col, int row) override;
  void DescribeCell(int col, int row, TAccessibleInfo& info) override;
};

class TDrawGrid : public TCustomDrawGrid {
 public:
  using TCustomDrawGrid::TCustomDrawGrid;
};

class TStringGrid : public TDrawGrid {
 public:
  explicit TStringGrid(TComponent* owner);

  // The cell's text; empty for a cell never written or outside the grid.
  const std::string& Cells(int col, int row) const;
  // Stores the text and repaints the cell, whether or not the text changed.
  void SetCells(int col, int row, const std::string& text);
  // All texts as a spreadsheet takes them: the cells of a row separated by
  // tabs, the rows by CR LF, row 0 first.
  std::string TabSeparatedText() const;

 protected:
  void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;
  void DescribeCell(int col, int row, TAccessibleInfo& info) override;
  void SizeChanged(int oldColCount, int oldRowCount) override;

 private:
  std::vector<std::vector<std::string>> cells_;  // [column][row], ColCount x RowCount
};
