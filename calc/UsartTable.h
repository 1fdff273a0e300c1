// The result table as plain data: a TUsartTableView without a window, for the
// tests, the benchmark and baudix-table, and its two printed forms.
#pragma once

#include <string>

#include "calc/Usart.h"

// The grid's header texts and the group captions above them.
inline constexpr const char* kUsartHeaders[kUsartColumnCount] = {
    "Baudrate [bps]", "UBBR", "ERROR", "UBBR", "ERROR"};
inline constexpr char kCaptionU2X0[] = "U2X = 0";
inline constexpr char kCaptionU2X1[] = "U2X = 1";

class TUsartTable : public TUsartTableView {
 public:
  static constexpr int kRows = kUsartRateCount + 1;  // row 0 is the header

  // Both entry texts; the header row is filled, rows 1 to 18 are empty.
  TUsartTable(std::string frequency, std::string baudRate);

  std::string FrequencyText() override { return frequency_; }
  std::string BaudRateText() override { return baudRate_; }
  void SetCell(int col, int row, const std::string& text) override { cells_[row][col] = text; }

  const std::string& Cell(int col, int row) const { return cells_[row][col]; }
  void SetTexts(std::string frequency, std::string baudRate);

 private:
  std::string frequency_;
  std::string baudRate_;
  std::string cells_[kRows][kUsartColumnCount];
};

// The aligned text table: the group captions "U2X = 0" and "U2X = 1" over the
// grid's headers, then rows 1 to 18, a "*" after an error whose exact-match
// flag (`exact0`, `exact1`, entry row - 1) is set. Lines end in "\n".
std::string UsartTableText(const TUsartTable& table, const bool* exact0, const bool* exact1);

// The CSV form: the header line
// "row,rate,ubbr_u2x0,error_u2x0,exact_u2x0,ubbr_u2x1,error_u2x1,exact_u2x1",
// then one line per grid row 1 to 18 with the row number, the five cell texts
// and the two flags as 0 or 1. The cells are written as they are: compute
// them with the decimal separator "." for the CSV form.
std::string UsartTableCsv(const TUsartTable& table, const bool* exact0, const bool* exact1);
