// Every baud-rate generator family, one suite each: datasheet and worked
// anchors, the register's edges, and a sweep of the whole table against the
// independent arithmetic of ExactFamilies.h. The model list last.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <set>
#include <string>

#include "CalcTestSupport.h"
#include "ExactFamilies.h"
#include "calc/AvrModels.h"
#include "calc/BaudGenerators.h"
#include "calc/Receiver.h"
#include "calc/Usart.h"
#include "calc/UsartReport.h"
#include "calc/UsartTable.h"

namespace {

const TAvrModel& Model(const char* name) {
  const TAvrModel* model = FindAvrModel(name);
  EXPECT_NE(model, nullptr) << name;
  return model != nullptr ? *model : DefaultAvrModel();
}

// Row 1 of the table for `model` at f and b: both groups' cells and flags,
// as "value error [*] | value error [*]".
std::string Row1(const char* model, int64_t f, int64_t b, int frameBits = kWindowFrameBits) {
  TUsartTable table(std::to_string(f), std::to_string(b), Model(model), frameBits);
  CalcUSART(table);
  std::string out;
  for (int g = 0; g < 2; ++g) {
    out += (g == 0 ? "" : " | ") + table.Cell(1 + 2 * g, 1) + " " + table.Cell(2 + 2 * g, 1);
    if ((g == 0 ? ExactU2X0 : ExactU2X1)[0]) out += " *";
  }
  return out;
}

int32_t Actual(const char* model, int64_t f, int64_t b, int group) {
  TUsartTable table(std::to_string(f), std::to_string(b), Model(model));
  CalcUSART(table);
  return table.Mode(1, group).actual;
}

// The whole table for `model` against the exact arithmetic, over small
// clocks and rates, crystals against common rates, and random pairs.
void Sweep(const char* name, int frameBits = kWindowFrameBits) {
  const LocaleFormatsGuard guard('.');
  const TAvrModel& model = Model(name);
  int checked = 0;
  const auto check = [&](int64_t f, int64_t b) {
    TUsartTable table(std::to_string(f), std::to_string(b), model, frameBits);
    CalcUSART(table);
    ++checked;
    return exact::FamilyTableMismatch(table, ExactU2X0, ExactU2X1, model.family, f, b, frameBits, '.');
  };
  for (int64_t f = -3; f <= 300; f += 1) {
    for (int64_t b = -1; b <= 20; ++b) ASSERT_EQ(check(f, b), "") << "f=" << f << " b=" << b;
  }
  const int64_t crystals[] = {1000000,  1843200,  2000000,  3333333,  3686400,  4000000,  7372800,
                              8000000,  11059200, 12000000, 14745600, 16000000, 18432000, 19660500,
                              19660650, 20000000, 24000000, 32000000, 6553600,  99999999};
  const int64_t rates[] = {1, 300, 1200, 2400, 9600, 31250, 100000, 115200, 460800, 576000, 921600,
                           1000000, 2000000, 6250000, 12500000, 99999999};
  for (int64_t f : crystals) {
    for (int64_t b : rates) ASSERT_EQ(check(f, b), "") << "f=" << f << " b=" << b;
  }
  // Texts longer than a field's, from the command line: the whole 32-bit
  // range, where 64 f and S b no longer fit 32 bits. (A rate whose 16 b
  // wraps to 0 faults by design in the classic arithmetic; none here does.)
  const int64_t extremes[] = {INT32_MIN, -1, 1, 1000000, 134217727, 536870911, INT32_MAX - 1, INT32_MAX};
  for (int64_t f : extremes) {
    for (int64_t b : extremes) ASSERT_EQ(check(f, b), "") << "f=" << f << " b=" << b;
  }
  std::mt19937_64 rng(20261209);
  for (int i = 0; i < 3000; ++i) {
    const int64_t f = static_cast<int64_t>(rng() % 100000000);
    const int64_t b = static_cast<int64_t>(rng() % (rng() % 2 == 0 ? 100000000 : 300000));
    ASSERT_EQ(check(f, b), "") << "f=" << f << " b=" << b;
  }
  EXPECT_GT(checked, 0);
}

TEST(ClassicFamily, IsTheAtmega128Table) {
  EXPECT_EQ(DefaultAvrModel().name, std::string("ATmega128"));
  EXPECT_EQ(Row1("ATmega328P", 16000000, 115200), "8 -3.55% | 16 2.12%");
  Sweep("ATmega2560");
}

TEST(Uart8Family, EightBitsAndNoDoubleSpeed) {
  const LocaleFormatsGuard guard('.');
  // 2400 bps: 255 is exact at 9.8304 MHz and the last value below
  // 256.5 * 16 * 2400 Hz.
  EXPECT_EQ(Row1("AT90S2313", 9830400, 2400), "255 0.00% * | - -");
  EXPECT_EQ(Row1("AT90S2313", 9849599, 2400), "255 0.17% | - -");
  EXPECT_EQ(Row1("ATmega103", 9849600, 2400), "- - | - -");
  EXPECT_EQ(Row1("AT90S8515", 4000000, 9600), "25 0.16% | - -");
  // Row 18 is f div 16: its one value is 0.
  TUsartTable table("16000000", "9600", Model("AT90S8535"));
  CalcUSART(table);
  EXPECT_EQ(table.Cell(0, 18), "1000000 MAX");
  EXPECT_EQ(table.Cell(1, 18), "0");
  EXPECT_EQ(table.Cell(3, 18), "-");
  Sweep("AT90S4414");
}

TEST(Uart12Family, TwelveBitsAndNoDoubleSpeed) {
  const LocaleFormatsGuard guard('.');
  EXPECT_EQ(Row1("AT90S4433", 16000000, 2400), "416 -0.08% | - -");
  // 4095 is the last legal value, up to 4095.5 * 16 Hz per bps.
  EXPECT_EQ(Row1("AT90S2333", 65543, 1), "4095 0.00% * | - -");
  EXPECT_EQ(Row1("AT90S2333", 65544, 1), "- - | - -");
  Sweep("AT90S2333");
}

TEST(LinFamily, Lbt32AndTheBestSampleCount) {
  const LocaleFormatsGuard guard('.');
  EXPECT_EQ(Row1("ATtiny167", 16000000, 115200), "3 8.51% | 2/46 0.64%");
  EXPECT_EQ(Actual("ATtiny167", 16000000, 115200, 1), 115942);
  EXPECT_EQ(Row1("ATmega32M1", 16000000, 19200), "25 0.16% | 16/49 0.04%");
  EXPECT_EQ(Actual("ATmega32M1", 16000000, 19200, 1), 19207);
  // An LBT is valid only while the rate is not above f / LBT: at 12 MHz
  // 576000 bps leaves LBT 8..20, and LDIV 0 with LBT 20 is the nearest.
  EXPECT_EQ(Row1("ATtiny87", 12000000, 576000), "- - | 0/20 4.17%");
  // 4.8 MHz / 100000 bps = 48 = LBT (LDIV + 1) for LBT 8, 12, 16, 24 and 48:
  // the tie goes to the most samples. LBT 32 rounds LDIV 0.5 up.
  EXPECT_EQ(Row1("ATmega64C1", 4800000, 100000), "1 -25.00% | 0/48 0.00% *");
  EXPECT_EQ(Row1("ATmega16M1", 32 * 4096, 1), "4095 0.00% * | 4095/32 0.00% *");
  // LDIV 4096 is one past the last value at LBT 32; 34 * 3856 fits.
  EXPECT_EQ(Row1("ATmega16M1", 32 * 4097, 1), "- - | 3855/34 0.00% *");
  Sweep("ATmega64M1");
}

TEST(FractionalFamily, SixFractionBits) {
  const LocaleFormatsGuard guard('.');
  EXPECT_EQ(Row1("ATtiny1614", 3333333, 9600), "1389 -0.01% | 2778 -0.01%");
  EXPECT_EQ(Row1("AVR128DA48", 4000000, 115200), "139 -0.08% | 278 -0.08%");
  EXPECT_EQ(Actual("AVR128DA48", 4000000, 115200, 0), 115107);
  EXPECT_EQ(Row1("ATmega4809", 16000000, 115200), "556 -0.08% | 1111 0.01%");
  EXPECT_EQ(Row1("ATmega4809", 20000000, 115200), "694 0.06% | 1389 -0.01%");
  EXPECT_EQ(Actual("ATmega4809", 20000000, 115200, 0), 115273);
  EXPECT_EQ(Row1("AVR16EB32", 4000000, 460800), "- - | 69 0.64%");
  EXPECT_EQ(Actual("AVR16EB32", 4000000, 460800, 1), 463768);
  EXPECT_EQ(Row1("AVR64DU32", 4000000, 500000), "- - | 64 0.00% *");  // BAUD 64: first legal
  // 1200 bps at normal speed: BAUD = f / 300 up to 65535.
  EXPECT_EQ(Row1("ATtiny3224", 19660649, 1200), "65535 0.00% * | - -");
  EXPECT_EQ(Row1("ATtiny3224", 19660650, 1200), "- - | - -");
  EXPECT_EQ(Row1("ATtiny3224", 20000000, 1200), "- - | - -");
  // BAUD 63.5 rounds half up to the first legal value 64; 63.496 does not.
  EXPECT_EQ(Row1("ATtiny202", 15875, 1000), "64 -0.80% | 127 0.00% *");
  EXPECT_EQ(Row1("ATtiny202", 15874, 1000), "- - | 127 -0.10%");
  Sweep("ATtiny3216");
}

TEST(XmegaFamily, BselAndBscale) {
  const LocaleFormatsGuard guard('.');
  // -6/1047 and -7/2094 give the same 115211.5 bps: the smaller |BSCALE|.
  EXPECT_EQ(Row1("ATxmega128A4U", 32000000, 115200), "1047/-6 0.01% * | 1079/-5 0.01%");
  EXPECT_EQ(Actual("ATxmega128A4U", 32000000, 115200, 0), 115211);
  // At 2 MHz the frame excludes BSCALE -7; with five data bits also -6.
  EXPECT_EQ(Row1("ATxmega32E5", 2000000, 115200), "5/-6 0.64% | 75/-6 -0.08%");
  TFrame short5N1;
  ASSERT_TRUE(ParseFrame("5N1", short5N1));
  EXPECT_EQ(short5N1.Bits(), 7);
  EXPECT_EQ(Row1("ATxmega32E5", 2000000, 115200, short5N1.Bits()), "3/-5 -0.79% | 37/-5 0.64%");
  // BSEL 4095 is the last legal value at BSCALE 0; b = f / S needs BSEL 0,
  // one bps more has no setting.
  EXPECT_EQ(Row1("ATxmega64A1U", 6553600, 100), "4095/0 0.00% * | 4095/1 0.00% *");
  // BSEL 4095.5 at BSCALE 0: 4096 would be nearer, 4095 is the last legal.
  EXPECT_EQ(Row1("ATxmega64A1U", 6554400, 100), "4095/0 0.00% * | 4095/1 0.00% *");
  EXPECT_EQ(Row1("ATxmega64A1U", 1600000, 100000), "0/0 0.00% * | 1/0 0.00% *");
  EXPECT_EQ(Row1("ATxmega64A1U", 1600000, 100001), "- - | 1/0 0.00%");
  Sweep("ATxmega256A3BU");
  Sweep("ATxmega8E5", short5N1.Bits());
}

TEST(BaudFamilies, SurveyAndVerdictFollowTheModel) {
  const LocaleFormatsGuard guard('.');
  const TReportLine& at16MHz = CrystalSurvey("115200", {}, Model("ATtiny167")).lines[9];
  EXPECT_EQ(at16MHz.label + " " + at16MHz.modes[1].ubbr, "16000000 2/46");
  EXPECT_EQ(at16MHz.modes[1].verdict, TVerdict::kOk);
  // Below 16 samples per bit the LIN/UART has the double-speed margins.
  TUsartMode m;
  m.valid = true;
  m.scale = 15;
  EXPECT_TRUE(JudgedAsDoubleSpeed(TBaudFamily::kLin, 1, m));
  m.scale = 16;
  EXPECT_FALSE(JudgedAsDoubleSpeed(TBaudFamily::kLin, 1, m));
}

TEST(AvrModels, ListSortedOnceEachWithTheirFamilies) {
  const auto models = AvrModels();
  EXPECT_EQ(models.size(), 85u);
  std::set<std::string> lowerNames;
  int perFamily[kBaudFamilyCount] = {};
  for (size_t i = 0; i < models.size(); ++i) {
    if (i > 0) {
      EXPECT_LT(std::string(models[i - 1].name), std::string(models[i].name));
    }
    std::string lower = models[i].name;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    EXPECT_TRUE(lowerNames.insert(lower).second) << models[i].name;
    ++perFamily[static_cast<int>(models[i].family)];
    EXPECT_EQ(FindAvrModel(lower), &models[i]);
  }
  const int expected[kBaudFamilyCount] = {33, 5, 2, 7, 26, 12};
  for (int i = 0; i < kBaudFamilyCount; ++i) {
    EXPECT_EQ(perFamily[i], expected[i]) << FamilyInfo(static_cast<TBaudFamily>(i)).key;
    EXPECT_EQ(FamilyInfo(static_cast<TBaudFamily>(i)).family, static_cast<TBaudFamily>(i));
  }
  EXPECT_EQ(FindAvrModel("ATMEGA4809")->family, TBaudFamily::kFractional);
  EXPECT_EQ(FindAvrModel("ATmega4809x"), nullptr);
  EXPECT_EQ(FindAvrModel(""), nullptr);
}

}  // namespace
