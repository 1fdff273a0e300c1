#include "calc/BaudGenerators.h"

#include <cstdlib>
#include <utility>

#include "calc/NumberText.h"

namespace {

using F = TBaudFamily;

constexpr int32_t kNormalSamples = 16;  // U2X = 0, CLK2X = 0
constexpr int32_t kDoubleSamples = 8;   // U2X = 1, CLK2X = 1
constexpr int32_t kUart8Limit = 256;    // 8-bit UBRR
constexpr int32_t kTwelveBitLimit = 4096;

constexpr int64_t kMaxLdiv = 4095;
constexpr int64_t kLinResetLbt = 32;  // the only LBT in LIN mode
constexpr int64_t kMinLbt = 8;
constexpr int64_t kMaxLbt = 63;
constexpr int32_t kDoubleSpeedLbt = 16;  // below, the receiver has double-speed margins
constexpr int32_t kLdisr = 0x80;         // LINBTR: LBT takes effect

constexpr int64_t kFractionScale = 64;  // BAUD has 6 fraction bits
constexpr int64_t kMinBaud = 64;        // an integer part of at least 1
constexpr int64_t kMaxBaud = 65535;

constexpr int kMinBscale = -7;
constexpr int kMaxBscale = 7;
constexpr int64_t kMaxBsel = 4095;

constexpr char kNoValue[] = "-";

// Register bytes: a 16-bit value's high and low byte; BAUDCTRLB holds
// BSCALE's 4 bits above BSEL's top 4.
constexpr int kByteBits = 8;
constexpr int32_t kByteMask = 0xFF;
constexpr int32_t kNibbleMask = 0xF;
constexpr int kBscaleShift = 4;
// Hexadecimal digits of the registers' widths: 4 bits, 8, 12 and 16.
constexpr int kNibbleDigits = 1;
constexpr int kByteDigits = 2;
constexpr int kTwelveBitDigits = 3;
constexpr int kWordDigits = 4;

int32_t Samples(int group) { return group == 0 ? kNormalSamples : kDoubleSamples; }

// A valid setting whose exact rate is rateNumerator / rateDenominator: the
// actual rate truncated, and its error as the ATmega128 table takes it.
TUsartMode Setting(int64_t value, int64_t scale, int64_t rateNumerator, int64_t rateDenominator,
                   int32_t b) {
  TUsartMode m;
  m.valid = true;
  m.n = static_cast<int32_t>(value);
  m.scale = static_cast<int32_t>(scale);
  const int64_t actual = rateNumerator / rateDenominator;
  m.actual = static_cast<int32_t>(actual);
  m.error = static_cast<double>(static_cast<long double>((actual - b) * 100) / b);
  return m;
}

// round(f / (lbt b) - 1) half up, or -1 when the rate is above f / lbt.
int64_t Ldiv(int64_t f, int64_t b, int64_t lbt) {
  if (f < lbt * b) return -1;
  return (2 * f - lbt * b) / (2 * lbt * b);
}

// The sign of |p / q - b| - |r / s - b|, exactly.
int CompareDistance(int64_t p, int64_t q, int64_t r, int64_t s, int64_t b) {
  using i128 = __int128;
  const i128 left = static_cast<i128>(std::llabs(p - b * q)) * s;
  const i128 right = static_cast<i128>(std::llabs(r - b * s)) * q;
  return left < right ? -1 : left > right ? 1 : 0;
}

TUsartMode LinGroup(int group, int64_t f, int64_t b) {
  if (f <= 0 || b <= 0) return {};
  const int64_t first = group == 0 ? kLinResetLbt : kMinLbt;
  const int64_t last = group == 0 ? kLinResetLbt : kMaxLbt;
  int64_t bestLbt = 0, bestLdiv = -1;
  for (int64_t lbt = first; lbt <= last; ++lbt) {
    const int64_t ldiv = Ldiv(f, b, lbt);
    if (ldiv < 0 || ldiv > kMaxLdiv) continue;
    // On a tie the larger LBT, more samples.
    if (bestLdiv < 0 || CompareDistance(f, lbt * (ldiv + 1), f, bestLbt * (bestLdiv + 1), b) <= 0) {
      bestLbt = lbt;
      bestLdiv = ldiv;
    }
  }
  if (bestLdiv < 0) return {};
  return Setting(bestLdiv, bestLbt, f, bestLbt * (bestLdiv + 1), static_cast<int32_t>(b));
}

TUsartMode FractionalGroup(int group, int64_t f, int64_t b) {
  if (f <= 0 || b <= 0) return {};
  const int64_t s = Samples(group);
  const int64_t baud = (2 * kFractionScale * f + s * b) / (2 * s * b);
  if (baud < kMinBaud || baud > kMaxBaud) return {};
  return Setting(baud, 0, kFractionScale * f, s * baud, static_cast<int32_t>(b));
}

// One BSEL/BSCALE pair and its exact rate numerator / denominator.
struct TXmegaPair {
  int64_t bsel, bscale, numerator, denominator;
};

TXmegaPair XmegaPair(int64_t f, int64_t s, int64_t bsel, int bscale) {
  if (bscale >= 0) return {bsel, bscale, f, (int64_t{1} << bscale) * s * (bsel + 1)};
  const int64_t p = int64_t{1} << -bscale;
  return {bsel, bscale, f * p, s * (bsel + p)};
}

// 2^|BSCALE| at most half the clock cycles of a frame: frameBits *
// (denominator / numerator) * f / 2. (BSEL 0 is legal only with BSCALE 0,
// but its rate f / (2^BSCALE S) or f / S is also that of BSCALE 0 with BSEL
// 2^BSCALE - 1 or 0, which wins the tie: the search needs no test for it.)
bool LegalForFrame(const TXmegaPair& pair, int64_t f, int frameBits) {
  const int64_t p = int64_t{1} << std::llabs(pair.bscale);
  using i128 = __int128;
  return static_cast<i128>(2 * p) * pair.numerator <=
         static_cast<i128>(frameBits) * pair.denominator * f;
}

TUsartMode XmegaGroup(int group, int64_t f, int64_t b, int frameBits) {
  const int64_t s = Samples(group);
  // A rate above f / S needs no test of its own: it leaves every exact BSEL
  // negative, so the search finds no pair.
  if (b <= 0) return {};
  bool found = false;
  TXmegaPair best{};
  for (int bscale = kMinBscale; bscale <= kMaxBscale; ++bscale) {
    // The exact BSEL as numerator / denominator.
    int64_t numerator, denominator;
    if (bscale >= 0) {
      numerator = f - (int64_t{1} << bscale) * s * b;
      denominator = (int64_t{1} << bscale) * s * b;
    } else {
      const int64_t p = int64_t{1} << -bscale;
      numerator = p * (f - s * b);
      denominator = s * b;
    }
    if (numerator < 0) continue;
    const int64_t floor = numerator / denominator;
    const int64_t ceiling = floor + (numerator % denominator != 0 ? 1 : 0);
    for (const int64_t bsel : {floor, ceiling}) {
      if (bsel > kMaxBsel) continue;
      const TXmegaPair pair = XmegaPair(f, s, bsel, bscale);
      if (!LegalForFrame(pair, f, frameBits)) continue;
      const int order =
          found ? CompareDistance(pair.numerator, pair.denominator, best.numerator, best.denominator, b) : -1;
      if (order < 0 || (order == 0 && std::pair(std::llabs(pair.bscale), pair.bsel) <
                                          std::pair(std::llabs(best.bscale), best.bsel))) {
        best = pair;
        found = true;
      }
    }
  }
  if (!found) return {};
  return Setting(best.bsel, best.bscale, best.numerator, best.denominator, static_cast<int32_t>(b));
}

}  // namespace

TUsartMode ComputeBaudGroup(TBaudFamily family, int group, int32_t f, int32_t b, int frameBits) {
  switch (family) {
    case F::kClassic: return ComputeUsartMode(f, b, Samples(group));
    case F::kUart8:
    case F::kUart12:
      if (group != 0) return {};
      return ComputeUsartMode(f, b, kNormalSamples, family == F::kUart8 ? kUart8Limit : kTwelveBitLimit);
    case F::kLin: return LinGroup(group, f, b);
    case F::kFractional: return FractionalGroup(group, f, b);
    case F::kXmega: return XmegaGroup(group, f, b, frameBits);
  }
  return {};
}

bool JudgedAsDoubleSpeed(TBaudFamily family, int group, const TUsartMode& mode) {
  if (family == F::kLin) return mode.valid && mode.scale < kDoubleSpeedLbt;
  return group == 1;
}

std::string HexText(int32_t value, int digits) {
  return FormatText("0x%.*x", {static_cast<int32_t>(digits), value});
}

std::string RegisterCellText(TBaudFamily family, int group, const TUsartMode& mode, bool hex) {
  if (!mode.valid) return kNoValue;
  const TRegisterField first = RegisterFields(family, mode).front();
  std::string text = hex ? HexText(first.value, first.hexDigits) : IntegerToText(first.value);
  // The scale is part of the setting where the user chooses it.
  if (family == F::kXmega || (family == F::kLin && group == 1)) (text += '/') += IntegerToText(mode.scale);
  return text;
}

std::vector<TRegisterField> RegisterFields(TBaudFamily family, const TUsartMode& mode) {
  const int32_t n = mode.n;
  const int32_t high = n >> kByteBits;
  const int32_t low = n & kByteMask;
  switch (family) {
    case F::kClassic:
    case F::kUart8:
    case F::kUart12:
      return {{"ubbr", "UBRR", n, family == F::kUart8 ? kByteDigits : kTwelveBitDigits, false},
              {"ubrrh", "UBRRH", high, kNibbleDigits, true},
              {"ubrrl", "UBRRL", low, kByteDigits, true}};
    case F::kFractional:
      return {{"baud", "BAUD", n, kWordDigits, false},
              {"baudh", "BAUDH", high, kByteDigits, true},
              {"baudl", "BAUDL", low, kByteDigits, true}};
    case F::kXmega:
      return {{"bsel", "BSEL", n, kTwelveBitDigits, false},
              {"bscale", "BSCALE", mode.scale, 0, false},
              {"baudctrla", "BAUDCTRLA", low, kByteDigits, true},
              {"baudctrlb", "BAUDCTRLB", (mode.scale & kNibbleMask) << kBscaleShift | high, kByteDigits, true}};
    case F::kLin:
      return {{"ldiv", "LDIV", n, kTwelveBitDigits, false},
              {"lbt", "LBT", mode.scale, 0, false},
              {"linbrrh", "LINBRRH", high, kNibbleDigits, true},
              {"linbrrl", "LINBRRL", low, kByteDigits, true},
              {"linbtr", "LINBTR", (mode.scale != kLinResetLbt ? kLdisr : 0) | mode.scale, kByteDigits, true}};
  }
  return {};
}
