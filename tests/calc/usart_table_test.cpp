// The plain-data table and its printed forms (baudix-table), the receiver's
// verdicts, code page 1252 to UTF-8.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "CalcTestSupport.h"
#include "calc/Cp1252.h"
#include "calc/Receiver.h"
#include "calc/Usart.h"
#include "calc/UsartReport.h"
#include "calc/UsartTable.h"

namespace {

// The worked example in the CSV form.
const char kWorkedExampleCsv[] =
    "row,rate,ubbr_u2x0,error_u2x0,exact_u2x0,ubbr_u2x1,error_u2x1,exact_u2x1,ubrrh_u2x0,ubrrl_u2x0,verdict_u2x0,ubrrh_u2x1,ubrrl_u2x1,verdict_u2x1\n"
    "1,250000,3,0.00%,1,7,0.00%,1,0,3,ok,0,7,ok\n"
    "2,2400,416,-0.08%,0,832,0.00%,1,1,160,ok,3,64,ok\n"
    "3,4800,207,0.15%,0,416,-0.08%,0,0,207,ok,1,160,ok\n"
    "4,9600,103,0.16%,0,207,0.16%,0,0,103,ok,0,207,ok\n"
    "5,14400,68,0.64%,0,138,-0.08%,0,0,68,ok,0,138,ok\n"
    "6,19200,51,0.16%,0,103,0.16%,0,0,51,ok,0,103,ok\n"
    "7,28800,34,-0.80%,0,68,0.64%,0,0,34,ok,0,68,ok\n"
    "8,38400,25,0.16%,0,51,0.16%,0,0,25,ok,0,51,ok\n"
    "9,57600,16,2.12%,0,34,-0.80%,0,0,16,marginal,0,34,ok\n"
    "10,76800,12,0.16%,0,25,0.16%,0,0,12,ok,0,25,ok\n"
    "11,115200,8,-3.55%,0,16,2.12%,0,0,8,marginal,0,16,marginal\n"
    "12,230400,3,8.51%,0,8,-3.55%,0,0,3,fails,0,8,marginal\n"
    "13,250000,3,0.00%,1,7,0.00%,1,0,3,ok,0,7,ok\n"
    "14,500000,1,0.00%,1,3,0.00%,1,0,1,ok,0,3,ok\n"
    "15,1000000,0,0.00%,1,1,0.00%,1,0,0,ok,0,1,ok\n"
    "16,2000000,-,-,0,0,0.00%,1,-,-,-,0,0,ok\n"
    "17,2500000,-,-,0,-,-,0,-,-,-,-,-,-\n"
    "18,2000000 MAX,-,-,0,0,0.00%,1,-,-,-,0,0,ok\n";

TUsartReport Report(const std::string& frequency, const std::string& baudRate) {
  TUsartTable table(frequency, baudRate);
  CalcUSART(table);
  return RateReport(table, ExactU2X0, ExactU2X1, {});
}

TEST(UsartTable, CsvOfTheWorkedExample) {
  LocaleFormatsGuard guard('.');
  EXPECT_EQ(ReportCsv(Report("16000000", "250000"), false), kWorkedExampleCsv);
}

TEST(UsartTable, TextOfTheWorkedExample) {
  LocaleFormatsGuard guard('.');
  const std::string expected =
      "                   U2X = 0         U2X = 1\n"
      "Baudrate [bps]  UBBR   ERROR    UBBR   ERROR\n"
      "250000             3   0.00% *     7   0.00% *\n"
      "2400             416  -0.08%     832   0.00% *\n"
      "4800             207   0.15%     416  -0.08%\n"
      "9600             103   0.16%     207   0.16%\n"
      "14400             68   0.64%     138  -0.08%\n"
      "19200             51   0.16%     103   0.16%\n"
      "28800             34  -0.80%      68   0.64%\n"
      "38400             25   0.16%      51   0.16%\n"
      "57600             16   2.12% !    34  -0.80%\n"
      "76800             12   0.16%      25   0.16%\n"
      "115200             8  -3.55% !    16   2.12% !\n"
      "230400             3   8.51% x     8  -3.55% !\n"
      "250000             3   0.00% *     7   0.00% *\n"
      "500000             1   0.00% *     3   0.00% *\n"
      "1000000            0   0.00% *     1   0.00% *\n"
      "2000000            -       -       0   0.00% *\n"
      "2500000            -       -       -       -\n"
      "2000000 MAX        -       -       0   0.00% *\n"
      "frame 8N1: * exact, ! marginal, x fails\n";
  EXPECT_EQ(ReportText(Report("16000000", "250000"), false), expected);
}

TEST(UsartTable, TextColumnsFollowTheirWidestCell) {
  LocaleFormatsGuard guard(',');
  const std::string text = ReportText(Report("-99999999", "-99999999"), false);
  // The error columns are only as wide as "ERROR" when every cell is "-".
  EXPECT_NE(text.find("\nBaudrate [bps]  UBBR  ERROR    UBBR  ERROR\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\n-99999999          -      -       -      -\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\n-12499999 MAX      -      -       -      -\n"), std::string::npos) << text;
}

TEST(UsartTable, HeaderRowHoldsTheGridsHeaders) {
  TUsartTable table("", "");
  EXPECT_EQ(table.Cell(0, 0), "Baudrate [bps]");
  EXPECT_EQ(table.Cell(1, 0), "UBBR");
  EXPECT_EQ(table.Cell(2, 0), "ERROR");
  EXPECT_EQ(table.Cell(3, 0), "UBBR");
  EXPECT_EQ(table.Cell(4, 0), "ERROR");
}

// The receiver's range in percent, rounded to 2 decimals.
std::string RangeText(const TFrame& frame, bool doubleSpeed) {
  const TReceiverRange r = ReceiverRange(frame, doubleSpeed);
  char text[32];
  std::snprintf(text, sizeof text, "%.2f..%.2f", 100.0 * r.slowNumerator / r.slowDenominator,
                100.0 * r.fastNumerator / r.fastDenominator);
  return text;
}

TEST(Receiver, RangeCountsDataAndParityBits) {
  // 8N1; a parity bit counts like a data bit, a second stop bit not at all.
  for (const char* frame : {"8N1", "7E1", "7O2", "8N2"}) {
    TFrame f;
    ASSERT_TRUE(ParseFrame(frame, f)) << frame;
    EXPECT_EQ(f.Text(), frame);
    EXPECT_EQ(RangeText(f, false), "95.36..104.58") << frame;
    EXPECT_EQ(RangeText(f, true), "96.00..103.90") << frame;
  }
  TFrame unchanged{5, 'O', 2};
  for (const char* bad : {"", "8N", "8N10", "4N1", "10N1", "8n1", "8X1", "8N0", "8N3", " 8N1"}) {
    EXPECT_FALSE(ParseFrame(bad, unchanged)) << bad;
  }
  EXPECT_EQ(unchanged.Text(), "5O2");
}

// One mode at n = 1 with the given rate and actual rate: f = 2 k actual.
TVerdict VerdictFor(const TFrame& frame, bool doubleSpeed, int32_t rate, int32_t actual) {
  const int32_t k = doubleSpeed ? 8 : 16;
  const TUsartMode mode = ComputeUsartMode(2 * k * actual, rate, k);
  EXPECT_EQ(mode.n, 1);
  EXPECT_EQ(mode.actual, actual);
  return ReceiverVerdict(frame, doubleSpeed, rate, mode);
}

TEST(Receiver, RecommendedErrorBoundsOk) {
  // 5 to 10 sampled bits: recommended maximum in tenths of a percent.
  const struct {
    TFrame frame;
    int normal, fast;
  } cases[] = {{{5, 'N', 1}, 30, 25}, {{6, 'N', 1}, 25, 20}, {{7, 'N', 1}, 20, 15},
               {{8, 'N', 1}, 20, 15}, {{8, 'E', 1}, 15, 15}, {{9, 'O', 2}, 15, 10}};
  for (const auto& c : cases) {
    for (const bool doubleSpeed : {false, true}) {
      const int max = doubleSpeed ? c.fast : c.normal;
      for (const int sign : {1, -1}) {
        // Rate 1000: an actual rate of 1000 + d gives an error of d / 10 percent.
        EXPECT_EQ(VerdictFor(c.frame, doubleSpeed, 1000, 1000 + sign * max), TVerdict::kOk)
            << c.frame.Text() << " U2X = " << doubleSpeed << " error " << sign * max;
        EXPECT_EQ(VerdictFor(c.frame, doubleSpeed, 1000, 1000 + sign * (max + 1)), TVerdict::kMarginal)
            << c.frame.Text() << " U2X = " << doubleSpeed << " error " << sign * (max + 1);
      }
    }
  }
}

TEST(Receiver, RangeBoundsMarginal) {
  // 8N1: actual / rate on 144/151 and 160/153 (normal), 24/25 and 80/77
  // (double speed) is marginal, one step beyond fails.
  const struct {
    bool doubleSpeed;
    int32_t rate, actual, beyond;
  } cases[] = {{false, 15100, 14400, 14399}, {false, 15300, 16000, 16001},
               {true, 25000, 24000, 23999}, {true, 77000, 80000, 80001}};
  for (const auto& c : cases) {
    EXPECT_EQ(VerdictFor({}, c.doubleSpeed, c.rate, c.actual), TVerdict::kMarginal) << c.rate;
    EXPECT_EQ(VerdictFor({}, c.doubleSpeed, c.rate, c.beyond), TVerdict::kFails) << c.rate;
  }
  EXPECT_EQ(ReceiverVerdict({}, false, 2500000, ComputeUsartMode(16000000, 2500000, 16)), TVerdict::kNone);
  EXPECT_STREQ(VerdictText(TVerdict::kNone), "-");
}

TEST(Cp1252, ToUtf8) {
  EXPECT_EQ(Cp1252ToUtf8("abc"), "abc");
  EXPECT_EQ(Cp1252ToUtf8("g\xFCltig"), "g\xC3\xBCltig");
  EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");
  EXPECT_EQ(Cp1252ToUtf8("\x81"), "\xC2\x81");
  EXPECT_EQ(Cp1252ToUtf8("\x9F\xA0\xFF"), "\xC5\xB8\xC2\xA0\xC3\xBF");
  EXPECT_EQ(Cp1252ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
  EXPECT_EQ(Cp1252ToUtf16("g\xFC\x80\x81\x9F\xFF"), u"g\u00FC\u20AC\u0081\u0178\u00FF");
}

TEST(Cp1252, FromUtf8) {
  EXPECT_EQ(Utf8ToCp1252("abc"), "abc");
  EXPECT_EQ(Utf8ToCp1252("g\xC3\xBCltig"), "g\xFCltig");
  EXPECT_EQ(Utf8ToCp1252("\xE2\x82\xAC"), "\x80");
  EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD"), "?");        // not in the code page
  EXPECT_EQ(Utf8ToCp1252("\xF0\x9F\x98\x80x"), "?x");  // outside the BMP
  EXPECT_EQ(Utf8ToCp1252("\xFC"), "?");                // not UTF-8
  EXPECT_EQ(Utf8ToCp1252("\xC3"), "?");                // cut short
  EXPECT_EQ(Utf8ToCp1252("\xC0\xAF"), "??");           // overlong
  // Every code page character round-trips.
  for (int c = 1; c < 256; ++c) {
    const std::string one(1, static_cast<char>(c));
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(one)), one) << c;
  }
}

}  // namespace
