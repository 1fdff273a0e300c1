// Wineserver requests per step: under Wine every call into the window
// system that is not answered inside the process is one request to the
// wineserver, and their number repeats from run to run while times swing
// with the machine's load. scripts/bench runs this program under a
// wineserver that traces every request; each measured step is bracketed by
// two look-ups of global atoms, which the trace shows by name:
//   MARK-<step>-begin ... MARK-<step>-end  counts this thread's requests,
//   PEER-<step>-begin ... PEER-<step>-end  the requests of every other thread.
// The steps, each repeated, the script printing the median:
//   path-<key>-<field>   a keystroke sent to the focused field as win_window
//                        sends it, then everything it invalidated repainted;
//   path-model-<change>  the Down key sent to the closed model list, to a
//                        model of the same family (ATmega128 to ATmega1280)
//                        or of another (ATmega16 to ATmega1608), repainted
//                        likewise;
//   input-<key>-<field>  a keystroke typed as real input into a started
//                        program, through its message loop until it sleeps;
//   start-<program>      from the process's creation to its first idle,
// where <key> is digit or back (Backspace) and <field> frequency, baudrate
// (Baudix's fields) or edit (the platform's EDIT, win_bare_edit.h).
// It also prints the result cells drawn per keystroke in each field, and per
// model change ("model-change-cells <same family> <other family>", which the
// script puts beside the requests).
//
//   wineserver -f -p -d1 2>trace.txt & wine build/win64/bench/win_requests.exe
#include <windows.h>

#include <cstdio>
#include <memory>
#include <initializer_list>
#include <string>
#include <utility>

#include "Unit1.h"
#include "app/Application.h"
#include "bench/bench_table.h"
#include "bench/win_bare_edit.h"
#include "bench/win_launch.h"
#include "bench/win_timing.h"
#include "support/TestForm.h"
#include "widgets/QelComboBox.h"
#include "widgets/QelMaskEdit.h"

namespace {
constexpr int kKeystrokes = 21;  // per key and field
constexpr int kStarts = 5;       // per program
// Long enough for a typed key to reach the program and be painted; short
// enough that the caret's blink rarely falls inside.
constexpr DWORD kSettleMs = 40;
constexpr const char* kKeys[] = {"digit", "back"};

// One measured step, from construction to destruction.
class TMarkedStep {
 public:
  TMarkedStep(const char* kind, const std::string& step) : name_(std::string(kind) + "-" + step) {
    GlobalFindAtomA((name_ + "-begin").c_str());
  }
  TMarkedStep(const TMarkedStep&) = delete;
  TMarkedStep& operator=(const TMarkedStep&) = delete;
  ~TMarkedStep() { GlobalFindAtomA((name_ + "-end").c_str()); }

 private:
  std::string name_;
};

// Keystrokes on the benchmark path; `repaint` brings the screen up to date.
template <class Repaint>
void TypeOnPath(HWND field, const char* fieldName, Repaint repaint) {
  SendMessageA(field, WM_KEYDOWN, VK_END, 1);
  repaint();
  for (int i = 0; i < 2 * kKeystrokes; ++i) {
    const bool backspace = i % 2 == 0;  // first make room: a full field refuses a digit
    TMarkedStep step("MARK", std::string("path-") + kKeys[backspace] + "-" + fieldName);
    SendKeystroke(field, backspace);
    repaint();
  }
}

void PressKey(WORD key) {
  INPUT input[2]{};
  input[0].type = INPUT_KEYBOARD;
  input[0].ki.wVk = key;
  input[1] = input[0];
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, input, sizeof(INPUT));
  Sleep(kSettleMs);
}

// Real keystrokes into the focused field of the foreground program.
void TypeAsInput(const char* fieldName) {
  PressKey(VK_END);
  for (int i = 0; i < 2 * kKeystrokes; ++i) {
    const bool backspace = i % 2 == 0;
    TMarkedStep step("PEER", std::string("input-") + kKeys[backspace] + "-" + fieldName);
    PressKey(backspace ? VK_BACK : '7');
  }
}

HWND MainWindowOf(DWORD process) {
  struct TSearch {
    DWORD process;
    HWND found;
  } search{process, nullptr};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<TSearch*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != s->process || !IsWindowVisible(window)) return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::unique_ptr<TLaunched> Start(const std::string& path, const char* name) {
  TMarkedStep step("PEER", std::string("start-") + name);
  auto program = std::make_unique<TLaunched>(path, "");
  program->WaitUntilIdle();
  return program;
}

void MeasureStarts(const std::string& baudix, const std::string& bare) {
  // One start of each first, not counted: DLLs and fonts into the caches.
  TLaunched(baudix, "").WaitUntilIdle();
  TLaunched(bare, "").WaitUntilIdle();
  for (int i = 0; i < kStarts; ++i) {
    Start(baudix, "baudix");
    Start(bare, "bare");
  }
}

// Types into the started program; `fields` lists its fields in Tab order
// from the one focused at start.
bool MeasureInput(const std::string& path, const char* arguments,
                  std::initializer_list<const char*> fields) {
  TLaunched program(path, arguments);
  if (program.WaitUntilIdle() < 0) return false;
  HWND window = MainWindowOf(GetProcessId(program.Process()));
  if (!window) return false;
  SetForegroundWindow(window);
  Sleep(kSettleMs);
  bool first = true;
  for (const char* field : fields) {
    if (!std::exchange(first, false)) PressKey(VK_TAB);
    TypeAsInput(field);
  }
  return true;
}

void MeasurePath() {
  {
    TBareEdit bare;
    TypeOnPath(bare.Edit(), "edit",
               [&bare] { RedrawWindow(bare.Window(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); });
  }
  PumpMessages();

  auto setup = std::make_unique<TProgramSetup>();
  Application->CreateMainForm(Form1);
  Form1->SetVisible(true);
  PumpMessages();
  TStringGrid& grid = *Form1->StringGrid_USART;
  int cellsDrawn = 0;
  grid.OnDrawCell = [&cellsDrawn, draw = grid.OnDrawCell](TObject* sender, int col, int row,
                                                         const TRect& rect, TGridDrawState state) {
    ++cellsDrawn;
    draw(sender, col, row, rect, state);
  };
  const auto repaint = [] {
    RedrawWindow(Form1->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  };
  std::string drawn;
  for (auto [field, name] : {std::pair{Form1->QelMaskEdit2, "baudrate"},
                             std::pair{Form1->QelMaskEdit1, "frequency"}}) {
    field->SetFocus();
    repaint();
    cellsDrawn = 0;
    TypeOnPath(field->Handle(), name, repaint);
    drawn += Figure(drawn.empty() ? "%.0f" : " / %.0f", cellsDrawn / (2.0 * kKeystrokes));
  }
  PrintRow("result cells drawn per keystroke, baud-rate / frequency field", drawn);

  // Model changes: a measured Down key, then an Up key back.
  TQelComboBox& list = *Form1->QelComboBox1;
  list.SetFocus();
  repaint();
  const auto key = [&list](WORD key) {
    SendMessageA(list.Handle(), WM_KEYDOWN, key, 1);
    SendMessageA(list.Handle(), WM_KEYUP, key, 0xC0000001);
  };
  std::printf("model-change-cells");
  for (auto [change, stepsDown] : {std::pair{"same", 0}, std::pair{"other", 3}}) {
    for (int i = 0; i < stepsDown; ++i) key(VK_DOWN);  // from ATmega128 to ATmega16
    repaint();
    cellsDrawn = 0;
    for (int i = 0; i < kKeystrokes; ++i) {
      {
        TMarkedStep step("MARK", std::string("path-model-") + change);
        key(VK_DOWN);
        repaint();
      }
      const int drawnByDown = cellsDrawn;
      key(VK_UP);
      repaint();
      cellsDrawn = drawnByDown;
    }
    std::printf(" %.0f", cellsDrawn / static_cast<double>(kKeystrokes));
  }
  std::printf("\n");
  setup.reset();
}
}  // namespace

int main() {
  const std::string dir = BenchDirectory();
  const std::string baudix = dir + "..\\Baudix.exe";
  const std::string bare = dir + "win_bare_window.exe";
  MeasurePath();
  MeasureStarts(baudix, bare);
  if (!MeasureInput(baudix, "", {"frequency", "baudrate"}) ||
      !MeasureInput(bare, "edit", {"edit"})) {
    std::printf("a program did not start or show its window\n");
    return 1;
  }
  return 0;
}
