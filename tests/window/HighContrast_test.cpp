// The window in high contrast. Wine cannot switch the setting, so the test
// forces it (as the program reads it, through HighContrast), and it runs in
// a prefix of its own (tests/CMakeLists.txt) whose system colours make every
// pair distinct: window black with white text, button face navy with yellow
// text, highlight cyan with black text. A text drawn in the colour of
// another pair than its background's shows there as a wrong colour.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <utility>

#include "Unit1.h"
#include "app/Application.h"
#include "calc/LocaleFormats.h"
#include "framework/Contrast.h"
#include "support/CellPixels.h"
#include "support/MessageBoxCloser.h"
#include "support/Render.h"
#include "support/TestForm.h"
#include "widgets/QelBackPanel.h"
#include "widgets/QelComboBox.h"
#include "widgets/QelLabel.h"
#include "widgets/QelMaskEdit.h"
#include "widgets/QelSpeedButton.h"
#include "widgets/QelStaticText.h"
#include "widgets/StatusBar.h"

namespace {

// The pairs as the prefix declares them.
constexpr TColor kWindow = 0x000000, kWindowText = 0xFFFFFF;
constexpr TColor kFace = 0x800000, kFaceText = 0x00FFFF;
constexpr TColor kHighlight = 0xFFFF00, kHighlightText = 0x000000;

class HighContrast : public ::testing::Test {
 protected:
  void SetUp() override {
    setup_ = std::make_unique<TProgramSetup>();
    savedSeparator_ = std::exchange(LocaleFormats.DecimalSeparator, '.');
    Application->CreateMainForm(Form1);
    Form1->SetVisible(true);
    PumpMessages();
    ASSERT_EQ(ColorToRGB(clBtnFace), kFace) << "the prefix lacks the test palette";
    ASSERT_EQ(ColorToRGB(clHighlight), kHighlight) << "the prefix lacks the test palette";
  }
  void TearDown() override {
    ForceHighContrast(std::nullopt);
    setup_.reset();
    LocaleFormats.DecimalSeparator = savedSeparator_;
  }
  // As the platform would tell the window.
  static void SwitchHighContrast(bool on) {
    ForceHighContrast(on);
    SendMessageA(Form1->Handle(), WM_SYSCOLORCHANGE, 0, 0);
    PumpMessages();
  }

  TMessageBoxCloser closer_;
  std::unique_ptr<TProgramSetup> setup_;
  char savedSeparator_ = '.';
};

int Distance(TColor a, TColor b) {
  int sum = 0;
  for (int shift : {0, 8, 16}) {
    const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    sum += d * d;
  }
  return sum;
}

// A text region drawn in one pair: mostly its background, the text in the
// pair's text colour (the pixel farthest from the background, smoothed
// edges and all, lies nearest to it of the palette), and nothing in the
// colour of another pair.
::testing::AssertionResult DrawnInPair(const TPixels& pixels, const TRect& rect, TColor background,
                                       TColor text) {
  static constexpr TColor kPalette[] = {kWindow, kWindowText, kFace, kFaceText, kHighlight};
  int back = 0, foreign = 0;
  TColor ink = background;
  for (int y = rect.Top; y < rect.Bottom; ++y)
    for (int x = rect.Left; x < rect.Right; ++x) {
      const TColor pixel = pixels.Pixel(x, y);
      back += pixel == background;
      if (pixel != background && pixel != text &&
          std::find(std::begin(kPalette), std::end(kPalette), pixel) != std::end(kPalette))
        ++foreign;
      if (Distance(pixel, background) > Distance(ink, background)) ink = pixel;
    }
  const auto nearest = *std::min_element(std::begin(kPalette), std::end(kPalette),
                                         [ink](TColor a, TColor b) {
                                           return Distance(ink, a) < Distance(ink, b);
                                         });
  const int area = rect.Width() * rect.Height();
  if (back * 2 > area && ink != background && nearest == text && foreign == 0)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "expected " << ColorText(text) << " on " << ColorText(background) << ": " << back
         << " of " << area << " pixels background, the text in " << ColorText(ink) << ", "
         << foreign << " in other pairs' colours, the middle in "
         << ColorText(pixels.Pixel((rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2));
}

TRect Inside(const TControl& control, int inset) {
  return control.BoundsRect().Inflate(-inset, -inset);
}

TEST_F(HighContrast, EveryTextIsDrawnInTheSystemPairOfItsBackground) {
  SwitchHighContrast(true);
  const TPixels main = RenderControl(*Form1->QelBackPanel1);
  EXPECT_TRUE(DrawnInPair(main, Inside(*Form1->QelLabel2, 0), kFace, kFaceText)) << "label";
  EXPECT_TRUE(DrawnInPair(main, Inside(*Form1->QelLabel6, 0), kFace, kFaceText)) << "heading";
  EXPECT_TRUE(DrawnInPair(main, Inside(*Form1->QelStaticText1, 3), kFace, kFaceText))
      << "group caption, declared green";
  EXPECT_TRUE(DrawnInPair(main, Inside(*Form1->QelMaskEdit1, 3), kWindow, kWindowText))
      << "frequency field";
  EXPECT_TRUE(DrawnInPair(main, Inside(*Form1->QelMaskEdit2, 3), kWindow, kWindowText))
      << "baud-rate field, declared navy";
  TRect listField = Inside(*Form1->QelComboBox1, 3);
  listField.Right -= GetSystemMetrics(SM_CXVSCROLL);  // the button is drawn as a button
  EXPECT_TRUE(DrawnInPair(main, listField, kWindow, kWindowText)) << "drop-down list, declared white";

  // The grid: the header as fixed cells, exact matches highlighted (250000
  // is exact in row 1 and at double speed in row 2), everything else window
  // text on window; the bold rows and exact matches stay bold.
  TStringGrid& grid = *Form1->StringGrid_USART;
  const TPixels cells = RenderControl(grid);
  const struct {
    int col, row;
    TColor background, text;
    bool bold;
  } samples[] = {{1, 0, kFace, kFaceText, true},          {0, 1, kWindow, kWindowText, true},
                 {1, 1, kHighlight, kHighlightText, true}, {1, 2, kWindow, kWindowText, false},
                 {1, 3, kWindow, kWindowText, false},      {4, 2, kHighlight, kHighlightText, true},
                 {0, 13, kHighlight, kHighlightText, true}, {1, 18, kWindow, kWindowText, true},
                 {3, 18, kHighlight, kHighlightText, true}};
  for (const auto& c : samples)
    EXPECT_TRUE(CellDrawnAs(cells, grid, c.col, c.row, c.background, c.text, c.bold));

  const TPixels bar = RenderControl(*Form1->StatusBar1);
  EXPECT_TRUE(DrawnInPair(bar, Form1->StatusBar1->ClientRect().Inflate(-3, -3), kFace, kFaceText))
      << "status bar";

  SendMessageA(Form1->Handle(), WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
  PumpMessages();
  const TPixels about = RenderControl(*Form1->QelBackPanel2);
  EXPECT_TRUE(DrawnInPair(about, Inside(*Form1->QelLabel8, 0), kFace, kFaceText)) << "about text";
  EXPECT_TRUE(DrawnInPair(about, Inside(*Form1->QelSpeedButton1, 3), kFace, kFaceText))
      << "OK button";
}

// Outside high contrast the declared colours come back at once.
TEST_F(HighContrast, SwitchingItOffBringsTheDeclaredColoursBack) {
  SwitchHighContrast(true);
  SwitchHighContrast(false);
  TStringGrid& grid = *Form1->StringGrid_USART;
  const TPixels cells = RenderControl(grid);
  EXPECT_TRUE(CellDrawnAs(cells, grid, 0, 1, 0xFAFAFA, clNavy, true));
  EXPECT_TRUE(CellDrawnAs(cells, grid, 1, 0, 0xE0BC8F, clWindowText, true));
  const TPixels main = RenderControl(*Form1->QelBackPanel1);
  EXPECT_GT(main.Count(Inside(*Form1->QelStaticText1, 3), 0xA8E089), 0) << "group caption";
  EXPECT_GT(main.Count(Inside(*Form1->QelMaskEdit2, 3), clNavy), 0) << "baud-rate field";
}

}  // namespace
