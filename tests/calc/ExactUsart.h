// The recalculation worked out again without floating point: rationals
// rounded to 64 and 53 significant bits by hand, 32-bit wrapping where the
// register maths wraps. The sweep test and the recalculation fuzzer hold
// CalcUSART's cells and flags against it. No gtest here: the fuzzers use it.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>

#include "calc/UsartTable.h"

namespace exact {

using u128 = unsigned __int128;

// A binary floating-point value sign * m * 2^e, m >= 0.
struct Binary {
  bool negative = false;
  u128 m = 0;
  int e = 0;
};

inline int BitLength(u128 v) {
  int n = 0;
  while (v != 0) {
    v >>= 1;
    ++n;
  }
  return n;
}

// Rounds to `bits` significant bits, ties to even.
inline Binary Round(Binary v, int bits) {
  const int length = BitLength(v.m);
  if (length <= bits) return v;
  const int shift = length - bits;
  const u128 kept = v.m >> shift;
  const u128 rest = v.m & ((static_cast<u128>(1) << shift) - 1);
  const u128 half = static_cast<u128>(1) << (shift - 1);
  v.m = kept + ((rest > half || (rest == half && (kept & 1) != 0)) ? 1 : 0);
  v.e += shift;
  return v;
}

// p / q (q != 0, both within 32 bits) rounded to `bits` significant bits: a
// quotient with at least bits + 1 bits and a sticky bit for the remainder.
inline Binary Quotient(int64_t p, int64_t q, int bits) {
  Binary r;
  if (p == 0) return r;
  r.negative = (p < 0) != (q < 0);
  const u128 a = static_cast<u128>(p < 0 ? -p : p);
  const u128 d = static_cast<u128>(q < 0 ? -q : q);
  const int s = bits + 2 + BitLength(d) - BitLength(a);
  const u128 scaled = a << s;
  r.m = scaled / d * 2 + (scaled % d != 0 ? 1 : 0);
  r.e = -(s + 1);
  return Round(r, bits);
}

// v + c, exactly.
inline Binary AddInteger(Binary v, int64_t c) {
  if (v.e > 0) {
    v.m <<= v.e;
    v.e = 0;
  }
  const int shift = -v.e;
  const __int128 a = (v.negative ? -static_cast<__int128>(v.m) : static_cast<__int128>(v.m)) +
                     static_cast<__int128>(c) * (static_cast<__int128>(1) << shift);
  Binary r;
  r.negative = a < 0;
  r.m = static_cast<u128>(a < 0 ? -a : a);
  r.e = v.e;
  return r;
}

// The low 32 bits of v as a signed value: the register maths' wrapping.
inline int64_t Wrap32(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(v)); }

// One mode's two cells and its exact-match flag.
struct Mode {
  std::string ubbr = "-";
  std::string error = "-";
  bool exact = false;
};

// The cells of a valid setting shown as `value`, whose error has the
// numerator (actual - b) * 100: the normal-speed exactness test for the
// first group, the double-speed one for the second.
inline Mode ValidMode(std::string value, int64_t numerator, int64_t b, bool firstGroup, char separator) {
  Mode mode;
  const Binary e = Round(Quotient(numerator, b, 64), 53);
  // |e| * 100 rounded half away from zero, exactly.
  u128 hundredths = 0;
  if (e.m != 0) {
    if (e.e >= 0) {
      hundredths = (e.m * 100) << e.e;
    } else {
      hundredths = (e.m * 200 + (static_cast<u128>(1) << -e.e)) >> (-e.e + 1);
    }
  }
  const auto h = static_cast<int64_t>(hundredths);
  mode.ubbr = std::move(value);
  mode.error = (h != 0 && e.negative ? "-" : "") + std::to_string(h / 100);
  if (separator != '\0') mode.error += separator;
  mode.error += std::to_string(100 + h % 100).substr(1) + "%";
  if (firstGroup) {
    // trunc(e * 100) == 0  <=>  |e| * 100 < 1.
    mode.exact = e.m == 0 || (e.e < 0 && e.m * 100 < (static_cast<u128>(1) << -e.e));
  } else {
    mode.exact = e.m == 0;
  }
  return mode;
}

// Frequency f, rate b and sample factor k (16 or 8), register values below
// `limit`, the error written with `separator` ('\0': none). k * b must not
// wrap to 0 (that faults instead).
inline Mode ExpectedMode(int64_t f, int64_t b, int64_t k, char separator, int64_t limit = 4096) {
  Mode mode;
  if (b <= 0) return mode;  // x = -1
  // x = f / (k b) - 1: quotient and difference to 64 bits, then to 53.
  const Binary x = Round(Round(AddInteger(Quotient(f, Wrap32(k * b), 64), -1), 64), 53);
  if (x.negative && x.m != 0) return mode;  // x < 0
  // n = trunc(x + 1/2), exactly.
  Binary half = x;
  if (half.e > -1) {
    half.m <<= (half.e + 1);
    half.e = -1;
  }
  const int64_t n = static_cast<int64_t>((half.m + (static_cast<u128>(1) << (-half.e - 1))) >> -half.e);
  if (n >= limit) return mode;
  const int64_t actual = f / (k * (n + 1));
  const int64_t numerator = Wrap32(Wrap32(actual - b) * 100);
  return ValidMode(std::to_string(n), numerator, b, k == 16, separator);
}

// The rate list, written out again rather than taken from the code under test.
inline constexpr int64_t kStandardRates[16] = {2400,   4800,   9600,    14400,   19200,  28800,
                                               38400,  57600,  76800,   115200,  230400, 250000,
                                               500000, 1000000, 2000000, 2500000};

// How the table of a run of CalcUSART on frequency f and rate b differs from
// the exact expectation: the first row that differs, expected and shown, or
// "" when every cell of rows 1 to 18 and every flag is as expected.
inline std::string TableMismatch(const TUsartTable& table, const bool* exact0, const bool* exact1,
                                 int64_t f, int64_t b, char separator) {
  for (int i = 0; i < 18; ++i) {
    const int64_t rate = i == 0 ? b : i == 17 ? f / 8 : kStandardRates[i - 1];
    const std::string rateText = std::to_string(rate) + (i == 17 ? " MAX" : "");
    const Mode normal = ExpectedMode(f, rate, 16, separator);
    const Mode fast = ExpectedMode(f, rate, 8, separator);
    const int row = i + 1;
    if (table.Cell(0, row) == rateText && table.Cell(1, row) == normal.ubbr &&
        table.Cell(2, row) == normal.error && table.Cell(3, row) == fast.ubbr &&
        table.Cell(4, row) == fast.error && exact0[i] == normal.exact && exact1[i] == fast.exact) {
      continue;
    }
    std::ostringstream out;
    out << "row " << row << ": expected " << rateText << " | " << normal.ubbr << " " << normal.error
        << " " << normal.exact << " | " << fast.ubbr << " " << fast.error << " " << fast.exact
        << ", got " << table.Cell(0, row) << " | " << table.Cell(1, row) << " " << table.Cell(2, row)
        << " " << exact0[i] << " | " << table.Cell(3, row) << " " << table.Cell(4, row) << " "
        << exact1[i];
    return out.str();
  }
  for (int i = 18; i < 20; ++i) {
    if (exact0[i] || exact1[i]) return "flag " + std::to_string(i) + " set";
  }
  return "";
}

}  // namespace exact
