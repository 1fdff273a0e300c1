// the recalculation CalcUSART, its worked example, edge cases and
// failure paths.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "CalcTestSupport.h"
#include "X87ControlWord.h"
#include "calc/Exceptions.h"
#include "calc/NumberText.h"
#include "calc/Usart.h"
#include "calc/UsartReport.h"
#include "calc/UsartTable.h"

namespace {

struct Row {
  const char* cells[5];
  bool exact0;
  bool exact1;
};

// The worked example: f = 16000000, user's rate 250000.
const Row kWorkedExample[18] = {
    {{"250000", "3", "0.00%", "7", "0.00%"}, true, true},
    {{"2400", "416", "-0.08%", "832", "0.00%"}, false, true},
    {{"4800", "207", "0.15%", "416", "-0.08%"}, false, false},
    {{"9600", "103", "0.16%", "207", "0.16%"}, false, false},
    {{"14400", "68", "0.64%", "138", "-0.08%"}, false, false},
    {{"19200", "51", "0.16%", "103", "0.16%"}, false, false},
    {{"28800", "34", "-0.80%", "68", "0.64%"}, false, false},
    {{"38400", "25", "0.16%", "51", "0.16%"}, false, false},
    {{"57600", "16", "2.12%", "34", "-0.80%"}, false, false},
    {{"76800", "12", "0.16%", "25", "0.16%"}, false, false},
    {{"115200", "8", "-3.55%", "16", "2.12%"}, false, false},
    {{"230400", "3", "8.51%", "8", "-3.55%"}, false, false},
    {{"250000", "3", "0.00%", "7", "0.00%"}, true, true},
    {{"500000", "1", "0.00%", "3", "0.00%"}, true, true},
    {{"1000000", "0", "0.00%", "1", "0.00%"}, true, true},
    {{"2000000", "-", "-", "0", "0.00%"}, false, true},
    {{"2500000", "-", "-", "-", "-"}, false, false},
    {{"2000000 MAX", "-", "-", "0", "0.00%"}, false, true},
};

TUsartTable Calc(const std::string& frequency, const std::string& baudRate) {
  TUsartTable table(frequency, baudRate);
  CalcUSART(table);
  return table;
}

void ExpectWorkedExample(const TUsartTable& table, const std::string& separator) {
  for (int i = 0; i < 18; ++i) {
    for (int col = 0; col < 5; ++col) {
      std::string expected = kWorkedExample[i].cells[col];
      const size_t point = expected.find('.');
      if (point != std::string::npos) expected.replace(point, 1, separator);
      EXPECT_EQ(table.Cell(col, i + 1), expected) << "row " << i + 1 << " column " << col;
    }
    EXPECT_EQ(ExactU2X0[i], kWorkedExample[i].exact0) << "ExactU2X0 row " << i + 1;
    EXPECT_EQ(ExactU2X1[i], kWorkedExample[i].exact1) << "ExactU2X1 row " << i + 1;
  }
  EXPECT_FALSE(ExactU2X0[18]);
  EXPECT_FALSE(ExactU2X0[19]);
  EXPECT_FALSE(ExactU2X1[18]);
  EXPECT_FALSE(ExactU2X1[19]);
}

TEST(CalcUSART, WorkedExample) {
  LocaleFormatsGuard guard('.');
  ExpectWorkedExample(Calc("16000000", "250000"), ".");
}

TEST(CalcUSART, WorkedExampleWithCommaSeparator) {
  LocaleFormatsGuard guard(',');
  ExpectWorkedExample(Calc("16000000", "250000"), ",");
}

TEST(CalcUSART, WritesEveryCellOfRows1To18InOrderAndReadsBaudRateFirst) {
  LocaleFormatsGuard guard('.');
  RecordingView view("16000000", "250000");
  CalcUSART(view);
  ASSERT_EQ(view.calls.size(), 2u + 18 * 5);
  EXPECT_EQ(view.calls[0], "BaudRateText");
  EXPECT_EQ(view.calls[1], "FrequencyText");
  size_t k = 2;
  for (int i = 0; i < 18; ++i) {
    for (int col = 0; col < 5; ++col) {
      EXPECT_EQ(view.calls[k++], "SetCell " + std::to_string(col) + " " + std::to_string(i + 1) + " " +
                                     kWorkedExample[i].cells[col]);
    }
  }
}

TEST(CalcUSART, RejectedBaudRateChangesNothing) {
  LocaleFormatsGuard guard('.');
  for (bool& flag : ExactU2X0) flag = true;
  for (bool& flag : ExactU2X1) flag = true;
  RecordingView view("16000000", "12a");
  EXPECT_ERROR_MESSAGE(EConvertError, CalcUSART(view), "'12a' ist kein g\xFCltiger Integerwert");
  EXPECT_EQ(view.calls, std::vector<std::string>{"BaudRateText"});
  for (int i = 0; i < 20; ++i) {
    EXPECT_TRUE(ExactU2X0[i]) << i;
    EXPECT_TRUE(ExactU2X1[i]) << i;
  }
}

TEST(CalcUSART, RejectedFrequencyClearedTheFlagsButRewroteNoCell) {
  LocaleFormatsGuard guard('.');
  TUsartTable table("16000000", "250000");
  CalcUSART(table);
  ASSERT_TRUE(ExactU2X0[0]);
  for (bool& flag : ExactU2X0) flag = true;
  for (bool& flag : ExactU2X1) flag = true;
  RecordingView view("-", "9600");
  EXPECT_ERROR_MESSAGE(EConvertError, CalcUSART(view), "'-' ist kein g\xFCltiger Integerwert");
  EXPECT_EQ(view.calls, (std::vector<std::string>{"BaudRateText", "FrequencyText"}));
  EXPECT_EQ(view.cellsSet, 0);
  for (int i = 0; i < 20; ++i) {
    EXPECT_FALSE(ExactU2X0[i]) << i;
    EXPECT_FALSE(ExactU2X1[i]) << i;
  }
}

TEST(CalcUSART, MinusSignsThatCannotBeConverted) {
  EXPECT_ERROR_MESSAGE(EConvertError, Calc("-", "250000"), "'-' ist kein g\xFCltiger Integerwert");
  EXPECT_ERROR_MESSAGE(EConvertError, Calc("16000000", "-"), "'-' ist kein g\xFCltiger Integerwert");
  EXPECT_ERROR_MESSAGE(EConvertError, Calc("160-00", "250000"), "'160-00' ist kein g\xFCltiger Integerwert");
  EXPECT_ERROR_MESSAGE(EConvertError, Calc("16000000", "12-53"), "'12-53' ist kein g\xFCltiger Integerwert");
  EXPECT_EQ(ErrorBoxText("'-' ist kein g\xFCltiger Integerwert"), "'-' ist kein g\xFCltiger Integerwert.");
}

TEST(CalcUSART, BothFieldsEmpty) {
  const TUsartTable table = Calc("", "");
  EXPECT_EQ(table.Cell(0, 1), "0");
  const char* standard[16] = {"2400",   "4800",   "9600",   "14400",  "19200",  "28800",
                              "38400",  "57600",  "76800",  "115200", "230400", "250000",
                              "500000", "1000000", "2000000", "2500000"};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(table.Cell(0, i + 2), standard[i]);
  EXPECT_EQ(table.Cell(0, 18), "0 MAX");
  for (int row = 1; row <= 18; ++row) {
    for (int col = 1; col <= 4; ++col) EXPECT_EQ(table.Cell(col, row), "-") << row << "," << col;
  }
  for (int i = 0; i < 20; ++i) {
    EXPECT_FALSE(ExactU2X0[i]);
    EXPECT_FALSE(ExactU2X1[i]);
  }
}

TEST(CalcUSART, Row18NeverHasANormalSpeedValue) {
  LocaleFormatsGuard guard('.');
  for (int f = -40; f <= 3000; ++f) {
    const TUsartTable table = Calc(std::to_string(f), "250000");
    EXPECT_EQ(table.Cell(0, 18), std::to_string(f / 8) + " MAX");
    EXPECT_EQ(table.Cell(1, 18), "-") << f;
    EXPECT_EQ(table.Cell(2, 18), "-") << f;
    EXPECT_FALSE(ExactU2X0[17]);
    if ((f >= 8 && f <= 11) || f >= 16) {
      EXPECT_EQ(table.Cell(3, 18), "0") << f;
      EXPECT_EQ(table.Cell(4, 18), "0.00%") << f;
      EXPECT_TRUE(ExactU2X1[17]) << f;
    } else if (f >= 12 && f <= 15) {
      EXPECT_EQ(table.Cell(3, 18), "1") << f;
      EXPECT_EQ(table.Cell(4, 18), "-100.00%") << f;
      EXPECT_FALSE(ExactU2X1[17]) << f;
    } else {
      EXPECT_EQ(table.Cell(3, 18), "-") << f;
      EXPECT_EQ(table.Cell(4, 18), "-") << f;
      EXPECT_FALSE(ExactU2X1[17]) << f;
    }
  }
  for (int f : {16000000, 99999999, 20000000, 1843200}) {
    Calc(std::to_string(f), "1");
    EXPECT_TRUE(ExactU2X1[17]) << f;
  }
}

TEST(CalcUSART, Rate9600TruncatedActualRate) {
  const TUsartMode m = ComputeUsartMode(16000000, 9600, 16);
  EXPECT_TRUE(m.valid);
  EXPECT_EQ(m.n, 103);
  EXPECT_EQ(m.actual, 9615);
  const TUsartTable table = Calc("16000000", "9600");
  EXPECT_EQ(table.Cell(1, 1), "103");
  EXPECT_EQ(table.Cell(2, 1), "0.16%");
  EXPECT_FALSE(ExactU2X0[0]);
  // Row 3: 16000000 div 3328 = 4807, error 7 * 100 / 4800 shown as 0.15%.
  const TUsartMode row3 = ComputeUsartMode(16000000, 4800, 16);
  EXPECT_EQ(row3.actual, 4807);
  EXPECT_EQ(row3.error, static_cast<double>(700.0L / 4800));
}

TEST(CalcUSART, Rate2000000And2500000) {
  EXPECT_EQ(ComputeUsartMode(16000000, 2000000, 16).x, -0.5);
  EXPECT_FALSE(ComputeUsartMode(16000000, 2000000, 16).valid);
  EXPECT_TRUE(ComputeUsartMode(16000000, 2000000, 8).valid);
  EXPECT_EQ(ComputeUsartMode(16000000, 2000000, 8).n, 0);
  EXPECT_EQ(ComputeUsartMode(16000000, 2500000, 16).x, static_cast<double>(0.4L - 1.0L));
  EXPECT_EQ(ComputeUsartMode(16000000, 2500000, 8).x, static_cast<double>(0.8L - 1.0L));
  EXPECT_FALSE(ComputeUsartMode(16000000, 2500000, 16).valid);
  EXPECT_FALSE(ComputeUsartMode(16000000, 2500000, 8).valid);
  const TUsartTable table = Calc("16000000", "2000000");
  EXPECT_EQ(table.Cell(1, 1), "-");
  EXPECT_EQ(table.Cell(2, 1), "-");
  EXPECT_EQ(table.Cell(3, 1), "0");
  EXPECT_EQ(table.Cell(4, 1), "0.00%");
}

TEST(CalcUSART, UserRate100001ExactOnlyAtNormalSpeed) {
  LocaleFormatsGuard guard('.');
  const TUsartTable table = Calc("16000000", "100001");
  EXPECT_EQ(table.Cell(1, 1), "9");
  EXPECT_EQ(table.Cell(2, 1), "0.00%");
  EXPECT_EQ(table.Cell(3, 1), "19");
  EXPECT_EQ(table.Cell(4, 1), "0.00%");
  EXPECT_TRUE(ExactU2X0[0]);
  EXPECT_FALSE(ExactU2X1[0]);
  EXPECT_EQ(ComputeUsartMode(16000000, 100001, 16).actual, 100000);
  EXPECT_EQ(ComputeUsartMode(16000000, 100001, 8).actual, 100000);
}

TEST(CalcUSART, LeadingZerosAreDropped) {
  EXPECT_EQ(Calc("16000000", "00123").Cell(0, 1), "123");
  EXPECT_EQ(Calc("00016000000", "250000").Cell(0, 18), "2000000 MAX");
}

TEST(CalcUSART, RatesOfZeroOrBelowGiveDashes) {
  for (const char* rate : {"0", "-1", "-250000", "-0", "-99999999"}) {
    const TUsartTable table = Calc("16000000", rate);
    EXPECT_EQ(table.Cell(0, 1), IntegerToText(TextToInteger(rate)));
    for (int col = 1; col <= 4; ++col) EXPECT_EQ(table.Cell(col, 1), "-") << rate;
    EXPECT_FALSE(ExactU2X0[0]);
    EXPECT_FALSE(ExactU2X1[0]);
  }
}

TEST(CalcUSART, FrequencyOfZeroOrBelowGivesDashesEverywhere) {
  for (const char* frequency : {"0", "-16", "-16000000", ""}) {
    const TUsartTable table = Calc(frequency, "250000");
    for (int row = 1; row <= 18; ++row) {
      for (int col = 1; col <= 4; ++col) EXPECT_EQ(table.Cell(col, row), "-") << frequency << " " << row;
    }
  }
  EXPECT_EQ(Calc("-16", "250000").Cell(0, 18), "-2 MAX");
  EXPECT_EQ(Calc("-17", "250000").Cell(0, 18), "-2 MAX");
  EXPECT_EQ(Calc("-15", "250000").Cell(0, 18), "-1 MAX");
}

TEST(CalcUSART, RegisterValue4096IsRejected) {
  // n = 4095: f = 16 * b * 4096 exactly.
  EXPECT_EQ(ComputeUsartMode(16 * 4096, 1, 16).n, 4095);
  EXPECT_TRUE(ComputeUsartMode(16 * 4096, 1, 16).valid);
  EXPECT_EQ(ComputeUsartMode(16 * 4097, 1, 16).n, 4096);
  EXPECT_FALSE(ComputeUsartMode(16 * 4097, 1, 16).valid);
  // x = 4095.5 rounds up to 4096.
  EXPECT_FALSE(ComputeUsartMode(16 * 4096 + 8, 1, 16).valid);
  EXPECT_TRUE(ComputeUsartMode(16 * 4096 + 7, 1, 16).valid);
  // f = 99999999 against 2400 bps: x = 2603.17 still fits.
  EXPECT_EQ(Calc("99999999", "2400").Cell(1, 2), "2603");
  EXPECT_EQ(Calc("99999999", "1").Cell(1, 1), "-");
  EXPECT_EQ(Calc("99999999", "1").Cell(3, 1), "-");
}

TEST(CalcUSART, HalfUpTruncationIsNotRoundedToDouble) {
  EXPECT_EQ(TruncateHalfUp(0.49999999999999994), 0);
  EXPECT_EQ(TruncateHalfUp(0.5), 1);
  EXPECT_EQ(TruncateHalfUp(103.6667), 104);
  EXPECT_EQ(TruncateHalfUp(103.4), 103);
  EXPECT_EQ(TruncateHalfUp(-0.5), 0);
  EXPECT_EQ(TruncateHalfUp(-1.0), 0);
  EXPECT_EQ(TruncateHalfUp(-1.5), -1);
  EXPECT_EQ(TruncateHalfUp(1.49999999999999978), 1);
  EXPECT_EQ(TruncateHalfUp(4095.4999999999995), 4095);
  // Only the low 32 bits of the truncated value.
  EXPECT_EQ(TruncateHalfUp(4294967296.0 + 5.0), 5);
  EXPECT_EQ(TruncateHalfUp(2147483648.0), -2147483647 - 1);
}

TEST(CalcUSART, TiesOfXPlusHalf) {
  // x = f / (16 b) - 1 = 1.5 exactly: n = 2.
  EXPECT_EQ(ComputeUsartMode(40, 1, 16).x, 1.5);
  EXPECT_EQ(ComputeUsartMode(40, 1, 16).n, 2);
  // x = 0.5 exactly: n = 1; just below (f - 1): n = 0.
  EXPECT_EQ(ComputeUsartMode(24000000, 1000000, 16).n, 1);
  EXPECT_EQ(ComputeUsartMode(23999999, 1000000, 16).n, 0);
}

TEST(CalcUSART, ExactnessTestsDiffer) {
  // |e| just below 0.01 percent at normal speed sets the flag, 0.01 does not.
  // f = 16 * (n + 1) * a; error (a - b) * 100 / b.
  TUsartMode m = ComputeUsartMode(16 * 10 * 99999, 100000, 16);  // a = 99999, e = -0.001
  EXPECT_TRUE(m.valid);
  EXPECT_EQ(m.actual, 99999);
  m = ComputeUsartMode(16 * 1 * 10001, 10000, 16);  // n = 0, a = 10001, e = 0.01 exactly
  EXPECT_EQ(m.n, 0);
  EXPECT_EQ(m.error, 0.01);
  TUsartTable table(std::to_string(16 * 10001), "10000");
  CalcUSART(table);
  EXPECT_FALSE(ExactU2X0[0]);
  table.SetTexts(std::to_string(16 * 10000), "10000");
  CalcUSART(table);
  EXPECT_TRUE(ExactU2X0[0]);
  EXPECT_TRUE(ExactU2X1[0]);
}

TEST(CalcUSART, FlagsAreRewrittenByEveryRun) {
  Calc("16000000", "250000");
  EXPECT_TRUE(ExactU2X0[12]);
  Calc("16000064", "250000");  // actual rate 250001
  EXPECT_TRUE(ExactU2X0[12]);
  EXPECT_FALSE(ExactU2X1[12]);
  ExactU2X0[18] = ExactU2X1[19] = true;
  Calc("16000000", "250000");
  EXPECT_FALSE(ExactU2X0[18]);
  EXPECT_FALSE(ExactU2X1[19]);
}

TEST(CalcUSART, ProductWrappingToZeroFaultsLikeTheX87) {
  // 16 * 2^28 wraps to 0 in 32 bits; reachable only from 9 characters.
  EXPECT_ERROR_MESSAGE(EZeroDivide, Calc("16000000", "268435456"), "Gleitkommadivision durch Null");
  EXPECT_ERROR_MESSAGE(EInvalidOp, Calc("0", "$10000000"), "Ung\xFCltige Gleitkommaoperation");
  // 8 * 2^28 = 2^31 wraps to -2^31: no fault, x < 0.
  EXPECT_EQ(ComputeUsartMode(16000000, 268435456, 8).valid, false);
  // The largest rate that the fields can hold does not wrap.
  const TUsartTable table = Calc("99999999", "99999999");
  EXPECT_EQ(table.Cell(1, 1), "-");
  EXPECT_EQ(table.Cell(3, 1), "-");
}

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
// The application runs with the control word $1332: 64-bit
// precision, rounding to nearest, invalid operation, division by zero and
// overflow unmasked. No input a field can hold may fault then (a fault would
// end this process), and the results are those of the default word.
TEST(CalcUSART, RunsUnderTheApplicationsControlWord) {
  LocaleFormatsGuard guard('.');
  std::vector<std::string> expected;
  const char* frequencies[] = {"16000000", "", "0", "-16", "12", "99999999", "-99999999", "1843200", "7"};
  const char* rates[] = {"250000", "", "0", "-1", "1", "99999999", "100001", "-99999999", "3"};
  for (const char* f : frequencies) {
    for (const char* b : rates) expected.push_back(ReportCsv(RateReport(Calc(f, b), ExactU2X0, ExactU2X1, {}), false));
  }
  const uint16_t previous = LoadX87ControlWord(kApplicationControlWord);
  std::vector<std::string> actual;
  for (const char* f : frequencies) {
    for (const char* b : rates) actual.push_back(ReportCsv(RateReport(Calc(f, b), ExactU2X0, ExactU2X1, {}), false));
  }
  LoadX87ControlWord(previous);
  EXPECT_EQ(actual, expected);
}
#endif

TEST(Exceptions, ClassNamesAndHierarchy) {
  EXPECT_STREQ(EConvertError("m").ClassName(), "EConvertError");
  EXPECT_STREQ(EAbort("m").ClassName(), "EAbort");
  EXPECT_STREQ(EInvalidGridOperation("m").ClassName(), "EInvalidGridOperation");
  EXPECT_STREQ(EOutOfResources("m").ClassName(), "EOutOfResources");
  EXPECT_STREQ(EZeroDivide("m").ClassName(), "EZeroDivide");
  EXPECT_STREQ(EInvalidOp("m").ClassName(), "EInvalidOp");
  EXPECT_STREQ(EOverflow("m").ClassName(), "EOverflow");
  EXPECT_STREQ(Exception("m").ClassName(), "Exception");
  const EOverflow overflow(kSOverflow);
  const Exception& base = overflow;
  EXPECT_EQ(base.Message(), "Gleitkomma\xFC" "berlauf");
  EXPECT_STREQ(base.what(), "Gleitkomma\xFC" "berlauf");
  EXPECT_NE(dynamic_cast<const EMathError*>(&base), nullptr);
}

TEST(Exceptions, ErrorBoxTextFinalFullStop) {
  EXPECT_EQ(ErrorBoxText("abc"), "abc.");
  EXPECT_EQ(ErrorBoxText("abc."), "abc.");
  EXPECT_EQ(ErrorBoxText("abc!"), "abc!");
  EXPECT_EQ(ErrorBoxText("abc?"), "abc?.");
  EXPECT_EQ(ErrorBoxText("abc)"), "abc)");
  EXPECT_EQ(ErrorBoxText("abc'"), "abc'");
  EXPECT_EQ(ErrorBoxText("abc "), "abc ");
  EXPECT_EQ(ErrorBoxText("a/"), "a/.");
  EXPECT_EQ(ErrorBoxText("a:"), "a:.");
  EXPECT_EQ(ErrorBoxText("9"), "9.");
  EXPECT_EQ(ErrorBoxText("\xFC"), "\xFC.");
  EXPECT_EQ(ErrorBoxText(""), "");
}

}  // namespace
