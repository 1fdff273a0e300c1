// The plain-data table and its printed forms (baudix-table), code page 1252
// to UTF-8.
#include <gtest/gtest.h>

#include <string>

#include "CalcTestSupport.h"
#include "calc/Cp1252.h"
#include "calc/Usart.h"
#include "calc/UsartTable.h"

namespace {

// The worked example in the CSV form.
const char kWorkedExampleCsv[] =
    "row,rate,ubbr_u2x0,error_u2x0,exact_u2x0,ubbr_u2x1,error_u2x1,exact_u2x1\n"
    "1,250000,3,0.00%,1,7,0.00%,1\n"
    "2,2400,416,-0.08%,0,832,0.00%,1\n"
    "3,4800,207,0.15%,0,416,-0.08%,0\n"
    "4,9600,103,0.16%,0,207,0.16%,0\n"
    "5,14400,68,0.64%,0,138,-0.08%,0\n"
    "6,19200,51,0.16%,0,103,0.16%,0\n"
    "7,28800,34,-0.80%,0,68,0.64%,0\n"
    "8,38400,25,0.16%,0,51,0.16%,0\n"
    "9,57600,16,2.12%,0,34,-0.80%,0\n"
    "10,76800,12,0.16%,0,25,0.16%,0\n"
    "11,115200,8,-3.55%,0,16,2.12%,0\n"
    "12,230400,3,8.51%,0,8,-3.55%,0\n"
    "13,250000,3,0.00%,1,7,0.00%,1\n"
    "14,500000,1,0.00%,1,3,0.00%,1\n"
    "15,1000000,0,0.00%,1,1,0.00%,1\n"
    "16,2000000,-,-,0,0,0.00%,1\n"
    "17,2500000,-,-,0,-,-,0\n"
    "18,2000000 MAX,-,-,0,0,0.00%,1\n";

TEST(UsartTable, CsvOfTheWorkedExample) {
  LocaleFormatsGuard guard('.');
  TUsartTable table("16000000", "250000");
  CalcUSART(table);
  EXPECT_EQ(UsartTableCsv(table, ExactU2X0, ExactU2X1), kWorkedExampleCsv);
}

TEST(UsartTable, TextOfTheWorkedExample) {
  LocaleFormatsGuard guard('.');
  TUsartTable table("16000000", "250000");
  CalcUSART(table);
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
      "57600             16   2.12%      34  -0.80%\n"
      "76800             12   0.16%      25   0.16%\n"
      "115200             8  -3.55%      16   2.12%\n"
      "230400             3   8.51%       8  -3.55%\n"
      "250000             3   0.00% *     7   0.00% *\n"
      "500000             1   0.00% *     3   0.00% *\n"
      "1000000            0   0.00% *     1   0.00% *\n"
      "2000000            -       -       0   0.00% *\n"
      "2500000            -       -       -       -\n"
      "2000000 MAX        -       -       0   0.00% *\n";
  EXPECT_EQ(UsartTableText(table, ExactU2X0, ExactU2X1), expected);
}

TEST(UsartTable, TextColumnsFollowTheirWidestCell) {
  LocaleFormatsGuard guard(',');
  TUsartTable table("-99999999", "-99999999");
  CalcUSART(table);
  const std::string text = UsartTableText(table, ExactU2X0, ExactU2X1);
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

TEST(Cp1252, ToUtf8) {
  EXPECT_EQ(Cp1252ToUtf8("abc"), "abc");
  EXPECT_EQ(Cp1252ToUtf8("g\xFCltig"), "g\xC3\xBCltig");
  EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");
  EXPECT_EQ(Cp1252ToUtf8("\x81"), "\xC2\x81");
  EXPECT_EQ(Cp1252ToUtf8("\x9F\xA0\xFF"), "\xC5\xB8\xC2\xA0\xC3\xBF");
  EXPECT_EQ(Cp1252ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
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
