// The whole window under load, in one process as the program runs it:
//   - keystroke to repainted field and table: 1,000 keystrokes into the
//     baud-rate field (a digit, then a Backspace, in turn; each one runs the
//     recalculation), each followed by the repaint of everything it
//     invalidated; beside it, the same keystrokes into the platform's EDIT
//     control on a bare window;
//   - a whole repaint of the result grid;
//   - working set, GDI objects and USER objects after start and after
//     10,000 keystrokes, 1,000 page switches and 1,000 grid repaints.
//
//   cmake/wine-run $PWD/build/win64/wineprefix build/win64/bench/win_window.exe
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "Unit1.h"
#include "app/Application.h"
#include "bench/win_bare_edit.h"
#include "bench/bench_table.h"
#include "bench/win_memory.h"
#include "bench/win_timing.h"
#include "support/GdiCounter.h"
#include "support/TestForm.h"
#include "support/WindowCount.h"
#include "widgets/QelMaskEdit.h"

namespace {
constexpr int kTimedKeystrokes = 1000;
constexpr int kKeystrokes = 10000;  // the timed ones included
constexpr int kPageSwitches = 1000;
constexpr int kGridRepaints = 1000;

struct TLoad {
  double workingSetMB;
  int gdiObjects;
  int userObjects;
};

// Under Wine GetGuiResources always gives 0; the process's windows are
// then the USER objects that can be counted.
int UserObjects() {
  const int counted = static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
  return counted > 0 ? counted : WindowCount();
}

TLoad MeasureLoad() { return {WorkingSetMB(GetCurrentProcess()), GdiObjectCount(), UserObjects()}; }

void RepaintNow(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// "a / b / c / d": one figure of each of the four loads.
template <class FigureOf>
std::string LoadRow(const TLoad (&loads)[4], FigureOf figure) {
  std::string text;
  for (const TLoad& load : loads) text += (text.empty() ? "" : " / ") + figure(load);
  return text;
}

}  // namespace

int main() {
  // The baseline first and gone again, so that it counts in none of the
  // window's figures.
  std::vector<double> plain;
  {
    TBareEdit bare;
    PumpMessages();
    plain = TimeTyping(bare.Edit(), kTimedKeystrokes, [&bare] { RepaintNow(bare.Window()); });
  }
  PumpMessages();

  auto setup = std::make_unique<TProgramSetup>();
  Application->CreateMainForm(Form1);
  Form1->SetVisible(true);
  PumpMessages();
  const UINT savedBlinkTime = GetCaretBlinkTime();
  TLoad loads[4];
  loads[0] = MeasureLoad();

  TQelMaskEdit& field = *Form1->QelMaskEdit2;
  field.SetFocus();
  HWND fieldWindow = field.Handle();
  SendMessageA(fieldWindow, WM_KEYDOWN, VK_END, 1);
  SendKeystroke(fieldWindow, true);  // room for one more digit
  PumpMessages();
  const auto repaint = [] { RepaintNow(Form1->Handle()); };
  const std::vector<double> typed = TimeTyping(fieldWindow, kTimedKeystrokes, repaint);
  TimeTyping(fieldWindow, kKeystrokes - kTimedKeystrokes, repaint);
  PumpMessages();
  loads[1] = MeasureLoad();

  for (int i = 0; i < kPageSwitches; ++i) {
    SendMessageA(Form1->Handle(), WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
    RepaintNow(Form1->Handle());
  }
  PumpMessages();
  loads[2] = MeasureLoad();

  std::vector<double> grid;
  HWND gridWindow = Form1->StringGrid_USART->Handle();
  for (int i = 0; i < kGridRepaints; ++i) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    RedrawWindow(gridWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    QueryPerformanceCounter(&end);
    grid.push_back(Microseconds(start, end));
  }
  PumpMessages();
  loads[3] = MeasureLoad();
  SetCaretBlinkTime(savedBlinkTime);

  const double median = Percentile(typed, 0.5), plainMedian = Percentile(plain, 0.5);
  const double p99 = Percentile(typed, 0.99), plainP99 = Percentile(plain, 0.99);
  PrintRow("keystroke to repainted field and table, median of 1,000",
           Figure("%.2f ms", median / 1000), Figure("%.2f ms (platform EDIT)", plainMedian / 1000),
           median / plainMedian);
  PrintRow("keystroke to repainted field and table, 99th percentile", Figure("%.2f ms", p99 / 1000),
           Figure("%.2f ms (platform EDIT)", plainP99 / 1000), p99 / plainP99);
  PrintRow("whole result grid repainted, median of 1,000",
           Figure("%.2f ms", Percentile(grid, 0.5) / 1000));
  const char* const after =
      " after start / 10,000 keystrokes / 1,000 page switches / 1,000 grid repaints";
  PrintRow(std::string("working set (MB)") + after,
           LoadRow(loads, [](const TLoad& l) { return Figure("%.1f", l.workingSetMB); }));
  PrintRow(std::string("GDI objects") + after,
           LoadRow(loads, [](const TLoad& l) { return std::to_string(l.gdiObjects); }));
  PrintRow(std::string(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS) > 0
                           ? "USER objects"
                           : "USER objects (windows; Wine does not count them)") +
               after,
           LoadRow(loads, [](const TLoad& l) { return std::to_string(l.userObjects); }));
  setup.reset();
  return loads[3].gdiObjects > loads[1].gdiObjects ? 1 : 0;
}
