// The result table computed again, independently of the production code:
// exact integer arithmetic, with the rationals rounded to 64 and 53
// significant bits by hand where the recalculation rounds in floating point.
// Shared by the calculation sweep and the window's random-input test.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

namespace usart_expectation {

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

// p / q (q > 0) rounded to `bits` significant bits: a quotient with at least
// bits + 1 bits and a sticky bit for the remainder below it.
inline Binary Quotient(int64_t p, int64_t q, int bits) {
  Binary r;
  if (p == 0) return r;
  r.negative = p < 0;
  const u128 a = static_cast<u128>(p < 0 ? -p : p);
  const int s = bits + 2 + BitLength(static_cast<u128>(q)) - BitLength(a);
  const u128 scaled = a << s;
  const u128 quotient = scaled / static_cast<u128>(q);
  const bool sticky = scaled % static_cast<u128>(q) != 0;
  r.m = quotient * 2 + (sticky ? 1 : 0);
  r.e = -(s + 1);
  return Round(r, bits);
}

// v + c * 2^0 for a small integer c, exactly (v.e <= 0 here).
inline Binary AddInteger(Binary v, int64_t c) {
  EXPECT_LE(v.e, 0);
  const int shift = -v.e;
  const __int128 a = (v.negative ? -static_cast<__int128>(v.m) : static_cast<__int128>(v.m)) +
                     static_cast<__int128>(c) * (static_cast<__int128>(1) << shift);
  Binary r;
  r.negative = a < 0;
  r.m = static_cast<u128>(a < 0 ? -a : a);
  r.e = v.e;
  return r;
}

struct Mode {
  std::string ubbr = "-";
  std::string error = "-";
  bool exact = false;
};

// Step 5.2 for one mode, exactly.
inline Mode ExpectedMode(int64_t f, int64_t b, int64_t k) {
  Mode mode;
  if (b <= 0) return mode;  // x = -1
  // x = f / (k b) - 1: quotient and difference to 64 bits, then to 53.
  const Binary x = Round(Round(AddInteger(Quotient(f, k * b, 64), -1), 64), 53);
  if (x.negative && x.m != 0) return mode;  // x < 0
  // n = trunc(x + 1/2), exactly.
  Binary half = x;
  if (half.e > -1) {
    half.m <<= (half.e + 1);
    half.e = -1;
  }
  const int64_t n =
      static_cast<int64_t>((half.m + (static_cast<u128>(1) << (-half.e - 1))) >> -half.e);
  if (n >= 4096) return mode;
  const int64_t actual = f / (k * (n + 1));
  const int64_t numerator = (actual - b) * 100;
  EXPECT_LT(numerator < 0 ? -numerator : numerator, int64_t{1} << 31) << "32-bit range";
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
  mode.ubbr = std::to_string(n);
  const std::string fraction = std::to_string(100 + h % 100).substr(1);
  mode.error = (h != 0 && e.negative ? "-" : "") + std::to_string(h / 100) + "." + fraction + "%";
  if (k == 16) {
    // trunc(e * 100) == 0  <=>  |e| * 100 < 1.
    mode.exact = e.m == 0 || (e.e < 0 && e.m * 100 < (static_cast<u128>(1) << -e.e));
  } else {
    mode.exact = e.m == 0;
  }
  return mode;
}

// The rate list, written out again rather than taken from the code under test.
inline constexpr int64_t kRates[16] = {2400,   4800,    9600,    14400,  19200,  28800,
                                       38400,  57600,   76800,   115200, 230400, 250000,
                                       500000, 1000000, 2000000, 2500000};

// One row of the table as the grid shows it.
struct Row {
  std::string rate;
  Mode normal;  // U2X = 0
  Mode fast;    // U2X = 1
};

// Row i (0..17) for frequency f and rate b: the rate itself, the sixteen
// standard rates, then the highest reachable rate f / 8.
inline Row ExpectedRow(int64_t f, int64_t b, int i) {
  const int64_t rate = i == 0 ? b : i == 17 ? f / 8 : kRates[i - 1];
  return {std::to_string(rate) + (i == 17 ? " MAX" : ""), ExpectedMode(f, rate, 16),
          ExpectedMode(f, rate, 8)};
}

}  // namespace usart_expectation
