// TextToInteger, IntegerToText, FormatText.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "CalcTestSupport.h"
#include "calc/Exceptions.h"
#include "calc/NumberText.h"

namespace {

std::string InvalidInteger(const std::string& text) {
  return "'" + text + "' ist kein g\xFCltiger Integerwert";
}

// ---------------------------------------------------------------------------
// TextToInteger

struct IntegerCase {
  const char* text;
  int32_t value;
};

TEST(TextToInteger, AcceptsThePartsTable) {
  const IntegerCase cases[] = {
      {"250000", 250000},        {"00123", 123},
      {"   42", 42},             {"+7", 7},
      {"-0", 0},                 {"-2147483648", -2147483647 - 1},
      {"2147483647", 2147483647}, {"$1F", 31},
      {"x1f", 31},               {"0X1F", 31},
      {"-$10", -16},             {"$FFFFFFFF", -1},
      {"$000000001", 1},         {"0", 0},
      {"$80000000", -2147483647 - 1}, {"-$80000000", -2147483647 - 1},
      {"-$FFFFFFFF", 1},         {"X7fffffff", 2147483647},
      {"0x0", 0},                {"-0x10", -16},
      {"+$a", 10},               {"0000000000000000000042", 42},
      {"214748364", 214748364},  {"-2147483647", -2147483647},
      {"$0000000000000FFFFFFF", 0x0FFFFFFF}, {"$FFFFFFF0", -16},
  };
  for (const IntegerCase& c : cases) {
    EXPECT_EQ(TextToInteger(c.text), c.value) << "text \"" << c.text << "\"";
  }
}

TEST(TextToInteger, RejectsWithTheTextInTheMessage) {
  const char* cases[] = {
      "2147483648", "-2147483649", "99999999999", "$123456789", "", "-", "+", "$", "0x",
      "   ", "42 ", "12-53", "--5", "+-5", "- 5", "1.5", "1,5", "1e3", "\t5", "$-5",
      "$0x1", "0xx1", "x", "X", "$G", "12a", "21474836470", "2147483650", "-2147483650",
      " -", "\xFC", "1\xA0", "$1 ", "0x1g", "5\n"};
  for (const char* text : cases) {
    EXPECT_ERROR_MESSAGE(EConvertError, TextToInteger(text), InvalidInteger(text));
  }
}

TEST(TextToInteger, MessagesOfThePartsExamples) {
  EXPECT_ERROR_MESSAGE(EConvertError, TextToInteger("2147483648"),
                       "'2147483648' ist kein g\xFCltiger Integerwert");
  EXPECT_ERROR_MESSAGE(EConvertError, TextToInteger(""), "'' ist kein g\xFCltiger Integerwert");
  EXPECT_ERROR_MESSAGE(EConvertError, TextToInteger("42 "), "'42 ' ist kein g\xFCltiger Integerwert");
  EXPECT_ERROR_MESSAGE(EConvertError, TextToInteger("   12a"), "'   12a' ist kein g\xFCltiger Integerwert");
}

TEST(TextToInteger, ErrorIsAnEConvertError) {
  try {
    TextToInteger("-");
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.ClassName(), "EConvertError");
    EXPECT_NE(dynamic_cast<const EConvertError*>(&e), nullptr);
  }
}

// Every value near the decimal limits, and every decimal text of a sample of
// values, round-trips.
TEST(TextToInteger, DecimalBoundariesAndRoundTrip) {
  for (int64_t v = 2147483600; v <= 2147483700; ++v) {
    const std::string text = std::to_string(v);
    if (v <= 2147483647) {
      EXPECT_EQ(TextToInteger(text), v) << text;
    } else {
      EXPECT_THROW(TextToInteger(text), EConvertError) << text;
    }
    const std::string negative = "-" + text;
    if (v <= 2147483648) {
      EXPECT_EQ(TextToInteger(negative), -v) << negative;
    } else {
      EXPECT_THROW(TextToInteger(negative), EConvertError) << negative;
    }
  }
  for (int64_t v = -2147483648LL; v <= 2147483647LL; v += 7919 * 1013) {
    EXPECT_EQ(TextToInteger(std::to_string(v)), v);
    EXPECT_EQ(IntegerToText(static_cast<int32_t>(v)), std::to_string(v));
  }
}

TEST(TextToInteger, HexadecimalLimit) {
  EXPECT_EQ(TextToInteger("$FFFFFFFF"), -1);
  EXPECT_EQ(TextToInteger("$0FFFFFFFF"), -1);
  EXPECT_THROW(TextToInteger("$100000000"), EConvertError);
  EXPECT_THROW(TextToInteger("$FFFFFFFFF"), EConvertError);
  EXPECT_EQ(TextToInteger("$7FFFFFFF"), 2147483647);
  EXPECT_EQ(TextToInteger("-$1"), -1);
  EXPECT_EQ(TextToInteger("0xabcdef"), 0xABCDEF);
}

// ---------------------------------------------------------------------------
// IntegerToText

TEST(IntegerToText, PartsTable) {
  EXPECT_EQ(IntegerToText(0), "0");
  EXPECT_EQ(IntegerToText(1000000), "1000000");
  EXPECT_EQ(IntegerToText(-5), "-5");
  EXPECT_EQ(IntegerToText(-2147483647 - 1), "-2147483648");
  EXPECT_EQ(IntegerToText(2147483647), "2147483647");
  EXPECT_EQ(IntegerToText(9), "9");
  EXPECT_EQ(IntegerToText(10), "10");
}

// ---------------------------------------------------------------------------
// FormatText("%f%%", v)

struct FixedCase {
  double value;
  const char* text;  // with the decimal separator ","
};

// The rounding table. The literals are the doubles named there (checked:
// 0.145, 0.995 and 0.0049 lie below, 0.135, 99.995, 0.005 and 0.01 above
// their decimal values).
const FixedCase kFixedCases[] = {
    {0.15625, "0,16%"},
    {0.125, "0,13%"},
    {-0.125, "-0,13%"},
    {0.5, "0,50%"},
    {0.145, "0,14%"},
    {0.135, "0,14%"},
    {0.995, "0,99%"},
    {99.995, "100,00%"},
    {0.999, "1,00%"},
    {9.999, "10,00%"},
    {7.0 * 100 / 4800, "0,15%"},
    {-100.0 / 1200, "-0,08%"},
    {0.01, "0,01%"},
    {0.005, "0,01%"},
    {-0.005, "-0,01%"},
    {0.0049, "0,00%"},
    {-0.004, "0,00%"},
    {0.0001, "0,00%"},
    {0.0, "0,00%"},
    {-0.0, "0,00%"},
    {-100.0, "-100,00%"},
    {1234567.891, "1234567,89%"},
};

TEST(FormatText, FixedWithCommaSeparator) {
  LocaleFormatsGuard guard(',');
  for (const FixedCase& c : kFixedCases) {
    EXPECT_EQ(FormatText("%f%%", {c.value}), c.text) << "value " << c.value;
  }
}

TEST(FormatText, FixedWithFullStopSeparator) {
  LocaleFormatsGuard guard('.');
  for (const FixedCase& c : kFixedCases) {
    std::string expected = c.text;
    for (char& ch : expected) {
      if (ch == ',') ch = '.';
    }
    EXPECT_EQ(FormatText("%f%%", {c.value}), expected) << "value " << c.value;
  }
  EXPECT_EQ(FormatText("%f%%", {0.15625}), "0.16%");
}

TEST(FormatText, FixedPrecision) {
  LocaleFormatsGuard guard('.');
  EXPECT_EQ(FormatText("%.0f", {2.5}), "3");
  EXPECT_EQ(FormatText("%.0f", {3.5}), "4");
  EXPECT_EQ(FormatText("%.0f", {0.4}), "0");
  EXPECT_EQ(FormatText("%.0f", {-0.5}), "-1");
  EXPECT_EQ(FormatText("%.3f", {0.0005}), "0.001");
  EXPECT_EQ(FormatText("%.25f", {0.125}), "0.13");
  EXPECT_EQ(FormatText("%.19f", {1.0}), "1.00");
  EXPECT_EQ(FormatText("%.18f", {0.5}), "0.500000000000000000");
  EXPECT_EQ(FormatText("%.1f", {0.05}), "0.1");
  EXPECT_EQ(FormatText("%.1f", {0.04}), "0.0");
  EXPECT_EQ(FormatText("%.4f", {-1.0 / 3}), "-0.3333");
  EXPECT_EQ(FormatText("%.2f", {999.999}), "1000.00");
  EXPECT_EQ(FormatText("%.2f", {9.995}), "9.99");  // the double lies below
  EXPECT_EQ(FormatText("%.*f", {3, 2.0}), "2.000");
  EXPECT_EQ(FormatText("%.*f", {-1, 2.0}), "2.00");
  EXPECT_EQ(FormatText("%.f", {2.4}), "2");
  EXPECT_EQ(FormatText("%f", {1e17}), "100000000000000000.00");
  EXPECT_EQ(FormatText("%f", {123456789012345678.0L}), "123456789012345678.00");
  EXPECT_EQ(FormatText("%F", {1.5}), "1.50");
}

TEST(FormatText, FixedExtendedArgument) {
  LocaleFormatsGuard guard('.');
  // An extended value keeps 18 significant digits, rounded ties to even.
  EXPECT_EQ(FormatText("%.18f", {0.1L}), "0.100000000000000000");
  EXPECT_EQ(FormatText("%.17f", {1.0L / 3}), "0.33333333333333333");
  EXPECT_EQ(FormatText("%.2f", {0.125L}), "0.13");
  EXPECT_EQ(FormatText("%.2f", {-0.005L}), "-0.01");
  EXPECT_EQ(FormatText("%.2f", {std::numeric_limits<long double>::denorm_min()}), "0.00");
  EXPECT_EQ(FormatText("%.2f", {-std::numeric_limits<long double>::denorm_min()}), "0.00");
  EXPECT_EQ(FormatText("%.2f", {std::numeric_limits<long double>::min()}), "0.00");
}

TEST(FormatText, FixedSpecialValues) {
  LocaleFormatsGuard guard('.');
  EXPECT_EQ(FormatText("%f", {std::numeric_limits<double>::infinity()}), "INF");
  EXPECT_EQ(FormatText("%f", {-std::numeric_limits<double>::infinity()}), "-INF");
  EXPECT_EQ(FormatText("%f", {std::numeric_limits<double>::quiet_NaN()}), "NAN");
  EXPECT_EQ(FormatText("%6f", {std::numeric_limits<double>::infinity()}), "   INF");
}

TEST(FormatText, NulSeparatorWritesNone) {
  LocaleFormatsGuard guard('\0');
  EXPECT_EQ(FormatText("%f%%", {0.15625}), "016%");
}

TEST(FormatText, OtherSeparator) {
  LocaleFormatsGuard guard('\xB7');  // middle dot, code page 1252
  EXPECT_EQ(FormatText("%f", {1.5}), "1\xB7" "50");
}

TEST(FormatText, PercentStringAndPlainText) {
  EXPECT_EQ(FormatText("", {}), "");
  EXPECT_EQ(FormatText("abc", {}), "abc");
  EXPECT_EQ(FormatText("%%", {}), "%");
  EXPECT_EQ(FormatText("100%% sicher", {}), "100% sicher");
  EXPECT_EQ(FormatText("'%s' ist kein g\xFCltiger Integerwert", {"12a"}),
            "'12a' ist kein g\xFCltiger Integerwert");
  EXPECT_EQ(FormatText("%s", {""}), "");
  EXPECT_EQ(FormatText("%S|%s", {"a", std::string("b")}), "a|b");
  EXPECT_EQ(FormatText("%.2s", {"abcdef"}), "ab");
  EXPECT_EQ(FormatText("%.0s", {"abc"}), "");
  EXPECT_EQ(FormatText("%.9s", {"abc"}), "abc");
  EXPECT_EQ(FormatText("%.*s", {3, "abcdef"}), "abc");
}

TEST(FormatText, WidthAndLeftJustify) {
  LocaleFormatsGuard guard('.');
  EXPECT_EQ(FormatText("[%5s]", {"ab"}), "[   ab]");
  EXPECT_EQ(FormatText("[%-5s]", {"ab"}), "[ab   ]");
  EXPECT_EQ(FormatText("[%1s]", {"abc"}), "[abc]");
  EXPECT_EQ(FormatText("[%8f]", {1.5}), "[    1.50]");
  EXPECT_EQ(FormatText("[%-8f]", {-1.5}), "[-1.50   ]");
  EXPECT_EQ(FormatText("[%*s]", {4, "x"}), "[   x]");
  EXPECT_EQ(FormatText("[%-*s]", {4, "x"}), "[x   ]");
  EXPECT_EQ(FormatText("[%*s]", {-4, "x"}), "[x]");
  EXPECT_EQ(FormatText("[%6.1f]", {2.25}), "[   2.3]");
  EXPECT_EQ(FormatText("[%*.*f]", {7, 3, 2.0}), "[  2.000]");
  EXPECT_EQ(FormatText("[%5.2s]", {"abc"}), "[   ab]");
}

TEST(FormatText, ArgumentIndex) {
  EXPECT_EQ(FormatText("%1:s %0:s", {"a", "b"}), "b a");
  EXPECT_EQ(FormatText("%1:s %s", {"a", "b", "c"}), "b c");
  EXPECT_EQ(FormatText("%0:s%0:s%s", {"a", "b"}), "aab");
  EXPECT_EQ(FormatText("%1:-3s|", {"a", "b"}), "b  |");
  EXPECT_EQ(FormatText("%1:4s|", {"a", "b"}), "   b|");
  EXPECT_EQ(FormatText("%*:s", {2, "a", "b"}), "b");
}

TEST(FormatText, IntegerDirectives) {
  EXPECT_EQ(FormatText("%d", {42}), "42");
  EXPECT_EQ(FormatText("%d", {-2147483647 - 1}), "-2147483648");
  EXPECT_EQ(FormatText("%.4d", {-42}), "-0042");
  EXPECT_EQ(FormatText("%5d|%-5d|", {7, 7}), "    7|7    |");
  EXPECT_EQ(FormatText("%u", {-1}), "4294967295");
  EXPECT_EQ(FormatText("%x", {255}), "FF");
  EXPECT_EQ(FormatText("%.8x", {0x1234}), "00001234");
}

TEST(FormatText, ErrorTypeDoesNotFit) {
  const std::string tail = "' ung\xFCltig oder nicht kompatibel mit Argument";
  EXPECT_ERROR_MESSAGE(EConvertError, FormatText("%f", {5}), "Format '%f" + tail);
  EXPECT_ERROR_MESSAGE(EConvertError, FormatText("x%f", {"5"}), "Format '%f" + tail);
  EXPECT_ERROR_MESSAGE(EConvertError, FormatText("%s", {1.5}), "Format '%s" + tail);
  EXPECT_ERROR_MESSAGE(EConvertError, FormatText("%d", {1.5}), "Format '%d" + tail);
  EXPECT_ERROR_MESSAGE(EConvertError, FormatText("%-10.3f", {1}), "Format '%-10.3f" + tail);
  EXPECT_ERROR_MESSAGE(EConvertError, FormatText("%*s", {"a", "b"}), "Format '%*" + tail);
  EXPECT_ERROR_MESSAGE(EConvertError, FormatText("abc%", {1}), "Format '%" + tail);
  EXPECT_ERROR_MESSAGE(EConvertError, FormatText("%5", {1}), "Format '%5" + tail);
  EXPECT_ERROR_MESSAGE(EConvertError, FormatText("%q", {1}), "Format '%q" + tail);
  // At most 31 characters of the directive.
  EXPECT_ERROR_MESSAGE(EConvertError, FormatText("%1234567890123456789012345678901234f", {1}),
                       "Format '%123456789012345678901234567890" + tail);
}

TEST(FormatText, ErrorArgumentMissing) {
  EXPECT_ERROR_MESSAGE(EConvertError, FormatText("%s", {}), "Kein Argument f\xFCr Format '%s'");
  EXPECT_ERROR_MESSAGE(EConvertError, FormatText("%s %s", {"a"}), "Kein Argument f\xFCr Format '%s'");
  EXPECT_ERROR_MESSAGE(EConvertError, FormatText("%f%%", {}), "Kein Argument f\xFCr Format '%f'");
  EXPECT_ERROR_MESSAGE(EConvertError, FormatText("%2:s", {"a", "b"}), "Kein Argument f\xFCr Format '%2:s'");
  EXPECT_ERROR_MESSAGE(EConvertError, FormatText("%*s", {}), "Kein Argument f\xFCr Format '%*'");
}

// Every value that the recalculation formats is a quotient (a - b) * 100 / b
// of integers, rounded to an extended and then to a double. "%f" must round
// it half away from zero at the second decimal of its exact value. Checked
// here for a dense set of such quotients against exact integer arithmetic.
TEST(FormatText, FixedMatchesExactRoundingOfQuotients) {
  LocaleFormatsGuard guard('.');
  int checked = 0;
  for (int32_t b = 1; b <= 2000; b += (b < 300 ? 1 : 7)) {
    for (int32_t numerator = -100 * b; numerator <= 60 * b; numerator += 100) {
      const double e = static_cast<double>(static_cast<long double>(numerator) / b);
      // Exact: 100 * |e| = |numerator| * 100 / b only up to the double's
      // rounding; use the double's exact binary value.
      int exponent = 0;
      const double mantissa = std::frexp(std::fabs(e), &exponent);
      const auto m = static_cast<unsigned __int128>(std::ldexp(mantissa, 53));  // e = m * 2^(exponent - 53)
      const int shift = 53 - exponent;  // > 0 for |e| < 2^53
      unsigned __int128 hundredths;     // round(|e| * 100), halves away from zero
      if (m == 0) {
        hundredths = 0;
      } else if (shift <= 0) {
        hundredths = m * 100 << -shift;
      } else {
        hundredths = (m * 200 + (static_cast<unsigned __int128>(1) << shift)) >> (shift + 1);
      }
      const auto h = static_cast<long long>(hundredths);
      char expected[64];
      std::snprintf(expected, sizeof expected, "%s%lld.%02lld%%", h != 0 && e < 0 ? "-" : "", h / 100, h % 100);
      ASSERT_EQ(FormatText("%f%%", {e}), expected) << "numerator " << numerator << " b " << b;
      ++checked;
    }
  }
  EXPECT_GT(checked, 100000);
}

}  // namespace
