// Typing benchmark of the entry field: the time from a keystroke (a digit
// or a Backspace) sent to a focused integer field, whose change handler runs the recalculation into a
// plain table, until the field has repainted; and the process's GDI object
// count before and after 10,000 edits (it must not grow).
//
//   cmake/wine-run $PWD/build/win64/wineprefix build/win64/bench/win_typing.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/win_timing.h"
#include "calc/UsartTable.h"
#include "support/GdiCounter.h"
#include "support/TestForm.h"
#include "widgets/QelMaskEdit.h"

namespace {
constexpr int kEdits = 10000;  // each one a digit typed or a Backspace
}  // namespace

int main() {
  TTestForm form(300, 100);
  auto* field = new TQelMaskEdit(&form.Form());
  field->SetBounds(8, 8, 121, 21);
  field->SetParent(&form.Form());
  field->SetMaxLength(8);
  field->SetAlignment(taCenter);
  field->SetMaskType(meInteger);
  field->SetText("250000");
  field->Caret().SetBlinkRate(530);
  TUsartTable table("16000000", field->Text());
  int recalculations = 0;
  field->OnTextChangedAt = [&](TObject*, int) {
    table.SetTexts("16000000", field->Text());
    CalcUSART(table);
    ++recalculations;
  };
  field->SetFocus();
  PumpMessages();
  const UINT savedBlinkTime = GetCaretBlinkTime();
  HWND window = field->Handle();
  SendMessageA(window, WM_KEYDOWN, VK_END, 1);
  PumpMessages();

  const int gdiBefore = GdiObjectCount();
  std::vector<double> typed = TimeTyping(window, kEdits, [window] { UpdateWindow(window); });
  PumpMessages();
  const int gdiAfter = GdiObjectCount();

  std::sort(typed.begin(), typed.end());
  double sum = 0;
  for (double t : typed) sum += t;
  std::printf("Keystroke to repainted field, with CalcUSART in the change handler (%zu samples):\n",
              typed.size());
  std::printf("  median %.1f us, mean %.1f us, 95th percentile %.1f us, max %.1f us\n",
              typed[typed.size() / 2], sum / typed.size(), typed[typed.size() * 95 / 100],
              typed.back());
  std::printf("Recalculations: %d; final text \"%s\"\n", recalculations, field->Text().c_str());
  std::printf("GDI objects before %d edits: %d, after: %d\n", kEdits, gdiBefore, gdiAfter);
  SetCaretBlinkTime(savedBlinkTime);
  return gdiAfter > gdiBefore ? 1 : 0;
}
