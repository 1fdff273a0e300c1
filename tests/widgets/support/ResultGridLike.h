// A string grid set up the way the main window sets up its result grid, and
// a cell-drawing handler that draws the way the window's handler does: row
// colours, bold rows, shaded odd rows, centred text, and the selection moved
// out of the grid on every cell. Shared by the grid tests and the grid
// benchmark, which both need "the grid as the window uses it".
#pragma once

#include <string>

#include "widgets/Grids.h"

namespace result_grid {

inline constexpr int kWidth = 425;
inline constexpr int kHeight = 292;
inline constexpr int kColCount = 5;
inline constexpr int kRowCount = 19;
inline constexpr int kRowHeight = 15;
inline constexpr int kHeaderHeight = 20;
inline constexpr int kColWidths[kColCount] = {144, 70, 70, 70, 70};
inline constexpr TColor kFixedColor = 0xE0BC8F;
inline constexpr TColor kOddRowColor = 0xFAFAFA;
inline constexpr TColor kBodyTextColor = 0x323232;
// The selection the window's handler sets: nothing selected, nothing current.
inline constexpr TGridRect kNoSelection{-1, -1, 0, -1};

// The declared properties, then the window's grid set-up, then texts like
// those of a recalculation.
inline void Configure(TStringGrid& grid) {
  grid.SetColCount(kColCount);
  grid.SetRowCount(kRowCount);
  grid.SetFixedCols(0);
  grid.SetFixedRows(1);
  grid.SetDefaultRowHeight(kRowHeight);
  grid.SetGridLineWidth(0);
  grid.SetOptions({goFixedVertLine, goVertLine, goHorzLine});
  grid.SetFixedColor(kFixedColor);
  grid.SetBorderStyle(bsNone);
  grid.SetScrollBars(ssNone);
  grid.SetTabStop(false);
  TFont font;
  font.SetCharset(ANSI_CHARSET);
  font.SetColor(clWindowText);
  font.SetHeight(-11);
  font.SetName("MS Reference Sans Serif");
  grid.SetFont(font);

  grid.SetRowHeights(0, kHeaderHeight);
  for (int col = 0; col < kColCount; ++col) grid.SetColWidths(col, kColWidths[col]);
  const char* const header[kColCount] = {"Baudrate [bps]", "UBBR", "ERROR", "UBBR", "ERROR"};
  for (int col = 0; col < kColCount; ++col) grid.SetCells(col, 0, header[col]);
  for (int row = 1; row < kRowCount; ++row) {
    grid.SetCells(0, row, std::to_string(2400 * row) + (row == kRowCount - 1 ? " MAX" : ""));
    for (int col = 1; col < kColCount; ++col)
      grid.SetCells(col, row, col % 2 ? std::to_string(row * 7 + col) : "-0.16");
  }
}

// Draws one cell as the window's handler does.
inline void DrawCell(TStringGrid& grid, int col, int row, const TRect& rect) {
  grid.SetSelection(kNoSelection);
  const std::string& text = grid.Cells(col, row);
  TCanvas& canvas = grid.Canvas();
  TFontStyles style = canvas.Font().Style();
  const int lastRow = grid.RowCount() - 1;
  if (row == 0) {
    style.Include(fsBold);
  } else if (row == 1) {
    canvas.Font().SetColor(clNavy);
    style.Include(fsBold);
  } else if (row < lastRow) {
    canvas.Font().SetColor(kBodyTextColor);
    style.Exclude(fsBold);
  } else {
    canvas.Font().SetColor(clMaroon);
    style.Include(fsBold);
  }
  canvas.Font().SetStyle(style);
  if (row % 2 == 1) canvas.Brush().SetColor(kOddRowColor);
  SetBkMode(canvas.Handle(), OPAQUE);
  canvas.FillRect(rect);
  TRect textRect{rect.Left + 4, rect.Top + 2, rect.Right, rect.Bottom};
  canvas.DrawText(text, textRect, DT_CENTER);
}

// Binds the handlers the window binds: DrawCell above, and a selection
// handler that refuses every cell.
inline void BindHandlers(TStringGrid& grid) {
  grid.OnDrawCell = [&grid](TObject*, int col, int row, const TRect& rect, TGridDrawState) {
    DrawCell(grid, col, row, rect);
  };
  grid.OnSelectCell = [](TObject*, int, int, bool& canSelect) { canSelect = false; };
}

}  // namespace result_grid
