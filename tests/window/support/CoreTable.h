// What the calculation core makes of two entry texts for a model, to hold
// the window's result grid against. The window and the core share the
// exact-match flag arrays, so the core's own run keeps its flags apart and
// leaves the window's as they were.
#pragma once

#include <algorithm>
#include <iterator>
#include <sstream>
#include <string>

#include "calc/UsartTable.h"
#include "widgets/Grids.h"

class TCoreTable {
 public:
  TCoreTable(const std::string& frequency, const std::string& baudRate, const TAvrModel& model)
      : table_(frequency, baudRate, model) {
    // The window's flags go back on every way out.
    struct TPutBack {
      TFlags window;
      ~TPutBack() {
        std::copy(std::begin(window.normal), std::end(window.normal), ExactU2X0);
        std::copy(std::begin(window.fast), std::end(window.fast), ExactU2X1);
      }
    } putBack;
    Copy(ExactU2X0, ExactU2X1, putBack.window);
    CalcUSART(table_);
    Copy(ExactU2X0, ExactU2X1, flags_);
  }

  const std::string& Cell(int col, int row) const { return table_.Cell(col, row); }
  bool NormalExact(int row) const { return flags_.normal[row - 1]; }
  bool DoubleExact(int row) const { return flags_.fast[row - 1]; }

  // The first of rows 1 to 18 in which the grid's texts or the window's
  // flags differ, expected and shown; "" when none does.
  std::string Mismatch(const TStringGrid& grid) const {
    for (int row = 1; row <= kUsartRateCount; ++row) {
      bool same = NormalExact(row) == ExactU2X0[row - 1] && DoubleExact(row) == ExactU2X1[row - 1];
      for (int col = 0; col < kUsartColumnCount; ++col)
        same = same && Cell(col, row) == grid.Cells(col, row);
      if (same) continue;
      std::ostringstream out;
      out << "row " << row << ": expected";
      for (int col = 0; col < kUsartColumnCount; ++col) out << " | " << Cell(col, row);
      out << " flags " << NormalExact(row) << DoubleExact(row) << ", shown";
      for (int col = 0; col < kUsartColumnCount; ++col) out << " | " << grid.Cells(col, row);
      out << " flags " << ExactU2X0[row - 1] << ExactU2X1[row - 1];
      return out.str();
    }
    return "";
  }

 private:
  struct TFlags {
    bool normal[kUsartFlagCount] = {};
    bool fast[kUsartFlagCount] = {};
  };
  static void Copy(const bool* normal, const bool* fast, TFlags& to) {
    std::copy(normal, normal + kUsartFlagCount, to.normal);
    std::copy(fast, fast + kUsartFlagCount, to.fast);
  }

  TUsartTable table_;
  TFlags flags_;
};
