// The grid controls, mostly as the main window configures its result grid:
// layout, painting, invalidation, the selection, mouse, keys, wheel, errors.
#include "widgets/Grids.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>
#include <sstream>
#include <vector>

#include "calc/Exceptions.h"
#include "support/ErrorCapture.h"
#include "support/GdiCounter.h"
#include "support/Render.h"
#include "support/ResultGridLike.h"
#include "support/TestForm.h"

void PrintTo(const TRect& r, std::ostream* os) {
  *os << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}
void PrintTo(const TGridCoord& c, std::ostream* os) { *os << "(" << c.X << ", " << c.Y << ")"; }
void PrintTo(const TGridRect& r, std::ostream* os) {
  *os << "[" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << "]";
}

namespace {

using namespace result_grid;

// Pixels that no paint reached keep this colour.
constexpr TColor kUnpainted = clFuchsia;

// The control's client area as its paint routine draws it over kUnpainted.
TPixels Paint(TWinControl& control) {
  TPixels pixels(control.ClientWidth(), control.ClientHeight());
  TBrushHandle brush(CreateSolidBrush(ColorToRGB(kUnpainted)));
  const RECT all{0, 0, pixels.Width(), pixels.Height()};
  FillRect(pixels.DC(), &all, brush.Get());
  SendMessageA(control.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(pixels.DC()), PRF_CLIENT);
  return pixels;
}

::testing::AssertionResult SamePixels(const TPixels& expected, const TPixels& actual) {
  int differing = 0;
  std::ostringstream first;
  for (int y = 0; y < expected.Height(); ++y)
    for (int x = 0; x < expected.Width(); ++x)
      if (expected.Pixel(x, y) != actual.Pixel(x, y) && differing++ == 0)
        first << "first at (" << x << ", " << y << "): expected " << ColorText(expected.Pixel(x, y))
              << ", got " << ColorText(actual.Pixel(x, y));
  if (differing == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << differing << " pixels differ, " << first.str();
}

std::string RegionText(HRGN region) {
  std::vector<char> buffer(GetRegionData(region, 0, nullptr));
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  if (buffer.empty() || !GetRegionData(region, static_cast<DWORD>(buffer.size()), data))
    return "?";
  std::ostringstream text;
  const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
  for (DWORD i = 0; i < data->rdh.nCount; ++i)
    text << (i ? " " : "") << "(" << rects[i].left << ", " << rects[i].top << ", "
         << rects[i].right << ", " << rects[i].bottom << ")";
  return data->rdh.nCount ? text.str() : "nothing";
}

// Compares the window's update region with the union of `rects`.
::testing::AssertionResult UpdateRegionIs(TWinControl& control, std::vector<TRect> rects) {
  TRegionHandle expected(CreateRectRgn(0, 0, 0, 0));
  for (const TRect& r : rects) {
    TRegionHandle part(CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom));
    CombineRgn(expected.Get(), expected.Get(), part.Get(), RGN_OR);
  }
  TRegionHandle actual(CreateRectRgn(0, 0, 0, 0));
  GetUpdateRgn(control.Handle(), actual.Get(), FALSE);
  if (EqualRgn(expected.Get(), actual.Get())) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "update region: expected " << RegionText(expected.Get())
                                       << ", got " << RegionText(actual.Get());
}

std::string ErrorsText(const TErrorCapture& errors) {
  std::string text;
  for (const TCapturedError& e : errors.Errors()) text += e.className + ": " + e.message + "; ";
  return text;
}

// "class: message" of what `action` throws, or "no error".
std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Exception& e) {
    return std::string(e.ClassName()) + ": " + e.Message();
  }
  return "no error";
}

// Holds a key down in this thread's keyboard state for one scope.
class TKeyHeld {
 public:
  explicit TKeyHeld(BYTE key) : key_(key) { Set(0x80); }
  TKeyHeld(const TKeyHeld&) = delete;
  TKeyHeld& operator=(const TKeyHeld&) = delete;
  ~TKeyHeld() { Set(0); }

 private:
  void Set(BYTE state) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[key_] = state;
    SetKeyboardState(keys);
  }
  BYTE key_;
};

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

// A string grid that counts the erasing its window is asked for.
class TObservedGrid : public TStringGrid {
 public:
  using TStringGrid::TStringGrid;
  int erases = 0;

 protected:
  void WndProc(TMessage& msg) override {
    if (msg.Msg == WM_ERASEBKGND) ++erases;
    TStringGrid::WndProc(msg);
  }
};

// The result grid on a window-sized form, with the window's handlers; the
// selection handler also records what it was asked.
class ResultGrid : public ::testing::Test {
 protected:
  ResultGrid() : grid(*form.Add<TObservedGrid>(8, 104, kWidth, kHeight)) {}

  void SetUp() override {
    Configure(grid);
    BindHandlers(grid);
    grid.OnSelectCell = [this](TObject*, int col, int row, bool& canSelect) {
      queries.push_back({col, row});
      canSelect = false;
    };
    // The handler sets the selection for every cell it draws; that must not
    // make the grid repaint without end.
    for (int pass = 0; pass < 3 && GetUpdateRect(grid.Handle(), nullptr, FALSE); ++pass)
      grid.Update();
    ASSERT_TRUE(UpdateRegionIs(grid, {})) << "the grid does not settle";
  }

  void Validate() { ValidateRect(grid.Handle(), nullptr); }

  // Everything the user could notice: state and pixels.
  void ExpectUnchanged(const TPixels& before) {
    EXPECT_EQ(grid.Selection(), (TGridRect{-1, -1, 0, -1}));
    EXPECT_EQ(grid.LeftCol(), 0);
    EXPECT_EQ(grid.TopRow(), 1);
    EXPECT_TRUE(SamePixels(before, Paint(grid)));
    EXPECT_TRUE(errors.Errors().empty()) << ErrorsText(errors);
  }

  TTestForm form{457, 479};
  TObservedGrid& grid;
  TErrorCapture errors;
  std::vector<TGridCoord> queries;
};

// --- Layout ---

TEST_F(ResultGrid, CellsTouchWithoutGapsAndFillTheClientArea) {
  const TRect client = grid.ClientRect();
  EXPECT_EQ(client, (TRect{0, 0, kWidth, kHeight}));
  const int lefts[] = {0, 144, 214, 284, 354, 424};
  for (int row = 0; row < kRowCount; ++row) {
    const int top = row == 0 ? 0 : 20 + 15 * (row - 1);
    const int bottom = row == 0 ? 20 : top + 15;
    for (int col = 0; col < kColCount; ++col)
      EXPECT_EQ(grid.CellRect(col, row), (TRect{lefts[col], top, lefts[col + 1], bottom}))
          << "cell " << col << ", " << row;
  }
  EXPECT_EQ(grid.MouseCoord(423, 289), (TGridCoord{4, 18}));
  EXPECT_EQ(grid.MouseCoord(143, 19), (TGridCoord{0, 0}));
  EXPECT_EQ(grid.MouseCoord(144, 20), (TGridCoord{1, 1}));
  EXPECT_EQ(grid.MouseCoord(424, 290), (TGridCoord{-1, -1}));
}

TEST(GridAxisLayout, FullyVisibleCellsMayLoseTheirLastGap) {
  TGridAxis axis(3, 10);
  // Ends with gaps: 11, 22, 33; the client ends at 32, one line width less.
  const TGridAxisLayout fits(axis, 0, 0, 1, 32);
  EXPECT_EQ(fits.LastFullVisible(), 2);
  EXPECT_EQ(fits.GridBoundary(), 33);
  const TGridAxisLayout cut(axis, 0, 0, 1, 31);
  EXPECT_EQ(cut.LastFullVisible(), 1);
  EXPECT_EQ(cut.FullVisibleBoundary(), 22);
  EXPECT_EQ(cut.GridBoundary(), 31);
  EXPECT_TRUE(cut.Shown(2));
  EXPECT_EQ(cut.CellAt(30), 2);
  EXPECT_EQ(cut.CellAt(31), -1);
  const TGridSpan span = cut.Span(1, 7);
  EXPECT_EQ(span.Start, 11);
  EXPECT_EQ(span.End, 31);
}

TEST_F(ResultGrid, SizesFollowTheDeclarationOrder) {
  // Setting the default row height after row 0 got its own height discards it.
  grid.SetDefaultRowHeight(16);
  EXPECT_EQ(grid.RowHeights(0), 16);
  EXPECT_EQ(grid.ColWidths(0), 144);
  grid.SetDefaultColWidth(50);
  EXPECT_EQ(grid.ColWidths(0), 50);
}

TEST_F(ResultGrid, ScalingTakesTheCellSizesAlong) {
  grid.ScaleBy(3, 2);
  EXPECT_EQ(grid.ClientRect(), (TRect{0, 0, 638, 438}));
  EXPECT_EQ(grid.RowHeights(0), 30);
  EXPECT_EQ(grid.RowHeights(18), 23) << "the default, 15 * 3 / 2 rounded";
  EXPECT_EQ(grid.ColWidths(0), 216);
  EXPECT_EQ(grid.ColWidths(4), 105);
}

// --- Painting ---

TEST_F(ResultGrid, HeaderCellsHaveRaisedEdgesLeftAndRightOnly) {
  const TPixels pixels = Paint(grid);
  for (int col = 0; col < kColCount; ++col) {
    const TRect cell = grid.CellRect(col, 0);
    for (int y = 0; y < 20; ++y) {
      EXPECT_TRUE(PixelIs(pixels, cell.Left, y, clBtnHighlight));
      EXPECT_TRUE(PixelIs(pixels, cell.Right - 1, y, clBtnShadow));
    }
    EXPECT_TRUE(PixelIs(pixels, cell.Left + 1, 0, kFixedColor)) << "no top edge";
    EXPECT_TRUE(PixelIs(pixels, cell.Left + 1, 19, kFixedColor)) << "no bottom edge";
  }
  for (int row = 1; row < kRowCount; ++row) {
    const TColor background = row % 2 ? kOddRowColor : clWindow;
    const TRect cell = grid.CellRect(0, row);
    EXPECT_TRUE(PixelIs(pixels, cell.Left, cell.Top, background)) << "row " << row;
    EXPECT_TRUE(PixelIs(pixels, cell.Right - 1, cell.Top, background)) << "row " << row;
  }
}

TEST_F(ResultGrid, OutsideTheCellsIsFilledWithTheWindowColour) {
  const TPixels pixels = Paint(grid);
  const TColor window = ColorToRGB(clWindow);
  EXPECT_EQ(pixels.Count({424, 0, 425, 290}, window), 290);
  EXPECT_EQ(pixels.Count({0, 290, 425, 292}, window), 2 * 425);
  EXPECT_EQ(pixels.Count({0, 0, kWidth, kHeight}, kUnpainted), 0);
}

TEST_F(ResultGrid, DrawCellGetsTheCanvasPreparedForItsCell) {
  struct TSeen {
    TGridCoord cell;
    TColor brush;
    TColor fill;
    TFontStyles style;
    TColor fontColor;
    bool gridFont;
  };
  std::vector<TSeen> seen;
  grid.OnDrawCell = [&](TObject*, int col, int row, const TRect& rect, TGridDrawState) {
    TCanvas& canvas = grid.Canvas();
    const TFont& font = canvas.Font();
    const bool gridFont = font.Name() == "MS Reference Sans Serif" && font.Height() == -11 &&
                          font.Charset() == ANSI_CHARSET;
    seen.push_back({{col, row}, canvas.Brush().Color(),
                    GetPixel(canvas.Handle(), rect.Right - 2, rect.Bottom - 1), font.Style(),
                    font.Color(), gridFont});
    // What one cell's handler does to the font must not reach the next cell.
    canvas.Font().SetStyle({fsBold, fsItalic});
    canvas.Font().SetColor(clRed);
  };
  Paint(grid);
  ASSERT_EQ(seen.size(), static_cast<size_t>(kColCount * kRowCount));
  for (const TSeen& s : seen) {
    const TColor background = s.cell.Y == 0 ? kFixedColor : clWindow;
    EXPECT_EQ(s.brush, background) << "cell " << s.cell.X << ", " << s.cell.Y;
    EXPECT_EQ(ColorText(s.fill), ColorText(ColorToRGB(background)))
        << "cell " << s.cell.X << ", " << s.cell.Y << " is not filled yet";
    EXPECT_TRUE(s.style.Empty()) << "cell " << s.cell.X << ", " << s.cell.Y;
    EXPECT_EQ(s.fontColor, clWindowText) << "cell " << s.cell.X << ", " << s.cell.Y;
    EXPECT_TRUE(s.gridFont) << "cell " << s.cell.X << ", " << s.cell.Y;
  }
}

TEST_F(ResultGrid, DefaultTextStandsTwoPixelsRightAndBelowTheCorner) {
  grid.OnDrawCell = nullptr;
  const TPixels pixels = Paint(grid);
  const TRect cell = grid.CellRect(0, 2);
  TPixels expected(kWidth, kHeight);
  {
    TCanvas canvas;
    TCanvasHandleScope scope(canvas, expected.DC());
    canvas.SetFont(grid.Font());
    canvas.Brush().SetColor(clWindow);
    canvas.TextRect(cell, cell.Left + 2, cell.Top + 2, grid.Cells(0, 2));
  }
  int differing = 0;
  for (int y = cell.Top; y < cell.Bottom; ++y)
    for (int x = cell.Left; x < cell.Right; ++x)
      if (pixels.Pixel(x, y) != expected.Pixel(x, y)) ++differing;
  EXPECT_EQ(differing, 0);
  EXPECT_LT(pixels.Count(cell, ColorToRGB(clWindow)), cell.Width() * cell.Height())
      << "the text left no mark";

  // Under a handler that draws its cells whole the grid writes nothing.
  grid.SetCellsDrawnByHandler(true);
  const TPixels underHandler = Paint(grid);
  EXPECT_EQ(underHandler.Count(cell, underHandler.Pixel(cell.Left, cell.Top)),
            cell.Width() * cell.Height())
      << "the grid's own text is drawn under the handler's";
}

TEST(ResultGridFirstPass, DrawsCellZeroOneSelectedOnceThenPlain) {
  TTestForm form(457, 479);
  auto& grid = *form.Add<TStringGrid>(8, 104, kWidth, kHeight);
  Configure(grid);
  BindHandlers(grid);
  struct TSeen {
    TGridCoord cell;
    TGridDrawState state;
    TColor brush;
    TColor fontColor;
  };
  std::vector<TSeen> seen;
  grid.OnDrawCell = [&](TObject*, int col, int row, const TRect& rect, TGridDrawState state) {
    seen.push_back({{col, row}, state, grid.Canvas().Brush().Color(), grid.Canvas().Font().Color()});
    DrawCell(grid, col, row, rect);
  };

  grid.Update();
  ASSERT_EQ(seen.size(), static_cast<size_t>(kColCount * kRowCount));
  for (const TSeen& s : seen) {
    const bool fixed = s.cell.Y == 0;
    const bool selected = s.cell == TGridCoord{0, 1};
    EXPECT_EQ(s.state.Contains(gdFixed), fixed);
    EXPECT_EQ(s.state.Contains(gdSelected), selected) << "cell " << s.cell.X << ", " << s.cell.Y;
    EXPECT_FALSE(s.state.Contains(gdFocused));
    if (selected) {
      EXPECT_EQ(s.brush, clHighlight);
      EXPECT_EQ(s.fontColor, clHighlightText);
    }
  }
  EXPECT_TRUE(UpdateRegionIs(grid, {grid.CellRect(0, 1)}));

  seen.clear();
  grid.Update();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].cell, (TGridCoord{0, 1}));
  EXPECT_TRUE(seen[0].state.Empty());
  EXPECT_EQ(seen[0].brush, clWindow);
  EXPECT_TRUE(UpdateRegionIs(grid, {}));
}

TEST_F(ResultGrid, RepaintingReleasesItsGdiObjects) {
  Paint(grid);
  const int before = GdiObjectCount();
  for (int i = 0; i < 20; ++i) Paint(grid);
  EXPECT_EQ(GdiObjectCount(), before);
}

// --- Invalidation ---

TEST_F(ResultGrid, SelectionRepaintsOnlyWhereItChanged) {
  Validate();
  grid.SetSelection(kNoSelection);
  EXPECT_TRUE(UpdateRegionIs(grid, {})) << "the same selection again";

  grid.SetSelection({1, 2, 1, 2});
  EXPECT_TRUE(UpdateRegionIs(grid, {grid.CellRect(1, 2)})) << "from outside the grid to one cell";

  Validate();
  grid.SetSelection({1, 2, 2, 3});
  EXPECT_TRUE(UpdateRegionIs(grid, {grid.CellRect(2, 2), grid.CellRect(1, 3), grid.CellRect(2, 3)}))
      << "growing by a column and a row";

  Validate();
  grid.SetSelection({2, 3, 1, 2});
  EXPECT_TRUE(UpdateRegionIs(grid, {})) << "the same rectangle from the other corner";
  EXPECT_EQ(grid.Col(), 1);
  EXPECT_EQ(grid.Row(), 2);
}

TEST_F(ResultGrid, WritingACellRepaintsThatCellWithoutErasing) {
  Validate();
  grid.SetCells(2, 5, "0.00");
  EXPECT_TRUE(UpdateRegionIs(grid, {grid.CellRect(2, 5)}));
  Validate();
  grid.SetCells(2, 5, "0.00");
  EXPECT_TRUE(UpdateRegionIs(grid, {grid.CellRect(2, 5)})) << "the same text again";
  EXPECT_EQ(grid.Cells(2, 5), "0.00");
  grid.erases = 0;
  grid.Update();
  EXPECT_EQ(grid.erases, 0);
}

// --- Errors and size rules ---

TEST_F(ResultGrid, RefusedOperationsRaiseGridErrorsAndChangeNothing) {
  const std::string index = std::string("EInvalidGridOperation: ") + kSGridIndexOutOfRange;
  EXPECT_EQ(index, "EInvalidGridOperation: Gitterindex au\xDF" "erhalb des zul\xE4ssigen Bereichs");
  EXPECT_EQ(ErrorOf([&] { grid.SetFixedCols(-1); }), index);
  EXPECT_EQ(ErrorOf([&] { grid.SetFixedRows(-1); }), index);
  EXPECT_EQ(ErrorOf([&] { grid.SetFixedCols(5); }),
            "EInvalidGridOperation: Die Anzahl fester Spalten muss kleiner sein als die "
            "Spaltenanzahl");
  EXPECT_EQ(ErrorOf([&] { grid.SetFixedRows(19); }),
            "EInvalidGridOperation: Die Anzahl fester Zeilen muss kleiner sein als die "
            "Zeilenanzahl");
  EXPECT_EQ(ErrorOf([&] { grid.SetColWidths(5, 10); }), index);
  EXPECT_EQ(ErrorOf([&] { grid.SetRowHeights(19, 10); }), index);
  EXPECT_EQ(ErrorOf([&] { grid.SetCol(5); }), index);
  EXPECT_EQ(ErrorOf([&] { grid.SetRow(-1); }), index);
  EXPECT_EQ(ErrorOf([&] { grid.SetCells(0, 19, "x"); }), index);
  EXPECT_TRUE(queries.empty()) << "a move outside the grid is refused before the query";
  EXPECT_EQ(grid.FixedCols(), 0);
  EXPECT_EQ(grid.FixedRows(), 1);
  EXPECT_EQ(grid.Selection(), kNoSelection);
  EXPECT_EQ(grid.Cells(0, 19), "");
}

TEST_F(ResultGrid, CountsStayAboveTheFixedCounts) {
  grid.SetColCount(-3);
  EXPECT_EQ(grid.ColCount(), 1);
  grid.SetRowCount(1);
  EXPECT_EQ(grid.RowCount(), 1);
  EXPECT_EQ(grid.FixedRows(), 0) << "lowered to the new count minus 1";
  grid.SetRowCount(4);
  grid.SetFixedRows(2);
  EXPECT_EQ(grid.Row(), 2);
  EXPECT_EQ(grid.Col(), 0);
  EXPECT_EQ(grid.TopRow(), 2);
  EXPECT_EQ(grid.Selection(), (TGridRect{0, 2, 0, 2}));
  EXPECT_EQ(grid.Cells(0, 3), "") << "texts beyond the old size come back empty";
}

TEST_F(ResultGrid, AnErrorInAMessageGoesToTheErrorReporting) {
  // A current cell in column -1: the row below is still outside the grid.
  grid.SetSelection({-1, -1, -1, -1});
  SendMessageA(grid.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
  ASSERT_EQ(errors.Errors().size(), 1u);
  EXPECT_EQ(errors.Errors()[0].message, kSGridIndexOutOfRange);
}

// --- Mouse ---

TEST_F(ResultGrid, ClickOnABodyCellFocusesAsksAndChangesNothing) {
  const TPixels before = Paint(grid);
  SendMessageA(grid.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(150, 50));
  SendMessageA(grid.Handle(), WM_LBUTTONUP, 0, At(150, 50));
  EXPECT_EQ(form->ActiveControl(), &grid);
  // The press asks, and so does the release's last move, as the anchor
  // still lies outside the grid.
  const std::vector<TGridCoord> expected{{1, 3}, {1, 3}};
  EXPECT_EQ(queries, expected);
  ExpectUnchanged(before);
}

TEST_F(ResultGrid, ClickOnTheHeaderFocusesWithoutAskingAPressThatLosesTheFocusLetsTheMouseGo) {
  SendMessageA(grid.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(150, 10));
  SendMessageA(grid.Handle(), WM_LBUTTONUP, 0, At(150, 10));
  EXPECT_EQ(form->ActiveControl(), &grid);
  EXPECT_TRUE(queries.empty());

  auto* other = form.Add<TObservedGrid>(0, 400, 50, 50);
  other->SetFocus();
  grid.OnEnter = [other](TObject*) { other->SetFocus(); };
  SendMessageA(grid.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(150, 50));
  EXPECT_EQ(form->ActiveControl(), other);
  EXPECT_NE(GetCapture(), grid.Handle()) << "the grid kept the mouse";
  EXPECT_TRUE(queries.empty());
  SendMessageA(grid.Handle(), WM_LBUTTONUP, 0, At(150, 50));
}

TEST_F(ResultGrid, DraggingPastEveryEdgeRaisesNoError) {
  const TPixels before = Paint(grid);
  SendMessageA(grid.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(300, 200));
  // Right only, below only, both, left, above: from the anchor (-1, -1) the
  // first two would step to (0, -1) and (-1, 0).
  const TPoint outside[] = {{430, 100}, {100, 291}, {430, 291}, {-5, 100}, {100, -5}};
  for (const TPoint& p : outside) {
    const TPoint screen = grid.ClientToScreen(p);
    ASSERT_TRUE(SetCursorPos(screen.X, screen.Y));
    POINT cursor{};
    GetCursorPos(&cursor);
    ASSERT_EQ(TPoint(cursor), screen) << "the pointer cannot be placed here";
    for (int tick = 0; tick < 4; ++tick) {
      SendMessageA(grid.Handle(), WM_MOUSEMOVE, MK_LBUTTON, At(p.X, p.Y));
      SendMessageA(grid.Handle(), WM_TIMER, 1, 0);
    }
  }
  SendMessageA(grid.Handle(), WM_LBUTTONUP, 0, At(100, -5));
  EXPECT_EQ(queries.size(), 1u) << "only the press asks";
  ExpectUnchanged(before);
}

TEST_F(ResultGrid, DraggingOverCellsAsksForEachNewCell) {
  SendMessageA(grid.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(150, 50));
  SendMessageA(grid.Handle(), WM_MOUSEMOVE, MK_LBUTTON, At(220, 50));
  SendMessageA(grid.Handle(), WM_MOUSEMOVE, MK_LBUTTON, At(220, 10));  // header: not asked
  SendMessageA(grid.Handle(), WM_LBUTTONUP, 0, At(300, 80));
  SendMessageA(grid.Handle(), WM_MOUSEMOVE, 0, At(150, 200));  // released: not asked
  const std::vector<TGridCoord> expected{{1, 3}, {2, 3}, {3, 5}};
  EXPECT_EQ(queries, expected);
  EXPECT_TRUE(errors.Errors().empty()) << ErrorsText(errors);
}

TEST_F(ResultGrid, CancelModeEndsTheDrag) {
  SendMessageA(grid.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(150, 50));
  SendMessageA(grid.Handle(), WM_CANCELMODE, 0, 0);
  SendMessageA(grid.Handle(), WM_MOUSEMOVE, MK_LBUTTON, At(220, 50));
  EXPECT_EQ(queries.size(), 1u);
}

TEST(GridDrag, TheTimerStepsTowardThePointerWhileTheButtonIsHeld) {
  TTestForm form(457, 479);
  auto& grid = *form.Add<TStringGrid>(8, 104, kWidth, kHeight);
  Configure(grid);
  std::vector<TGridCoord> queries;
  grid.OnSelectCell = [&](TObject*, int col, int row, bool& canSelect) {
    queries.push_back({col, row});
    canSelect = false;
  };
  PumpMessages();
  // The anchor stays (0, 1): every move is refused.
  SendMessageA(grid.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(150, 50));
  const TPoint right = grid.ClientToScreen({430, 100});
  SetCursorPos(right.X, right.Y);
  // Ticks counted over a fixed wait: every 60 ms gives about 10.
  const DWORD start = GetTickCount();
  for (DWORD now = start; now - start < 600; now = GetTickCount()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 600 - (now - start), QS_ALLINPUT);
    PumpMessages();
  }
  ASSERT_GE(queries.size(), 5u) << "too few timer ticks in 600 ms";
  EXPECT_EQ(queries[1], (TGridCoord{1, 1}));
  EXPECT_EQ(queries[2], (TGridCoord{1, 1}));
  SendMessageA(grid.Handle(), WM_LBUTTONUP, 0, At(430, 100));
  const size_t afterRelease = queries.size();
  Sleep(200);
  PumpMessages();
  EXPECT_EQ(queries.size(), afterRelease) << "the timer still runs after the release";
}

// --- Keyboard and wheel ---

TEST_F(ResultGrid, KeysNeverScrollOrMakeACellCurrent) {
  grid.SetFocus();
  ASSERT_EQ(form->ActiveControl(), &grid);
  PumpMessages();
  const TPixels before = Paint(grid);
  const WORD keys[] = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_PRIOR, VK_NEXT, VK_HOME, VK_END};
  for (bool ctrl : {false, true}) {
    std::optional<TKeyHeld> held;
    if (ctrl) held.emplace(VK_CONTROL);
    for (WORD key : keys) {
      queries.clear();
      SendMessageA(grid.Handle(), WM_KEYDOWN, key, 0);
      EXPECT_EQ(queries.size(), 1u) << "key " << key << (ctrl ? " with Ctrl" : "");
      EXPECT_EQ(grid.Row(), -1) << "key " << key << (ctrl ? " with Ctrl" : "");
    }
  }
  ExpectUnchanged(before);
}

TEST_F(ResultGrid, OnlyArrowKeysAreAskedFor) {
  EXPECT_EQ(SendMessageA(grid.Handle(), WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
}

// A focusable control for the Tab order.
class TFocusable : public TCustomControl {
 public:
  explicit TFocusable(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }
};

TEST_F(ResultGrid, TabPassesTheGridByAndLeavesIt) {
  auto* first = form.Add<TFocusable>(0, 0, 8, 8);
  auto* last = form.Add<TFocusable>(0, 400, 8, 8);
  first->SetFocus();
  form->SelectNext(first, true, true);
  EXPECT_EQ(form->ActiveControl(), last);
  form->SelectNext(last, true, true);
  EXPECT_EQ(form->ActiveControl(), first);
  grid.SetFocus();
  grid.Perform(CN_KEYDOWN, VK_TAB, 0);
  EXPECT_NE(form->ActiveControl(), &grid);
}

TEST_F(ResultGrid, TheWheelAsksForTheRowBelowOnly) {
  const TPixels before = Paint(grid);
  SendMessageA(grid.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_TRUE(queries.empty()) << "up from row -1";
  SendMessageA(grid.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
  const std::vector<TGridCoord> expected{{0, 0}};
  EXPECT_EQ(queries, expected);
  ExpectUnchanged(before);
}

TEST(GridKeys, MoveTheCurrentCellAndScrollWhenAllowed) {
  TTestForm form(320, 240);
  auto& grid = *form.Add<TStringGrid>(0, 0, 200, 100);
  grid.SetScrollBars(ssNone);
  grid.SetBorderStyle(bsNone);
  grid.SetRowCount(10);
  grid.SetFocus();
  // 64-pixel columns with 1-pixel lines: columns 1 and 2 fit beside the
  // fixed one; 24-pixel rows: rows 1 to 3 fit below the fixed one.
  const auto press = [&](WORD key) { SendMessageA(grid.Handle(), WM_KEYDOWN, key, 0); };
  press(VK_RIGHT);
  EXPECT_EQ(grid.Col(), 2);
  press(VK_END);
  EXPECT_EQ(grid.Col(), 4);
  EXPECT_EQ(grid.LeftCol(), 3);
  press(VK_NEXT);
  EXPECT_EQ(grid.Row(), 3);
  EXPECT_EQ(grid.TopRow(), 3);
  {
    TKeyHeld shift(VK_SHIFT);
    press(VK_DOWN);
  }
  EXPECT_EQ(grid.Selection(), (TGridRect{4, 3, 4, 4})) << "Shift keeps the anchor";
  {
    TKeyHeld ctrl(VK_CONTROL);
    press(VK_HOME);
  }
  EXPECT_EQ(grid.Col(), 1);
  EXPECT_EQ(grid.Row(), 1);
  EXPECT_EQ(grid.LeftCol(), 1);
  EXPECT_EQ(grid.TopRow(), 1);

  // The selection shows whether the grid has the focus.
  auto* other = form.Add<TStringGrid>(0, 200, 50, 30);
  const TRect cell = grid.CellRect(1, 1);
  const TRect selected(cell.Left, cell.Top, cell.Right + 1, cell.Bottom + 1);  // with its lines
  ValidateRect(grid.Handle(), nullptr);
  other->SetFocus();
  EXPECT_TRUE(UpdateRegionIs(grid, {selected})) << "losing the focus";
  ValidateRect(grid.Handle(), nullptr);
  grid.SetFocus();
  EXPECT_TRUE(UpdateRegionIs(grid, {selected})) << "gaining the focus";
  press(VK_F2);
  EXPECT_TRUE(grid.EditorMode());
  press(VK_RETURN);
  EXPECT_FALSE(grid.EditorMode());
}

// --- Window ---

TEST_F(ResultGrid, NoBorderAndNoScrollBars) {
  const LONG style = GetWindowLongA(grid.Handle(), GWL_STYLE);
  const LONG exStyle = GetWindowLongA(grid.Handle(), GWL_EXSTYLE);
  EXPECT_EQ(style & (WS_HSCROLL | WS_VSCROLL | WS_BORDER), 0);
  EXPECT_EQ(exStyle & WS_EX_CLIENTEDGE, 0);
  EXPECT_EQ(GetClassLongA(grid.Handle(), GCL_STYLE) & CS_DBLCLKS, static_cast<DWORD>(CS_DBLCLKS));
}

TEST(GridScrollBars, TheClassDefaultsScroll) {
  TTestForm form(320, 240);
  auto& grid = *form.Add<TStringGrid>(0, 0, 200, 100);
  grid.SetRowCount(10);
  EXPECT_TRUE(GetWindowLongA(grid.Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_TRUE(GetWindowLongA(grid.Handle(), GWL_STYLE) & WS_VSCROLL);
  SendMessageA(grid.Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(grid.TopRow(), 2);
  EXPECT_EQ(GetScrollPos(grid.Handle(), SB_VERT), 2);
  SendMessageA(grid.Handle(), WM_VSCROLL, SB_BOTTOM, 0);
  // 24-pixel rows and 1-pixel lines below the fixed row: the last rows that fit.
  const int rowsThatFit = (grid.ClientHeight() - 25 + 1) / 25;
  EXPECT_EQ(grid.TopRow(), 10 - rowsThatFit);
  SendMessageA(grid.Handle(), WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(grid.TopRow(), 1);
}

}  // namespace
