#include "calc/UsartTable.h"

#include <utility>

namespace {

constexpr char kRateHeader[] = "Baudrate [bps]";
constexpr char kErrorHeader[] = "ERROR";

}  // namespace

const char* UsartHeader(TBaudFamily family, int col) {
  if (col == 0) return kRateHeader;
  return col % 2 == 0 ? kErrorHeader : FamilyInfo(family).registerHeaders[(col - 1) / 2];
}

TUsartTable::TUsartTable(std::string frequency, std::string baudRate, const TAvrModel& model,
                         int frameBits)
    : frequency_(std::move(frequency)), baudRate_(std::move(baudRate)), model_(&model),
      frameBits_(frameBits) {
  for (int col = 0; col < kUsartColumnCount; ++col) cells_[0][col] = UsartHeader(model.family, col);
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
