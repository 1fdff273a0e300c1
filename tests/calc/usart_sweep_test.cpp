// The recalculation against an independent formulation: every cell and flag of the
// 18 rows, for many frequency/rate pairs, against the exact arithmetic of
// ExactUsart.h, not the production code's floating point.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "CalcTestSupport.h"
#include "ExactUsart.h"
#include "calc/Usart.h"
#include "calc/UsartReport.h"
#include "calc/UsartTable.h"

namespace {

using exact::ExpectedMode;

int checkedRows = 0;

// CalcUSART on the texts against the exact expectation for f and b.
void Check(int64_t f, int64_t b, const std::string& fText, const std::string& bText) {
  TUsartTable table(fText, bText);
  CalcUSART(table);
  ASSERT_EQ(exact::TableMismatch(table, ExactU2X0, ExactU2X1, f, b, '.'), "")
      << "f=\"" << fText << "\" b=\"" << bText << "\"";
  checkedRows += 18;
}

void Check(int64_t f, int64_t b) { Check(f, b, std::to_string(f), std::to_string(b)); }

class UsartSweep : public ::testing::Test {
 protected:
  LocaleFormatsGuard guard_{'.'};
};

TEST_F(UsartSweep, ExpectationReproducesTheWorkedExample) {
  EXPECT_EQ(ExpectedMode(16000000, 4800, 16, '.').error, "0.15%");
  EXPECT_EQ(ExpectedMode(16000000, 2400, 16, '.').error, "-0.08%");
  EXPECT_TRUE(ExpectedMode(16000000, 2400, 8, '.').exact);
  EXPECT_TRUE(ExpectedMode(16000000, 100001, 16, '.').exact);
  EXPECT_FALSE(ExpectedMode(16000000, 100001, 8, '.').exact);
  EXPECT_EQ(ExpectedMode(16000000, 2000000, 16, '.').ubbr, "-");
  EXPECT_EQ(ExpectedMode(12, 1, 8, '.').error, "-100.00%");
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

// The survey's lines are the typed rate at 1.0000, 1.8432, 2.0000, 3.6864,
// 4.0000, 7.3728, 8.0000, 11.0592, 14.7456, 16.0000, 18.4320 and 20.0000 MHz.
TEST_F(UsartSweep, CrystalSurvey) {
  const int64_t crystals[] = {1000000, 1843200,  2000000,  3686400,  4000000,  7372800,
                              8000000, 11059200, 14745600, 16000000, 18432000, 20000000};
  const struct {
    const char* text;
    int64_t rate;
  } rates[] = {{"115200", 115200}, {"$1C200", 115200}, {"9600", 9600}, {"31250", 31250},
               {"2500000", 2500000}, {"1", 1}, {"", 0}, {"-9600", -9600}};
  for (const auto& r : rates) {
    const TUsartReport survey = CrystalSurvey(r.text, {});
    ASSERT_EQ(survey.lines.size(), std::size(crystals));
    for (size_t i = 0; i < std::size(crystals); ++i) {
      const TReportLine& line = survey.lines[i];
      EXPECT_EQ(line.label, std::to_string(crystals[i]));
      for (const int u2x : {0, 1}) {
        const exact::Mode expected = ExpectedMode(crystals[i], r.rate, u2x == 0 ? 16 : 8, '.');
        const TReportMode& shown = line.modes[u2x];
        EXPECT_TRUE(shown.ubbr == expected.ubbr && shown.error == expected.error && shown.exact == expected.exact)
            << r.text << " at " << crystals[i] << " U2X = " << u2x << ": expected " << expected.ubbr << " "
            << expected.error << " " << expected.exact << ", got " << shown.ubbr << " " << shown.error << " "
            << shown.exact;
      }
    }
  }
}

}  // namespace
