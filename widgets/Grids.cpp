#include "widgets/Grids.h"

#include <oleacc.h>
#include <windowsx.h>

#include <algorithm>

#include "calc/Exceptions.h"
#include "framework/Accessible.h"

namespace {

constexpr int kDefaultColCount = 5;
constexpr int kDefaultRowCount = 5;
constexpr int kDefaultColWidth = 64;
constexpr int kDefaultRowHeight = 24;

// While a left press on a cell is held, this timer steps the selection
// toward a pointer that has left the cells.
constexpr UINT_PTR kDragTimerId = 1;
constexpr UINT kDragTimerMs = 60;

// Where a string grid writes a cell's text, from the cell's top-left corner.
constexpr int kTextIndent = 2;

// The colour of the lines between cells (GridLineWidth above 0).
constexpr TColor kLineColor = clSilver;

// The edges of fixed cells: a one-pixel raised line.
constexpr UINT kFixedEdge = BDR_RAISEDINNER;

}  // namespace

// --- TCustomGrid: construction and layout ---

TCustomGrid::TCustomGrid(TComponent* owner)
    : TCustomControl(owner),
      cols_(kDefaultColCount, kDefaultColWidth),
      rows_(kDefaultRowCount, kDefaultRowHeight) {
  // Every pixel of the client area is painted by Paint(), so nothing is
  // erased under it; the click event comes from the grid's own drag and
  // key handling, not from every press and release.
  TControlStyle style = ControlStyle();
  style.Include(csOpaque);
  style.Exclude(csClickEvents);
  SetControlStyle(style);
  SetParentColor(false);
  SetColor(clWindow);
  SetTabStop(true);
}

TGridAxisLayout TCustomGrid::ColumnLayout() const {
  return TGridAxisLayout(cols_, fixedCols_, topLeft_.X, ColLineWidth(), ClientWidth());
}

TGridAxisLayout TCustomGrid::RowLayout() const {
  return TGridAxisLayout(rows_, fixedRows_, topLeft_.Y, RowLineWidth(), ClientHeight());
}

int TCustomGrid::ColLineWidth() const {
  const bool lines = options_.Contains(goFixedVertLine) || options_.Contains(goVertLine);
  return lines ? gridLineWidth_ : 0;
}

int TCustomGrid::RowLineWidth() const {
  const bool lines = options_.Contains(goFixedHorzLine) || options_.Contains(goHorzLine);
  return lines ? gridLineWidth_ : 0;
}

bool TCustomGrid::IsActiveControl() const {
  const TCustomForm* form = GetParentForm(this);
  return form && form->ActiveControl() == this;
}

bool TCustomGrid::InGrid(TGridCoord c) const {
  return c.X >= 0 && c.X < ColCount() && c.Y >= 0 && c.Y < RowCount();
}

TRect TCustomGrid::BoxRect(const TGridRect& r) const {
  if (r.Left > r.Right || r.Top > r.Bottom) return {};
  const TGridSpan x = ColumnLayout().Span(r.Left, r.Right);
  const TGridSpan y = RowLayout().Span(r.Top, r.Bottom);
  if (x.IsEmpty() || y.IsEmpty()) return {};
  return {x.Start, y.Start, x.End, y.End};
}

TRect TCustomGrid::CellRect(int col, int row) const {
  const TGridAxisLayout cols = ColumnLayout();
  const TGridAxisLayout rows = RowLayout();
  if (!cols.Shown(col) || !rows.Shown(row)) return {};
  const int x = cols.Start(col);
  const int y = rows.Start(row);
  return {x, y, x + cols.Size(col), y + rows.Size(row)};
}

TGridCoord TCustomGrid::MouseCoord(int x, int y) const {
  return {ColumnLayout().CellAt(x), RowLayout().CellAt(y)};
}

// --- Properties ---

void TCustomGrid::SetColCount(int count) {
  count = std::max(count, 1);
  if (count == ColCount()) return;
  if (count <= fixedCols_) SetFixedCols(count - 1);
  const int oldCount = ColCount();
  cols_.SetCount(count);
  topLeft_.X = std::min(topLeft_.X, count - 1);
  SizeChanged(oldCount, RowCount());
  LayoutChanged();
}

void TCustomGrid::SetRowCount(int count) {
  count = std::max(count, 1);
  if (count == RowCount()) return;
  if (count <= fixedRows_) SetFixedRows(count - 1);
  const int oldCount = RowCount();
  rows_.SetCount(count);
  topLeft_.Y = std::min(topLeft_.Y, count - 1);
  SizeChanged(ColCount(), oldCount);
  LayoutChanged();
}

void TCustomGrid::SetFixedCols(int count) {
  if (count < 0) throw EInvalidGridOperation(kSGridIndexOutOfRange);
  if (count >= ColCount()) throw EInvalidGridOperation(kSFixedColTooBig);
  if (count == fixedCols_) return;
  fixedCols_ = count;
  ResetCurrent();
  LayoutChanged();
}

void TCustomGrid::SetFixedRows(int count) {
  if (count < 0) throw EInvalidGridOperation(kSGridIndexOutOfRange);
  if (count >= RowCount()) throw EInvalidGridOperation(kSFixedRowTooBig);
  if (count == fixedRows_) return;
  fixedRows_ = count;
  ResetCurrent();
  LayoutChanged();
}

void TCustomGrid::ResetCurrent() {
  current_ = {fixedCols_, fixedRows_};
  anchor_ = current_;
  topLeft_ = current_;
}

void TCustomGrid::SetDefaultColWidth(int width) {
  if (cols_.SetDefaultSize(width)) LayoutChanged();
}

void TCustomGrid::SetDefaultRowHeight(int height) {
  if (rows_.SetDefaultSize(height)) LayoutChanged();
}

void TCustomGrid::SetColWidths(int col, int width) {
  if (col < 0 || col >= ColCount()) throw EInvalidGridOperation(kSGridIndexOutOfRange);
  if (cols_.SetSize(col, width)) LayoutChanged();
}

void TCustomGrid::SetRowHeights(int row, int height) {
  if (row < 0 || row >= RowCount()) throw EInvalidGridOperation(kSGridIndexOutOfRange);
  if (rows_.SetSize(row, height)) LayoutChanged();
}

void TCustomGrid::ChangeScale(int m, int d, bool moveToo) {
  if (m == d) return;
  cols_.Scale(m, d);
  rows_.Scale(m, d);
  TCustomControl::ChangeScale(m, d, moveToo);
  LayoutChanged();
}

void TCustomGrid::SetGridLineWidth(int width) {
  if (width == gridLineWidth_) return;
  gridLineWidth_ = width;
  LayoutChanged();
}

void TCustomGrid::SetOptions(TGridOptions options) {
  if (options == options_) return;
  options_ = options;
  // The line options decide the gaps, and so the whole layout.
  LayoutChanged();
}

void TCustomGrid::SetFixedColor(TColor color) {
  if (color == fixedColor_) return;
  fixedColor_ = color;
  InvalidateFixedCells();
}

void TCustomGrid::SetDefaultDrawing(bool value) {
  if (value == defaultDrawing_) return;
  defaultDrawing_ = value;
  Invalidate();
}

void TCustomGrid::SetCellsDrawnByHandler(bool value) {
  if (value == cellsDrawnByHandler_) return;
  cellsDrawnByHandler_ = value;
  Invalidate();
}

void TCustomGrid::SetScrollBars(TScrollStyle style) {
  if (style == scrollBars_) return;
  scrollBars_ = style;
  RecreateWnd();
}

void TCustomGrid::SetBorderStyle(TBorderStyle style) {
  if (style == borderStyle_) return;
  borderStyle_ = style;
  RecreateWnd();
}

void TCustomGrid::LayoutChanged() {
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::InvalidateFixedCells() {
  const TRect client = ClientRect();
  const int fixedBottom = RowLayout().FixedBoundary();
  const int fixedRight = ColumnLayout().FixedBoundary();
  if (fixedBottom > 0) InvalidateRect({0, 0, client.Right, fixedBottom}, false);
  if (fixedRight > 0) InvalidateRect({0, 0, fixedRight, client.Bottom}, false);
}

void TCustomGrid::InvalidateCell(int col, int row) {
  const TRect box = BoxRect({col, row, col, row});
  if (!box.IsEmpty()) InvalidateRect(box, false);
}

// --- Selection and the current cell ---

TGridRect TCustomGrid::Selection() const {
  TGridRect r{std::min(anchor_.X, current_.X), std::min(anchor_.Y, current_.Y),
              std::max(anchor_.X, current_.X), std::max(anchor_.Y, current_.Y)};
  if (options_.Contains(goRowSelect)) {
    r.Left = fixedCols_;
    r.Right = ColCount() - 1;
  }
  return r;
}

void TCustomGrid::SetSelection(const TGridRect& selection) {
  const TGridRect before = Selection();
  anchor_ = {selection.Left, selection.Top};
  current_ = {selection.Right, selection.Bottom};
  InvalidateSelectionChange(before, Selection());
}

void TCustomGrid::InvalidateSelectionChange(const TGridRect& before, const TGridRect& after) {
  if (!HandleAllocated()) return;
  const TRect a = BoxRect(before);
  const TRect b = BoxRect(after);
  if (a == b) return;
  const TRect overlap = a.Intersect(b);
  if (overlap.IsEmpty()) {
    if (!a.IsEmpty()) InvalidateRect(a, false);
    if (!b.IsEmpty()) InvalidateRect(b, false);
    return;
  }
  // What lies outside the overlap: above, below, left and right of it. Only
  // one of the two areas can reach past the overlap on each side, so this is
  // at most four rectangles.
  for (const TRect& r : {a, b}) {
    if (r.Top < overlap.Top) InvalidateRect({r.Left, r.Top, r.Right, overlap.Top}, false);
    if (r.Bottom > overlap.Bottom)
      InvalidateRect({r.Left, overlap.Bottom, r.Right, r.Bottom}, false);
    if (r.Left < overlap.Left)
      InvalidateRect({r.Left, overlap.Top, overlap.Left, overlap.Bottom}, false);
    if (r.Right > overlap.Right)
      InvalidateRect({overlap.Right, overlap.Top, r.Right, overlap.Bottom}, false);
  }
}

void TCustomGrid::CheckCell(TGridCoord c) const {
  if (!InGrid(c)) throw EInvalidGridOperation(kSGridIndexOutOfRange);
}

void TCustomGrid::MoveCurrent(TGridCoord target, bool moveAnchor) {
  CheckCell(target);
  if (!SelectCell(target.X, target.Y)) return;
  const TGridRect before = Selection();
  const TGridCoord oldCurrent = current_;
  current_ = target;
  if (moveAnchor || !options_.Contains(goRangeSelect)) anchor_ = target;
  ScrollIntoView(target);
  InvalidateSelectionChange(before, Selection());
  InvalidateCell(oldCurrent.X, oldCurrent.Y);
  InvalidateCell(target.X, target.Y);
}

void TCustomGrid::MoveAnchor(TGridCoord target) {
  if (!options_.Contains(goRangeSelect)) {
    MoveCurrent(target, true);
    return;
  }
  CheckCell(target);
  if (!SelectCell(target.X, target.Y)) return;
  const TGridRect before = Selection();
  anchor_ = target;
  ScrollIntoView(target);
  InvalidateSelectionChange(before, Selection());
}

void TCustomGrid::ScrollIntoView(TGridCoord cell) {
  const TGridAxisLayout cols = ColumnLayout();
  const TGridAxisLayout rows = RowLayout();
  TGridCoord topLeft = topLeft_;
  if (cell.X >= fixedCols_) {
    if (cell.X < topLeft.X) {
      topLeft.X = cell.X;
    } else if (cell.X > cols.LastFullVisible()) {
      topLeft.X = cols.FirstShowing(cell.X);
    }
  }
  if (cell.Y >= fixedRows_) {
    if (cell.Y < topLeft.Y) {
      topLeft.Y = cell.Y;
    } else if (cell.Y > rows.LastFullVisible()) {
      topLeft.Y = rows.FirstShowing(cell.Y);
    }
  }
  if (topLeft != topLeft_) MoveTopLeft(topLeft);
}

void TCustomGrid::MoveTopLeft(TGridCoord topLeft) {
  topLeft_ = topLeft;
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::DrawCell(int, int, const TRect&, TGridDrawState) {}

bool TCustomGrid::SelectCell(int, int) { return true; }

void TCustomGrid::SizeChanged(int, int) {}

// --- Mouse ---

void TCustomGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (CanFocus()) SetFocus();
  if (!IsActiveControl()) {
    // The focus did not stay with the grid, so the press is not the grid's.
    SetMouseCapture(false);
    return;
  }
  if (button == mbLeft && !shift.Contains(ssDouble)) {
    const TGridCoord cell = MouseCoord(x, y);
    if (cell.X >= fixedCols_ && cell.Y >= fixedRows_) {
      selecting_ = true;
      StartTimer(kDragTimerId, kDragTimerMs);
      if (shift.Contains(ssShift)) {
        MoveAnchor(cell);
      } else {
        MoveCurrent(cell, true);
      }
    }
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomGrid::MouseMove(TShiftState shift, int x, int y) {
  if (selecting_) DragTo(x, y);
  TCustomControl::MouseMove(shift, x, y);
}

void TCustomGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (selecting_ && button == mbLeft) {
    // Leave the mode first, so that a refused last move cannot leave the
    // timer running.
    StopSelecting();
    DragTo(x, y);
    Click();
  }
  TCustomControl::MouseUp(button, shift, x, y);
}

void TCustomGrid::DragTo(int x, int y) {
  // MouseCoord knows only the cells shown, which end at most one cell past
  // the last fully visible one.
  const TGridCoord cell = MouseCoord(x, y);
  if (cell.X >= fixedCols_ && cell.Y >= fixedRows_ && cell != anchor_) MoveAnchor(cell);
}

void TCustomGrid::TimerTick(UINT_PTR id) {
  if (id != kDragTimerId || !selecting_) return;
  // Steps go from the anchor to a neighbour. An anchor outside the grid
  // (a program may set the selection so) has no neighbour in it, and a step
  // from there would end in an index error on every tick of the drag.
  if (!InGrid(anchor_)) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  const TPoint p = ScreenToClient(cursor);
  const TGridAxisLayout cols = ColumnLayout();
  const TGridAxisLayout rows = RowLayout();
  TGridCoord step = anchor_;
  if (p.X < cols.FixedBoundary()) {
    if (step.X > fixedCols_) --step.X;
  } else if (p.X >= cols.FullVisibleBoundary()) {
    if (step.X < ColCount() - 1) ++step.X;
  }
  if (p.Y < rows.FixedBoundary()) {
    if (step.Y > fixedRows_) --step.Y;
  } else if (p.Y >= rows.FullVisibleBoundary()) {
    if (step.Y < RowCount() - 1) ++step.Y;
  }
  if (step != anchor_) MoveAnchor(step);
}

void TCustomGrid::StopSelecting() {
  if (!selecting_) return;
  selecting_ = false;
  StopTimer(kDragTimerId);
}

void TCustomGrid::CancelMode() {
  StopSelecting();
  TCustomControl::CancelMode();
}

void TCustomGrid::WMMouseWheel(TMessage& msg) {
  const int delta = GET_WHEEL_DELTA_WPARAM(msg.WParam);
  if (delta < 0 && current_.Y < RowCount() - 1) {
    MoveCurrent({current_.X, current_.Y + 1}, true);
  } else if (delta > 0 && current_.Y > fixedRows_) {
    MoveCurrent({current_.X, current_.Y - 1}, true);
  }
  msg.Result = 0;
}

// --- Keyboard and focus ---

void TCustomGrid::WMGetDlgCode(TMessage& msg) {
  msg.Result = DLGC_WANTARROWS;
  if (options_.Contains(goTabs)) msg.Result |= DLGC_WANTTAB;
  if (options_.Contains(goEditing)) msg.Result |= DLGC_WANTCHARS;
}

void TCustomGrid::KeyDown(WORD& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  if (!key) return;
  const bool ctrl = shift.Contains(ssCtrl);
  const TGridAxisLayout cols = ColumnLayout();
  const TGridAxisLayout rows = RowLayout();
  const int pageWidth = cols.PageSize();
  const int pageHeight = rows.PageSize();
  TGridCoord target = current_;
  TGridCoord topLeft = topLeft_;
  switch (key) {
    case VK_UP: --(ctrl ? topLeft.Y : target.Y); break;
    case VK_DOWN: ++(ctrl ? topLeft.Y : target.Y); break;
    case VK_LEFT:
      if (ctrl) {
        target.X -= pageWidth;
        topLeft.X -= pageWidth;
      } else {
        --target.X;
      }
      break;
    case VK_RIGHT:
      if (ctrl) {
        target.X += pageWidth;
        topLeft.X += pageWidth;
      } else {
        ++target.X;
      }
      break;
    case VK_PRIOR:
      if (ctrl) {
        target.Y = topLeft.Y;
      } else {
        target.Y -= pageHeight;
        topLeft.Y -= pageHeight;
      }
      break;
    case VK_NEXT:
      if (ctrl) {
        target.Y = rows.LastFullVisible();
      } else {
        target.Y += pageHeight;
        topLeft.Y += pageHeight;
      }
      break;
    case VK_HOME:
      if (ctrl) {
        target = {fixedCols_, fixedRows_};
      } else {
        target.X = fixedCols_;
      }
      break;
    case VK_END:
      if (ctrl) {
        target = {ColCount() - 1, RowCount() - 1};
      } else {
        target.X = ColCount() - 1;
      }
      break;
    case VK_F2: editorMode_ = true; break;
    case VK_RETURN:
      editorMode_ = !editorMode_;
      key = 0;
      break;
    default: break;
  }
  // Every key ends here: the targets are brought into the grid, so a
  // current cell that lies outside it is asked to move back in.
  topLeft.X = std::clamp(topLeft.X, fixedCols_, cols.MaxFirst());
  topLeft.Y = std::clamp(topLeft.Y, fixedRows_, rows.MaxFirst());
  if (topLeft != topLeft_) MoveTopLeft(topLeft);
  target.X = std::clamp(target.X, fixedCols_, ColCount() - 1);
  target.Y = std::clamp(target.Y, fixedRows_, RowCount() - 1);
  if (target != current_) {
    MoveCurrent(target, !shift.Contains(ssShift));
    Click();
  }
}

void TCustomGrid::WMSetFocus(TMessage& msg) {
  TCustomControl::WMSetFocus(msg);
  const TRect box = BoxRect(Selection());
  if (!box.IsEmpty()) InvalidateRect(box, false);
}

void TCustomGrid::WMKillFocus(TMessage& msg) {
  TCustomControl::WMKillFocus(msg);
  const TRect box = BoxRect(Selection());
  if (!box.IsEmpty()) InvalidateRect(box, false);
}

// --- Window ---

void TCustomGrid::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  // The window always carries the tab-stop bit; whether Tab brings the focus
  // here is decided by TabStop.
  params.Style |= WS_TABSTOP;
  if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) params.Style |= WS_VSCROLL;
  if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) params.Style |= WS_HSCROLL;
  if (borderStyle_ == bsSingle) {
    if (Ctl3D()) {
      params.ExStyle |= WS_EX_CLIENTEDGE;
    } else {
      params.Style |= WS_BORDER;
    }
  }
}

void TCustomGrid::CreateWnd() {
  TCustomControl::CreateWnd();
  UpdateScrollBars();
}

void TCustomGrid::Resize() {
  TCustomControl::Resize();
  UpdateScrollBars();
}

void TCustomGrid::WndProc(TMessage& msg) {
  switch (msg.Msg) {
    case WM_GETDLGCODE: WMGetDlgCode(msg); break;
    case WM_MOUSEWHEEL: WMMouseWheel(msg); break;
    case WM_HSCROLL: WMScroll(msg, true); break;
    case WM_VSCROLL: WMScroll(msg, false); break;
    default: TCustomControl::WndProc(msg); break;
  }
}

// --- Scroll bars ---

void TCustomGrid::UpdateScrollBars() {
  if (!HandleAllocated() || scrollBars_ == ssNone || updatingScrollBars_) return;
  updatingScrollBars_ = true;
  // A bar that appears or disappears narrows or widens the other axis, so
  // the first round may change what the second one computes.
  for (int round = 0; round < 2; ++round) {
    if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth)
      UpdateScrollBar(SB_HORZ, ColumnLayout());
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) UpdateScrollBar(SB_VERT, RowLayout());
  }
  updatingScrollBars_ = false;
}

void TCustomGrid::UpdateScrollBar(int bar, const TGridAxisLayout& layout) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_POS;
  // An empty range hides the bar: everything fits.
  if (layout.MaxFirst() > layout.FixedCount()) {
    info.nMin = layout.FixedCount();
    info.nMax = layout.MaxFirst();
    info.nPos = layout.First();
  }
  SetScrollInfo(Handle(), bar, &info, TRUE);
}

void TCustomGrid::WMScroll(TMessage& msg, bool horizontal) {
  msg.Result = 0;
  const TGridAxisLayout layout = horizontal ? ColumnLayout() : RowLayout();
  int first = layout.First();
  switch (LOWORD(msg.WParam)) {
    case SB_LINEUP: --first; break;
    case SB_LINEDOWN: ++first; break;
    case SB_PAGEUP: first -= layout.PageSize(); break;
    case SB_PAGEDOWN: first += layout.PageSize(); break;
    case SB_TOP: first = layout.FixedCount(); break;
    case SB_BOTTOM: first = layout.MaxFirst(); break;
    case SB_THUMBTRACK:
      if (!options_.Contains(goThumbTracking)) return;
      [[fallthrough]];
    case SB_THUMBPOSITION: {
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      GetScrollInfo(Handle(), horizontal ? SB_HORZ : SB_VERT, &info);
      first = info.nTrackPos;
      break;
    }
    default: return;
  }
  first = std::clamp(first, layout.FixedCount(), layout.MaxFirst());
  TGridCoord topLeft = topLeft_;
  (horizontal ? topLeft.X : topLeft.Y) = first;
  if (topLeft != topLeft_) MoveTopLeft(topLeft);
}

// --- Painting ---

void TCustomGrid::Paint() {
  const TGridAxisLayout cols = ColumnLayout();
  const TGridAxisLayout rows = RowLayout();
  // Read once: what a drawing handler changes shows from the next pass on.
  const TPassState pass{Selection(), current_, IsActiveControl()};
  const TAreaAxis fixedX{0, fixedCols_, 0, cols.FixedBoundary()};
  const TAreaAxis fixedY{0, fixedRows_, 0, rows.FixedBoundary()};
  const TAreaAxis scrollX{cols.First(), ColCount(), cols.FixedBoundary(), cols.GridBoundary()};
  const TAreaAxis scrollY{rows.First(), RowCount(), rows.FixedBoundary(), rows.GridBoundary()};
  const TGridDrawState fixed{gdFixed};
  const TColor fixedColor = HighContrast() ? ContrastBackground(cpFace) : fixedColor_;
  PaintArea(fixedX, fixedY, fixedColor, fixed, pass);
  PaintArea(scrollX, fixedY, fixedColor, fixed, pass);
  PaintArea(fixedX, scrollY, fixedColor, fixed, pass);
  PaintArea(scrollX, scrollY, DrawColor(), {}, pass);
  if (options_.Contains(goRowSelect) && defaultDrawing_ && Focused()) {
    const TRect box = BoxRect(pass.selection);
    if (!box.IsEmpty()) Canvas().DrawFocusRect(box);
  }
  PaintOutside(cols, rows);
}

void TCustomGrid::PaintArea(const TAreaAxis& x, const TAreaAxis& y, TColor color,
                            TGridDrawState initial, const TPassState& pass) {
  const int colGap = ColLineWidth();
  const int rowGap = RowLineWidth();
  const bool gaps = colGap > 0 || rowGap > 0;
  int top = y.start;
  for (int row = y.first; row < y.limit && top < y.stop; ++row) {
    const int height = rows_.Size(row);
    int left = x.start;
    for (int col = x.first; col < x.limit && left < x.stop; ++col) {
      const TRect rect{left, top, left + cols_.Size(col), top + height};
      if (rect.Right > rect.Left && Canvas().RectVisible(rect)) {
        const TGridCoord cell{col, row};
        TGridDrawState state = initial;
        if (pass.activeGrid && cell == pass.current) state.Include(gdFocused);
        if (pass.selection.Contains(cell)) state.Include(gdSelected);
        PaintCell(col, row, rect, color, state);
      }
      if (gaps) PaintGaps(rect, initial.Contains(gdFixed), color);
      left = rect.Right + colGap;
    }
    top += height + rowGap;
  }
}

void TCustomGrid::PaintCell(int col, int row, const TRect& rect, TColor color,
                            TGridDrawState state) {
  TCanvas& canvas = Canvas();
  if (defaultDrawing_) {
    // A fresh copy of the font for every cell: what a handler did to the
    // canvas font stays in its own cell.
    canvas.SetFont(Font());
    // In high contrast the fixed cells are drawn as buttons are.
    if (HighContrast())
      canvas.Font().SetColor(ContrastText(state.Contains(gdFixed) ? cpFace : ContrastPair()));
    const bool highlighted =
        state.Contains(gdSelected) &&
        (!state.Contains(gdFocused) || options_.Contains(goDrawFocusSelected) ||
         options_.Contains(goRowSelect));
    if (highlighted) {
      canvas.Brush().SetColor(clHighlight);
      canvas.Font().SetColor(clHighlightText);
    } else {
      canvas.Brush().SetColor(color);
    }
    if (!cellsDrawnByHandler_) canvas.FillRect(rect);
  }
  DrawCell(col, row, rect, state);
  if (!defaultDrawing_) return;
  const bool fixedLines =
      options_.Contains(goFixedVertLine) || options_.Contains(goFixedHorzLine);
  if (state.Contains(gdFixed) && Ctl3D() && fixedLines) PaintFixedEdges(rect);
  const bool editorShown = options_.Contains(goEditing) && options_.Contains(goAlwaysShowEditor);
  if (state.Contains(gdFocused) && !editorShown && !options_.Contains(goRowSelect))
    canvas.DrawFocusRect(rect);
}

void TCustomGrid::PaintFixedEdges(const TRect& rect) {
  // The first set holds the shadowed sides, the second the lit ones.
  UINT shadowed = 0;
  UINT lit = 0;
  if (options_.Contains(goFixedVertLine)) {
    shadowed |= BF_RIGHT;
    lit |= BF_LEFT;
  }
  if (options_.Contains(goFixedHorzLine)) {
    shadowed |= BF_BOTTOM;
    lit |= BF_TOP;
  }
  TRect edges = rect;
  if (!(shadowed & BF_RIGHT)) {
    edges.Right += ColLineWidth();
  } else if (!(shadowed & BF_BOTTOM)) {
    edges.Bottom += RowLineWidth();
  }
  TRect first = edges;
  Canvas().DrawEdge(first, kFixedEdge, shadowed);
  TRect second = edges;
  Canvas().DrawEdge(second, kFixedEdge, lit);
}

void TCustomGrid::PaintGaps(const TRect& rect, bool fixed, TColor color) {
  TCanvas& canvas = Canvas();
  const int colGap = ColLineWidth();
  const int rowGap = RowLineWidth();
  if (colGap > 0) {
    const bool line = options_.Contains(fixed ? goFixedVertLine : goVertLine);
    canvas.Brush().SetColor(line ? kLineColor : color);
    canvas.FillRect({rect.Right, rect.Top, rect.Right + colGap, rect.Bottom + rowGap});
  }
  if (rowGap > 0) {
    const bool line = options_.Contains(fixed ? goFixedHorzLine : goHorzLine);
    canvas.Brush().SetColor(line ? kLineColor : color);
    canvas.FillRect({rect.Left, rect.Bottom, rect.Right, rect.Bottom + rowGap});
  }
}

void TCustomGrid::PaintOutside(const TGridAxisLayout& cols, const TGridAxisLayout& rows) {
  const int width = cols.ClientExtent();
  const int height = rows.ClientExtent();
  TCanvas& canvas = Canvas();
  canvas.Brush().SetColor(DrawColor());
  // Whatever the last cell's handler left in the brush, this area is filled.
  canvas.Brush().SetStyle(bsSolid);
  if (cols.GridBoundary() < width)
    canvas.FillRect({cols.GridBoundary(), 0, width, rows.GridBoundary()});
  if (rows.GridBoundary() < height) canvas.FillRect({0, rows.GridBoundary(), width, height});
}

// --- Screen readers ---

void TCustomGrid::DescribeAccessible(TAccessibleInfo& info) {
  TCustomControl::DescribeAccessible(info);
  info.Role = ROLE_SYSTEM_TABLE;
}

void TCustomGrid::DescribeAccessibleItem(int index, TAccessibleInfo& info) {
  const int col = index % ColCount();
  const int row = index / ColCount();
  info.Role = row < fixedRows_   ? ROLE_SYSTEM_COLUMNHEADER
              : col < fixedCols_ ? ROLE_SYSTEM_ROWHEADER
                                 : ROLE_SYSTEM_CELL;
  info.Bounds = CellRect(col, row);
  if (info.Bounds.IsEmpty()) info.State |= STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN;
  DescribeCell(col, row, info);
}

// --- TCustomDrawGrid ---

void TCustomDrawGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
  if (OnDrawCell) OnDrawCell(this, col, row, rect, state);
}

bool TCustomDrawGrid::SelectCell(int col, int row) {
  bool canSelect = true;
  if (OnSelectCell) OnSelectCell(this, col, row, canSelect);
  return canSelect;
}

void TCustomDrawGrid::DescribeCell(int col, int row, TAccessibleInfo& info) {
  if (OnDescribeCell) OnDescribeCell(this, col, row, info);
}

// --- TStringGrid ---

TStringGrid::TStringGrid(TComponent* owner) : TDrawGrid(owner) {
  cells_.assign(ColCount(), std::vector<std::string>(RowCount()));
}

const std::string& TStringGrid::Cells(int col, int row) const {
  static const std::string kNoText;
  if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount()) return kNoText;
  return cells_[col][row];
}

void TStringGrid::SetCells(int col, int row, const std::string& text) {
  if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount())
    throw EInvalidGridOperation(kSGridIndexOutOfRange);
  cells_[col][row] = text;
  InvalidateCell(col, row);
}

std::string TStringGrid::TabSeparatedText() const {
  std::string text;
  for (int row = 0; row < RowCount(); ++row) {
    if (row > 0) text += "\r\n";
    for (int col = 0; col < ColCount(); ++col) {
      if (col > 0) text += '\t';
      text += cells_[col][row];
    }
  }
  return text;
}

void TStringGrid::DescribeCell(int col, int row, TAccessibleInfo& info) {
  info.Value = Cells(col, row);
  TDrawGrid::DescribeCell(col, row, info);
}

void TStringGrid::SizeChanged(int, int) {
  cells_.resize(ColCount());
  for (auto& column : cells_) column.resize(RowCount());
}

void TStringGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
  if (DefaultDrawing() && !CellsDrawnByHandler())
    Canvas().TextRect(rect, rect.Left + kTextIndent, rect.Top + kTextIndent, Cells(col, row));
  TDrawGrid::DrawCell(col, row, rect, state);
}
