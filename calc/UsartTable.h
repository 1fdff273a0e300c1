// The result table as plain data: a TUsartTableView without a window, for the
// tests, the benchmark and baudix-table (its printed forms: UsartReport.h).
#pragma once

#include <string>

#include "calc/AvrModels.h"
#include "calc/Usart.h"

// The grid's header text of column `col` for a family: "Baudrate [bps]",
// then register and "ERROR" for each group.
const char* UsartHeader(TBaudFamily family, int col);

class TUsartTable : public TUsartTableView {
 public:
  static constexpr int kRows = kUsartRateCount + 1;  // row 0 is the header

  // Both entry texts, the model and the frame's bits; the header row is
  // filled, rows 1 to 18 are empty.
  TUsartTable(std::string frequency, std::string baudRate, const TAvrModel& model = DefaultAvrModel(),
              int frameBits = kWindowFrameBits);

  std::string FrequencyText() override { return frequency_; }
  std::string BaudRateText() override { return baudRate_; }
  const TAvrModel& Model() override { return *model_; }
  int FrameBits() override { return frameBits_; }
  void SetCell(int col, int row, const std::string& text) override { cells_[row][col] = text; }
  void SetRowValues(int row, int32_t f, int32_t b, const TUsartMode& normal,
                    const TUsartMode& fast) override;

  const std::string& Cell(int col, int row) const { return cells_[row][col]; }
  const std::string& TypedFrequency() const { return frequency_; }
  const std::string& TypedBaudRate() const { return baudRate_; }
  const TAvrModel& Device() const { return *model_; }
  // The numbers of the last recalculation behind row 1..18; group 0 is the
  // first (normal speed).
  int32_t Frequency() const { return frequencyValue_; }
  int32_t Rate(int row) const { return rates_[row]; }
  const TUsartMode& Mode(int row, int group) const { return modes_[row][group]; }
  void SetTexts(std::string frequency, std::string baudRate);

 private:
  std::string frequency_;
  std::string baudRate_;
  const TAvrModel* model_;
  int frameBits_;
  std::string cells_[kRows][kUsartColumnCount];
  int32_t frequencyValue_ = 0;
  int32_t rates_[kRows] = {};
  TUsartMode modes_[kRows][2];
};
