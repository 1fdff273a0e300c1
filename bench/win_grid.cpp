// Repaint benchmark of the result grid, set up as the window sets it up and
// drawn by a handler like the window's: the time of a whole repaint of the
// 425 x 292 grid, and of the repaint after one cell text is written, with the
// area that one write invalidates (it must be that cell alone) and the cells
// the following repaint draws.
//
//   cmake/wine-run $PWD/build/win64/wineprefix build/win64/bench/win_grid.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/win_timing.h"
#include "support/GdiCounter.h"
#include "support/ResultGridLike.h"
#include "support/TestForm.h"

namespace {
constexpr int kFullRepaints = 500;
constexpr int kCellWrites = 2000;
// The cell that the recalculation would rewrite: normal-speed error of row 5.
constexpr int kCol = 2;
constexpr int kRow = 5;

void PrintTimes(const char* what, std::vector<double> times) {
  std::sort(times.begin(), times.end());
  double sum = 0;
  for (double t : times) sum += t;
  std::printf("%s (%zu samples):\n", what, times.size());
  std::printf("  median %.1f us, mean %.1f us, 95th percentile %.1f us, max %.1f us\n",
              times[times.size() / 2], sum / times.size(), times[times.size() * 95 / 100],
              times.back());
}

// The rectangles of the window's update region and their total area.
void PrintUpdateRegion(HWND window) {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  GetUpdateRgn(window, region, FALSE);
  std::vector<char> buffer(GetRegionData(region, 0, nullptr));
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  GetRegionData(region, static_cast<DWORD>(buffer.size()), data);
  const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
  long area = 0;
  std::printf("  invalidated:");
  for (DWORD i = 0; i < data->rdh.nCount; ++i) {
    std::printf(" (%ld, %ld, %ld, %ld)", rects[i].left, rects[i].top, rects[i].right,
                rects[i].bottom);
    area += (rects[i].right - rects[i].left) * (rects[i].bottom - rects[i].top);
  }
  std::printf(" = %ld pixels\n", area);
  DeleteObject(region);
}
}  // namespace

int main() {
  TTestForm form(457, 479);
  auto& grid = *form.Add<TStringGrid>(8, 104, result_grid::kWidth, result_grid::kHeight);
  result_grid::Configure(grid);
  result_grid::BindHandlers(grid);
  int cellsDrawn = 0;
  grid.OnDrawCell = [&](TObject*, int col, int row, const TRect& rect, TGridDrawState) {
    ++cellsDrawn;
    result_grid::DrawCell(grid, col, row, rect);
  };
  PumpMessages();
  HWND window = grid.Handle();
  const int gdiBefore = GdiObjectCount();

  std::vector<double> times;
  for (int i = 0; i < kFullRepaints; ++i) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    grid.Invalidate();
    UpdateWindow(window);
    QueryPerformanceCounter(&end);
    times.push_back(Microseconds(start, end));
  }
  PrintTimes("Whole grid repainted (95 cells)", times);

  const TRect cell = grid.CellRect(kCol, kRow);
  std::printf("One cell text written, cell (%d, %d) = (%d, %d, %d, %d), %d pixels:\n", kCol, kRow,
              cell.Left, cell.Top, cell.Right, cell.Bottom, cell.Width() * cell.Height());
  grid.SetCells(kCol, kRow, "0.16");
  PrintUpdateRegion(window);
  cellsDrawn = 0;
  UpdateWindow(window);
  std::printf("  cells drawn by the repaint: %d\n", cellsDrawn);

  times.clear();
  for (int i = 0; i < kCellWrites; ++i) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    grid.SetCells(kCol, kRow, i % 2 ? "0.16" : "-0.16");
    UpdateWindow(window);
    QueryPerformanceCounter(&end);
    times.push_back(Microseconds(start, end));
  }
  PrintTimes("Cell text written and repainted", times);
  PumpMessages();
  std::printf("GDI objects: %d before, %d after %d repaints\n", gdiBefore, GdiObjectCount(),
              kFullRepaints + kCellWrites);
  return 0;
}
