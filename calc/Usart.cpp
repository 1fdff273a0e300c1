// The recalculation.
#include "calc/Usart.h"

#include <cfloat>
#include <cmath>

#include "calc/BaudGenerators.h"
#include "calc/Exceptions.h"
#include "calc/NumberText.h"

static_assert(LDBL_MANT_DIG == 64, "long double must be the x87 extended type (64-bit mantissa)");

bool ExactU2X0[kUsartFlagCount];
bool ExactU2X1[kUsartFlagCount];

namespace {

constexpr int kMaxRateEntry = kUsartRateCount - 1;
constexpr char kMaxSuffix[] = " MAX";
constexpr char kNoValue[] = "-";
constexpr char kErrorPattern[] = "%f%%";

// Signed 32-bit arithmetic that wraps, as the register maths on the target does.
int32_t Mul32(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}
int32_t Sub32(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
// Integer division truncating toward zero; the one overflowing case wraps.
int32_t Div32(int32_t a, int32_t b) {
  if (b == -1) return Sub32(0, a);
  return a / b;
}

}  // namespace

int32_t TruncateHalfUp(double x) {
  const long double sum = static_cast<long double>(x) + 0.5L;
  if (!(std::fabs(sum) < 9.2e18L)) return 0;  // never reached by CalcUSART
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(static_cast<int64_t>(sum))));
}

TUsartMode ComputeUsartMode(int32_t f, int32_t b, int32_t k, int32_t registerLimit) {
  TUsartMode m;
  if (b > 0) {
    const int32_t kb = Mul32(k, b);
    if (kb == 0) {
      // Only a rate of 2^28 or more (typed in more than 8 characters) wraps
      // to 0; the x87 with its exceptions enabled would fault here.
      if (f == 0) throw EInvalidOp(kSInvalidOp);
      throw EZeroDivide(kSZeroDivide);
    }
    const long double quotient = static_cast<long double>(f) / static_cast<long double>(kb);
    m.x = static_cast<double>(quotient - 1.0L);
  } else {
    m.x = -1.0;
  }
  m.n = TruncateHalfUp(m.x);
  // Comparisons with a value that is not a number fail, so NaN is invalid.
  m.valid = m.n >= 0 && m.x >= 0.0 && m.n < registerLimit;
  if (m.valid) {
    m.actual = Div32(f, Mul32(k, m.n + 1));
    const int32_t numerator = Mul32(Sub32(m.actual, b), 100);
    m.error = static_cast<double>(static_cast<long double>(numerator) / static_cast<long double>(b));
  }
  return m;
}

void CalcUSART(TUsartTableView& view) {
  const TBaudFamilyInfo& family = FamilyInfo(view.Model().family);
  const int frameBits = view.FrameBits();
  int32_t rates[kUsartRateCount];

  // 1. The user's rate; a rejected text raises before anything has changed.
  const std::string baudText = view.BaudRateText();
  rates[0] = baudText.empty() ? 0 : TextToInteger(baudText);
  // 2. The standard rates.
  for (int i = 0; i < 16; ++i) rates[i + 1] = kStandardBaudRates[i];
  // 3. Clear all flags.
  for (int i = 0; i < kUsartFlagCount; ++i) {
    ExactU2X0[i] = false;
    ExactU2X1[i] = false;
  }
  // 4. The frequency; a rejected text raises with the flags cleared.
  const std::string frequencyText = view.FrequencyText();
  const int32_t f = frequencyText.empty() ? 0 : TextToInteger(frequencyText);
  rates[kMaxRateEntry] = Div32(f, family.maxRateDivisor);

  // 5. The rows.
  const std::string noValue = kNoValue;
  std::string text;
  for (int i = 0; i < kUsartRateCount; ++i) {
    const int row = i + 1;
    const int32_t b = rates[i];
    text = IntegerToText(b);
    if (i == kMaxRateEntry) text += kMaxSuffix;
    view.SetCell(0, row, text);

    TUsartMode modes[2];
    for (int group = 0; group < 2; ++group) {
      const int column = 1 + 2 * group;
      TUsartMode& m = modes[group];
      m = ComputeBaudGroup(family.family, group, f, b, frameBits);
      if (!m.valid) {
        view.SetCell(column, row, noValue);
        view.SetCell(column + 1, row, noValue);
        continue;
      }
      view.SetCell(column, row, RegisterCellText(family.family, group, m, false));
      view.SetCell(column + 1, row, FormatText(kErrorPattern, {m.error}));
      if (group == 0) {
        // e * 100 with a 64-bit mantissa, truncated: |e| < 0.01 percent.
        ExactU2X0[i] = std::trunc(static_cast<long double>(m.error) * 100.0L) == 0.0L;
      } else {
        ExactU2X1[i] = m.error == 0.0;
      }
    }
    view.SetRowValues(row, f, b, modes[0], modes[1]);
  }
}
