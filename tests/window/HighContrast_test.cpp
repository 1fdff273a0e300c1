// The window in high contrast. Wine cannot switch the setting, so the test
// forces it (the program reads it through HighContrast), and it runs in a
// prefix of its own (tests/CMakeLists.txt) whose system colours make every
// pair distinct: window black with white text, button face navy with yellow
// text, highlight cyan with black text. A text drawn in the colour of
// another pair than its background's shows there as a wrong colour.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "framework/Contrast.h"
#include "support/CellPixels.h"
#include "support/ProgramWindow.h"
#include "widgets/QelBackPanel.h"
#include "widgets/QelComboBox.h"
#include "widgets/QelLabel.h"
#include "widgets/QelMaskEdit.h"
#include "widgets/QelSpeedButton.h"
#include "widgets/QelStaticText.h"
#include "widgets/StatusBar.h"

namespace {

constexpr TColor kWindow = 0x000000, kWindowText = 0xFFFFFF;
constexpr TColor kFace = 0x800000, kFaceText = 0x00FFFF;
constexpr TColor kHighlight = 0xFFFF00, kHighlightText = 0x000000;
constexpr TColor kPalette[] = {kWindow, kWindowText, kFace, kFaceText, kHighlight};

class HighContrast : public ProgramWindowTest {
 protected:
  void SetUp() override {
    ProgramWindowTest::SetUp();
    ASSERT_EQ(ColorToRGB(clBtnFace), kFace) << "the prefix lacks the test palette";
    ASSERT_EQ(ColorToRGB(clHighlight), kHighlight) << "the prefix lacks the test palette";
  }
  void TearDown() override {
    ForceHighContrast(std::nullopt);
    ProgramWindowTest::TearDown();
  }
  // As the platform tells the window of a new scheme.
  static void SwitchHighContrast(bool on) {
    ForceHighContrast(on);
    SendMessageA(Form1->Handle(), WM_SYSCOLORCHANGE, 0, 0);
    PumpMessages();
  }
};

int Distance(TColor a, TColor b) {
  int sum = 0;
  for (int shift : {0, 8, 16}) {
    const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    sum += d * d;
  }
  return sum;
}

// A text drawn in one pair: mostly the background, the pixel farthest from
// it (smoothed edges and all) nearest to the pair's text colour, and no
// pixel in another pair's colour.
::testing::AssertionResult DrawnInPair(const TPixels& pixels, const TRect& rect, TColor background,
                                       TColor text) {
  int back = 0, foreign = 0;
  TColor ink = background;
  for (int y = rect.Top; y < rect.Bottom; ++y)
    for (int x = rect.Left; x < rect.Right; ++x) {
      const TColor pixel = pixels.Pixel(x, y);
      back += pixel == background;
      foreign += pixel != background && pixel != text &&
                 std::find(std::begin(kPalette), std::end(kPalette), pixel) != std::end(kPalette);
      if (Distance(pixel, background) > Distance(ink, background)) ink = pixel;
    }
  const TColor nearest = *std::min_element(
      std::begin(kPalette), std::end(kPalette),
      [ink](TColor a, TColor b) { return Distance(ink, a) < Distance(ink, b); });
  if (back * 2 > rect.Width() * rect.Height() && nearest == text && foreign == 0)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "expected " << ColorText(text) << " on " << ColorText(background) << ": " << back
         << " pixels background, the text in " << ColorText(ink) << ", " << foreign
         << " in other pairs' colours";
}

TRect Inside(const TControl& control, int inset) {
  return control.BoundsRect().Inflate(-inset, -inset);
}

TEST_F(HighContrast, EveryTextIsDrawnInTheSystemPairOfItsBackground) {
  SwitchHighContrast(true);
  const TPixels main = RenderControl(*Form1->QelBackPanel1);
  TRect listField = Inside(*Form1->QelComboBox1, 3);
  listField.Right -= GetSystemMetrics(SM_CXVSCROLL);  // the button is drawn as a button
  const struct {
    const char* what;
    TRect rect;
    TColor background, text;
  } regions[] = {{"label", Inside(*Form1->QelLabel2, 0), kFace, kFaceText},
                 {"heading", Inside(*Form1->QelLabel6, 0), kFace, kFaceText},
                 {"group caption, declared green", Inside(*Form1->QelStaticText1, 3), kFace,
                  kFaceText},
                 {"frequency field", Inside(*Form1->QelMaskEdit1, 3), kWindow, kWindowText},
                 {"baud-rate field, declared navy", Inside(*Form1->QelMaskEdit2, 3), kWindow,
                  kWindowText},
                 {"drop-down list, declared white", listField, kWindow, kWindowText}};
  for (const auto& r : regions) EXPECT_TRUE(DrawnInPair(main, r.rect, r.background, r.text)) << r.what;
  const TPixels bar = RenderControl(*Form1->StatusBar1);
  EXPECT_TRUE(DrawnInPair(bar, Form1->StatusBar1->ClientRect().Inflate(-3, -3), kFace, kFaceText))
      << "status bar";

  // The grid: the header as fixed cells, exact matches highlighted (250000
  // is exact in row 1 and at double speed in row 2), everything else window
  // text on window; the bold rows and exact matches stay bold.
  const TPixels cells = RenderControl(Grid());
  const struct {
    int col, row;
    TColor background, text;
    bool bold;
  } samples[] = {{1, 0, kFace, kFaceText, true},          {0, 1, kWindow, kWindowText, true},
                 {1, 1, kHighlight, kHighlightText, true}, {1, 2, kWindow, kWindowText, false},
                 {1, 3, kWindow, kWindowText, false},      {4, 2, kHighlight, kHighlightText, true},
                 {0, 13, kHighlight, kHighlightText, true}, {1, 18, kWindow, kWindowText, true}};
  for (const auto& c : samples)
    EXPECT_TRUE(CellDrawnAs(cells, Grid(), c.col, c.row, c.background, c.text, c.bold));

  SendMessageA(Form1->Handle(), WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
  PumpMessages();
  const TPixels about = RenderControl(*Form1->QelBackPanel2);
  EXPECT_TRUE(DrawnInPair(about, Inside(*Form1->QelLabel8, 0), kFace, kFaceText)) << "about text";
  EXPECT_TRUE(DrawnInPair(about, Inside(*Form1->QelSpeedButton1, 3), kFace, kFaceText))
      << "OK button";
}

TEST_F(HighContrast, SwitchingItOffBringsTheDeclaredColoursBack) {
  SwitchHighContrast(true);
  SwitchHighContrast(false);
  const TPixels cells = RenderControl(Grid());
  EXPECT_TRUE(CellDrawnAs(cells, Grid(), 0, 1, 0xFAFAFA, clNavy, true));
  EXPECT_TRUE(CellDrawnAs(cells, Grid(), 1, 0, 0xE0BC8F, clWindowText, true));
  const TPixels main = RenderControl(*Form1->QelBackPanel1);
  EXPECT_GT(main.Count(Inside(*Form1->QelStaticText1, 3), 0xA8E089), 0) << "group caption";
  EXPECT_GT(main.Count(Inside(*Form1->QelMaskEdit2, 3), clNavy), 0) << "baud-rate field";
}

}  // namespace
