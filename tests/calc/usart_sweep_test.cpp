// The recalculation against an independent formulation: every cell and flag of the
// 18 rows, for many frequency/rate pairs, computed here with exact integer
// arithmetic (rationals rounded to 64 and 53 significant bits by hand), not
// with the production code's floating point.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "CalcTestSupport.h"
#include "calc/Usart.h"
#include "calc/UsartTable.h"

namespace {

using u128 = unsigned __int128;

// A binary floating-point value sign * m * 2^e, m >= 0.
struct Binary {
  bool negative = false;
  u128 m = 0;
  int e = 0;
};

int BitLength(u128 v) {
  int n = 0;
  while (v != 0) {
    v >>= 1;
    ++n;
  }
  return n;
}

// Rounds to `bits` significant bits, ties to even.
Binary Round(Binary v, int bits) {
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
Binary Quotient(int64_t p, int64_t q, int bits) {
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
Binary AddInteger(Binary v, int64_t c) {
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
Mode ExpectedMode(int64_t f, int64_t b, int64_t k) {
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
  const int64_t n = static_cast<int64_t>((half.m + (static_cast<u128>(1) << (-half.e - 1))) >> -half.e);
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
const int64_t kRates[16] = {2400,   4800,   9600,   14400,  19200,   28800,   38400,   57600,
                            76800,  115200, 230400, 250000, 500000,  1000000, 2000000, 2500000};

int checkedRows = 0;

// CalcUSART on the texts against the exact expectation for f and b.
void Check(int64_t f, int64_t b, const std::string& fText, const std::string& bText) {
  TUsartTable table(fText, bText);
  CalcUSART(table);
  for (int i = 0; i < 18; ++i) {
    const int64_t rate = i == 0 ? b : i == 17 ? f / 8 : kRates[i - 1];
    const std::string rateText = std::to_string(rate) + (i == 17 ? " MAX" : "");
    const Mode normal = ExpectedMode(f, rate, 16);
    const Mode fast = ExpectedMode(f, rate, 8);
    const int row = i + 1;
    const bool ok = table.Cell(0, row) == rateText && table.Cell(1, row) == normal.ubbr &&
                    table.Cell(2, row) == normal.error && table.Cell(3, row) == fast.ubbr &&
                    table.Cell(4, row) == fast.error && ExactU2X0[i] == normal.exact &&
                    ExactU2X1[i] == fast.exact;
    ASSERT_TRUE(ok) << "f=\"" << fText << "\" b=\"" << bText << "\" row " << row << ": expected "
                    << rateText << " | " << normal.ubbr << " " << normal.error << " " << normal.exact
                    << " | " << fast.ubbr << " " << fast.error << " " << fast.exact << ", got "
                    << table.Cell(0, row) << " | " << table.Cell(1, row) << " " << table.Cell(2, row)
                    << " " << ExactU2X0[i] << " | " << table.Cell(3, row) << " " << table.Cell(4, row)
                    << " " << ExactU2X1[i];
    ++checkedRows;
  }
  for (int i = 18; i < 20; ++i) ASSERT_FALSE(ExactU2X0[i] || ExactU2X1[i]);
}

void Check(int64_t f, int64_t b) { Check(f, b, std::to_string(f), std::to_string(b)); }

class UsartSweep : public ::testing::Test {
 protected:
  LocaleFormatsGuard guard_{'.'};
};

TEST_F(UsartSweep, ExpectationReproducesTheWorkedExample) {
  EXPECT_EQ(ExpectedMode(16000000, 4800, 16).error, "0.15%");
  EXPECT_EQ(ExpectedMode(16000000, 2400, 16).error, "-0.08%");
  EXPECT_TRUE(ExpectedMode(16000000, 2400, 8).exact);
  EXPECT_TRUE(ExpectedMode(16000000, 100001, 16).exact);
  EXPECT_FALSE(ExpectedMode(16000000, 100001, 8).exact);
  EXPECT_EQ(ExpectedMode(16000000, 2000000, 16).ubbr, "-");
  EXPECT_EQ(ExpectedMode(12, 1, 8).error, "-100.00%");
}

TEST_F(UsartSweep, SmallFrequenciesAgainstSmallRates) {
  for (int64_t f = -20; f <= 400; ++f) {
    for (int64_t b = -2; b <= 30; ++b) Check(f, b);
  }
}

TEST_F(UsartSweep, CrystalFrequenciesAgainstCommonRates) {
  const int64_t crystals[] = {1000000,  1843200,  2000000,  3276800,  3686400,  4000000,
                              4915200,  6000000,  7372800,  8000000,  9216000,  10000000,
                              11059200, 12000000, 14318180, 14745600, 16000000, 18432000,
                              20000000, 24000000, 25000000, 32000000, 99999999, 32768};
  const int64_t rates[] = {1,     50,     75,     110,    300,    600,    1200,   1800,
                           2400,  31250,  62500,  100001, 128000, 153600, 256000, 460800,
                           921600, 1500000, 3000000, 4000000, 99999999, 12345678};
  for (int64_t f : crystals) {
    for (int64_t b : rates) Check(f, b);
  }
}

TEST_F(UsartSweep, RegisterLimitAndRoundingBoundaries) {
  std::mt19937 rng(12345);
  for (int64_t k : {16, 8}) {
    for (int64_t b = 1; b <= 1500; b += 1 + static_cast<int64_t>(rng() % 5)) {
      const int64_t kb = k * b;
      // x around 4095.5 (n = 4095 / 4096) and around small n + 0.5.
      for (int64_t n : {int64_t{0}, int64_t{1}, int64_t{2}, int64_t{7}, int64_t{103}, int64_t{4094},
                        int64_t{4095}, int64_t{4096}}) {
        const int64_t tie = kb * (2 * n + 3);  // 2 f at x = n + 0.5
        for (int64_t d = -3; d <= 3; ++d) {
          const int64_t f = tie / 2 + d;
          if (f > 0 && f < 100000000) Check(f, b);
          const int64_t g = kb * (n + 1) + d;  // x near n
          if (g > 0 && g < 100000000) Check(g, b);
        }
      }
    }
  }
}

TEST_F(UsartSweep, RandomPairs) {
  std::mt19937_64 rng(20240611);
  auto logUniform = [&](int64_t max) {
    const int digits = 1 + static_cast<int>(rng() % static_cast<uint64_t>(std::to_string(max).size()));
    int64_t limit = 1;
    for (int i = 0; i < digits; ++i) limit *= 10;
    return static_cast<int64_t>(rng() % static_cast<uint64_t>(std::min(limit, max + 1)));
  };
  for (int i = 0; i < 20000; ++i) {
    int64_t f = logUniform(99999999);
    int64_t b = logUniform(99999999);
    if (rng() % 50 == 0) f = -f;
    if (rng() % 50 == 0) b = -b;
    Check(f, b);
  }
}

TEST_F(UsartSweep, TextsAsTyped) {
  // Leading zeros, a plus sign, blanks, empty fields, hexadecimal.
  Check(16000000, 123, "16000000", "00123");
  Check(16000000, 9600, "016000000", "+9600");
  Check(16000000, 9600, "  16000000", "9600");
  Check(0, 9600, "", "9600");
  Check(16000000, 0, "16000000", "");
  Check(0, 0, "", "");
  Check(16, 255, "$10", "xFF");
  Check(16000000, -9600, "16000000", "-9600");
  EXPECT_GT(checkedRows, 0);
}

}  // namespace
