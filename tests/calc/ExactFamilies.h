// The baud-rate generators of every family worked out again, in 128-bit
// integers and with searches phrased differently from the program's: the
// register value as the integer whose distance to the exact one is at most
// a half (or below one, for the XMEGA's two neighbours), rates compared by
// cross-multiplied distances. The family tests and the recalculation fuzzer
// hold CalcUSART's cells and flags against it. No gtest here.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <tuple>

#include "ExactUsart.h"
#include "calc/AvrModels.h"
#include "calc/UsartTable.h"

namespace exact {

using i128 = __int128;

inline i128 Abs(i128 v) { return v < 0 ? -v : v; }

// |p/q - b| against |r/s - b|: negative when the first is nearer.
inline int Closer(i128 p, i128 q, i128 r, i128 s, i128 b) {
  const i128 left = Abs(p - b * q) * s;
  const i128 right = Abs(r - b * s) * q;
  return left < right ? -1 : left > right ? 1 : 0;
}

// The integer nearest p / q (p >= 0, q > 0), halves upward: the n with
// n - 1/2 <= p/q < n + 1/2, that is 2nq - q <= 2p < 2nq + q.
inline i128 NearestHalfUp(i128 p, i128 q) {
  i128 n = p / q;
  while (2 * p >= 2 * n * q + q) ++n;
  while (2 * p < 2 * n * q - q) --n;
  return n;
}

inline Mode Setting(const std::string& text, i128 rateP, i128 rateQ, int64_t b, int group, char separator) {
  const auto actual = static_cast<int64_t>(rateP / rateQ);
  return ValidMode(text, (actual - b) * 100, b, group == 0, separator);
}

inline Mode Fractional(int64_t f, int64_t b, int group, char separator) {
  if (f <= 0 || b <= 0) return {};
  const i128 s = group == 0 ? 16 : 8;
  const i128 baud = NearestHalfUp(i128{64} * f, s * b);
  if (baud < 64 || baud > 65535) return {};
  return Setting(std::to_string(static_cast<int64_t>(baud)), i128{64} * f, s * baud, b, group, separator);
}

// LBT 32 alone, or the best of 8..63 with ties to the larger LBT.
inline Mode Lin(int64_t f, int64_t b, int group, char separator) {
  if (f <= 0 || b <= 0) return {};
  i128 bestLbt = 0, bestLdiv = -1;
  for (i128 lbt = group == 0 ? 32 : 8; lbt <= (group == 0 ? 32 : 63); ++lbt) {
    if (f < lbt * b) continue;  // f / (lbt b) - 1 < 0
    const i128 ldiv = NearestHalfUp(i128{f} - lbt * b, lbt * b);
    if (ldiv > 4095) continue;
    if (bestLdiv >= 0 && Closer(f, lbt * (ldiv + 1), f, bestLbt * (bestLdiv + 1), b) > 0) continue;
    bestLbt = lbt;
    bestLdiv = ldiv;
  }
  if (bestLdiv < 0) return {};
  std::string text = std::to_string(static_cast<int64_t>(bestLdiv));
  if (group == 1) text += "/" + std::to_string(static_cast<int64_t>(bestLbt));
  return Setting(text, f, bestLbt * (bestLdiv + 1), b, group, separator);
}

// The rate of a BSEL/BSCALE pair as p / q.
inline void XmegaRate(int64_t f, i128 s, i128 bsel, int bscale, i128& p, i128& q) {
  const i128 scale = i128{1} << std::abs(bscale);
  p = bscale >= 0 ? i128{f} : f * scale;
  q = bscale >= 0 ? scale * s * (bsel + 1) : s * (bsel + scale);
}

inline Mode Xmega(int64_t f, int64_t b, int group, int frameBits, char separator) {
  const i128 s = group == 0 ? 16 : 8;
  if (b <= 0 || s * b > f) return {};
  bool found = false;
  std::tuple<i128, i128, int, i128, i128> best;  // p, q, bscale, bsel, 2^|bscale|
  for (int bscale = -7; bscale <= 7; ++bscale) {
    const i128 scale = i128{1} << std::abs(bscale);
    // The exact BSEL is e = ep / eq; its neighbours are the BSEL within 1.
    const i128 ep = bscale >= 0 ? i128{f} - scale * s * b : scale * (f - s * b);
    const i128 eq = bscale >= 0 ? scale * s * b : s * b;
    const double approximate = static_cast<double>(ep) / static_cast<double>(eq);
    for (i128 bsel = static_cast<i128>(approximate) - 2; bsel <= static_cast<i128>(approximate) + 2; ++bsel) {
      if (bsel < 0 || bsel > 4095 || Abs(bsel * eq - ep) >= eq) continue;
      if (bsel == 0 && bscale != 0) continue;
      i128 p, q;
      XmegaRate(f, s, bsel, bscale, p, q);
      // 2^|BSCALE| <= frame bits * (f / rate) / 2.
      if (2 * scale * p > i128{frameBits} * f * q) continue;
      if (found) {
        const auto [bp, bq, bs, bb, bscaleMagnitude] = best;
        const int order = Closer(p, q, bp, bq, b);
        if (order > 0 || (order == 0 && std::make_pair(scale, bsel) >= std::make_pair(bscaleMagnitude, bb))) continue;
      }
      best = {p, q, bscale, bsel, scale};
      found = true;
    }
  }
  if (!found) return {};
  const auto [p, q, bscale, bsel, magnitude] = best;
  return Setting(std::to_string(static_cast<int64_t>(bsel)) + "/" + std::to_string(bscale), p, q, b, group,
                 separator);
}

// Group `group` of `family` for clock f and rate b.
inline Mode ExpectedGroup(TBaudFamily family, int group, int64_t f, int64_t b, int frameBits, char separator) {
  switch (family) {
    case TBaudFamily::kClassic: return ExpectedMode(f, b, group == 0 ? 16 : 8, separator);
    case TBaudFamily::kUart8: return group == 0 ? ExpectedMode(f, b, 16, separator, 256) : Mode{};
    case TBaudFamily::kUart12: return group == 0 ? ExpectedMode(f, b, 16, separator) : Mode{};
    case TBaudFamily::kLin: return Lin(f, b, group, separator);
    case TBaudFamily::kFractional: return Fractional(f, b, group, separator);
    case TBaudFamily::kXmega: return Xmega(f, b, group, frameBits, separator);
  }
  return {};
}

// How a run of CalcUSART for `family` on frequency f and rate b differs from
// the exact expectation: the first row that differs, or "" when every cell
// of rows 1 to 18 and every flag is as expected.
inline std::string FamilyTableMismatch(const TUsartTable& table, const bool* exact0, const bool* exact1,
                                       TBaudFamily family, int64_t f, int64_t b, int frameBits,
                                       char separator) {
  const int64_t maxDivisor = family == TBaudFamily::kUart8 || family == TBaudFamily::kUart12 ? 16 : 8;
  for (int i = 0; i < 18; ++i) {
    const int64_t rate = i == 0 ? b : i == 17 ? f / maxDivisor : kStandardRates[i - 1];
    const std::string rateText = std::to_string(rate) + (i == 17 ? " MAX" : "");
    const Mode first = ExpectedGroup(family, 0, f, rate, frameBits, separator);
    const Mode second = ExpectedGroup(family, 1, f, rate, frameBits, separator);
    const int row = i + 1;
    if (table.Cell(0, row) == rateText && table.Cell(1, row) == first.ubbr && table.Cell(2, row) == first.error &&
        table.Cell(3, row) == second.ubbr && table.Cell(4, row) == second.error && exact0[i] == first.exact &&
        exact1[i] == second.exact) {
      continue;
    }
    std::ostringstream out;
    out << FamilyInfo(family).key << " row " << row << ": expected " << rateText << " | " << first.ubbr << " "
        << first.error << " " << first.exact << " | " << second.ubbr << " " << second.error << " "
        << second.exact << ", got " << table.Cell(0, row) << " | " << table.Cell(1, row) << " "
        << table.Cell(2, row) << " " << exact0[i] << " | " << table.Cell(3, row) << " " << table.Cell(4, row)
        << " " << exact1[i];
    return out.str();
  }
  for (int i = 18; i < 20; ++i) {
    if (exact0[i] || exact1[i]) return "flag " + std::to_string(i) + " set";
  }
  return "";
}

}  // namespace exact
