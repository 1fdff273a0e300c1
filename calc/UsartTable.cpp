#include "calc/UsartTable.h"

#include <utility>

TUsartTable::TUsartTable(std::string frequency, std::string baudRate)
    : frequency_(std::move(frequency)), baudRate_(std::move(baudRate)) {
  for (int col = 0; col < kUsartColumnCount; ++col) cells_[0][col] = kUsartHeaders[col];
}

void TUsartTable::SetTexts(std::string frequency, std::string baudRate) {
  frequency_ = std::move(frequency);
  baudRate_ = std::move(baudRate);
}

void TUsartTable::SetRowValues(int row, int32_t f, int32_t b, const TUsartMode& normal,
                               const TUsartMode& fast) {
  frequencyValue_ = f;
  rates_[row] = b;
  modes_[row][0] = normal;
  modes_[row][1] = fast;
}
