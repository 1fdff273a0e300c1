// The result table as plain data: a TUsartTableView without a window, for the
// tests, the benchmark and baudix-table (its printed forms: UsartReport.h).
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
  void SetRowValues(int row, int32_t f, int32_t b, const TUsartMode& normal,
                    const TUsartMode& fast) override;

  const std::string& Cell(int col, int row) const { return cells_[row][col]; }
  const std::string& TypedFrequency() const { return frequency_; }
  const std::string& TypedBaudRate() const { return baudRate_; }
  // The numbers of the last recalculation behind row 1..18; mode 0 is normal
  // speed.
  int32_t Frequency() const { return frequencyValue_; }
  int32_t Rate(int row) const { return rates_[row]; }
  const TUsartMode& Mode(int row, int u2x) const { return modes_[row][u2x]; }
  void SetTexts(std::string frequency, std::string baudRate);

 private:
  std::string frequency_;
  std::string baudRate_;
  std::string cells_[kRows][kUsartColumnCount];
  int32_t frequencyValue_ = 0;
  int32_t rates_[kRows] = {};
  TUsartMode modes_[kRows][2];
};
