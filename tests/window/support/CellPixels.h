// Whether a result-grid cell shows what the window's drawing handler draws
// for it in the given colours and weight: the cell filled, the text centred
// in the cell less 4 pixels at the left and 2 at the top. The inside of the
// cell (less its outermost pixels, where the header's edges lie) must match
// such a drawing pixel for pixel.
#pragma once

#include <gtest/gtest.h>

#include "framework/Canvas.h"
#include "support/Render.h"
#include "widgets/Grids.h"

inline ::testing::AssertionResult CellDrawnAs(const TPixels& pixels, TStringGrid& grid, int col,
                                              int row, TColor background, TColor text,
                                              bool bold) {
  const TRect cell = grid.CellRect(col, row);
  TPixels expected(pixels.Width(), pixels.Height());
  {
    TCanvas canvas;
    TCanvasHandleScope scope(canvas, expected.DC());
    canvas.SetFont(grid.Font());
    canvas.Font().SetColor(text);
    canvas.Font().SetStyle(bold ? TFontStyles{fsBold} : TFontStyles{});
    canvas.Brush().SetColor(background);
    SetBkMode(canvas.Handle(), OPAQUE);
    canvas.FillRect(cell);
    TRect textRect(cell.Left + 4, cell.Top + 2, cell.Right, cell.Bottom);
    canvas.DrawText(grid.Cells(col, row), textRect, DT_CENTER);
  }
  int differing = 0;
  for (int y = cell.Top + 1; y < cell.Bottom - 1; ++y)
    for (int x = cell.Left + 1; x < cell.Right - 1; ++x)
      if (pixels.Pixel(x, y) != expected.Pixel(x, y)) ++differing;
  if (differing == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << differing << " pixels of cell " << col << ", " << row
                                       << " differ from " << ColorText(text)
                                       << (bold ? " bold" : "") << " on "
                                       << ColorText(background);
}
