// Labels: automatic sizing from the caption, drawing at the right place in
// the right colours, accelerator markers, wrapping and cutting, and no
// work for unchanged values.
#include "widgets/QelLabel.h"

#include <gtest/gtest.h>

#include "support/Render.h"
#include "support/TestForm.h"

namespace {

// The size of `text` in `font`, measured directly.
TSize TextSize(const TFont& font, const std::string& text) {
  TWindowDC screen(nullptr);
  TSelectObject select(screen.Get(), font.Handle());
  SIZE size{};
  GetTextExtentPoint32A(screen.Get(), text.data(), static_cast<int>(text.size()), &size);
  return {size.cx, size.cy};
}

// Pixels of the rectangle that differ from `background`.
int Ink(const TPixels& pixels, const TRect& rect, TColor background) {
  const TRect r = rect.Intersect({0, 0, pixels.Width(), pixels.Height()});
  return r.Width() * r.Height() - pixels.Count(r, ColorToRGB(background));
}

bool SamePixels(const TPixels& a, const TPixels& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
  return true;
}

bool ParentHasUpdate(TControl& control) {
  return GetUpdateRect(control.Parent()->Handle(), nullptr, FALSE) != FALSE;
}

class QelLabelTest : public ::testing::Test {
 protected:
  TTestForm form{400, 200};
  TQelLabel* Add(const std::string& caption, int left = 8, int top = 8) {
    auto* label = form.Add<TQelLabel>(left, top, 30, 30);
    label->SetCaption(caption);
    PumpMessages();
    return label;
  }
};

TEST_F(QelLabelTest, NewLabelDefaults) {
  auto* label = new TQelLabel(&form.Form());
  EXPECT_EQ(TQelLabel::kDefaultSize, label->Width());
  EXPECT_EQ(TQelLabel::kDefaultSize, label->Height());
  EXPECT_TRUE(label->AutoSize());
  EXPECT_TRUE(label->Transparent());
  EXPECT_FALSE(label->ControlStyle().Contains(csOpaque));
  EXPECT_TRUE(label->ShowAccelChar());
  EXPECT_FALSE(label->MultiLine());
  EXPECT_EQ(agTopLeft, label->Alignment());
  EXPECT_TRUE(label->Options().Empty());
  EXPECT_FALSE(label->Bevel().NativeBorder());
  EXPECT_EQ(0, label->Bevel().Extent());
  EXPECT_EQ(clNone, label->TwinkleColor());
  EXPECT_EQ(TQelLabel::kDefaultTwinkleMs, label->TwinkleVisible());
}

TEST_F(QelLabelTest, AutoSizeIsTheTextPlusOnePixelOfAirOnEachSide) {
  struct Case {
    std::string caption;
    bool showAccelChar;
    std::string measuredAs;
  };
  const Case cases[] = {
      {"Mikrocontroller", true, "Mikrocontroller"},
      {"", true, " "},
      {"&", true, " "},
      {"&", false, "&"},
      {"&Datei", true, "Datei"},
      {"A&&B", true, "A&B"},
  };
  for (const Case& c : cases) {
    auto* label = form.Add<TQelLabel>(8, 8, 30, 30);
    label->SetShowAccelChar(c.showAccelChar);
    label->SetCaption("x");  // so that every case is a change
    label->SetCaption(c.caption);
    const TSize text = TextSize(label->Font(), c.measuredAs);
    EXPECT_EQ(text.Width + 2, label->Width()) << '"' << c.caption << '"';
    EXPECT_EQ(text.Height + 2, label->Height()) << '"' << c.caption << '"';
    delete label;
  }
}

TEST_F(QelLabelTest, AutoSizeMakesRoomForTheBevel) {
  auto* label = Add("USART");
  const TSize text = TextSize(label->Font(), "USART");
  label->Bevel().SetBorderWidth(2);
  EXPECT_EQ(text.Width + 2 * (2 + 1), label->Width());
  EXPECT_EQ(text.Height + 2 * (2 + 1), label->Height());
}

TEST_F(QelLabelTest, SizingWaitsForTheEndOfLoading) {
  TForm* loading = new TForm(nullptr);
  auto* label = new TQelLabel(loading);
  label->SetParent(loading);
  label->SetCaption("Frequenz [Hz]");
  EXPECT_EQ(TQelLabel::kDefaultSize, label->Width()) << "still loading";
  loading->AfterConstruction();
  EXPECT_EQ(TextSize(label->Font(), "Frequenz [Hz]").Width + 2, label->Width());
  delete loading;
}

TEST_F(QelLabelTest, EmptyCaptionDrawsNothing) {
  auto* label = Add("");
  const TPixels pixels = RenderGraphic(*label);
  EXPECT_EQ(0, Ink(pixels, {0, 0, label->Width(), label->Height()}, clBtnFace));
}

TEST_F(QelLabelTest, TextStartsAtTheTopLeftCornerAndLeavesTwoPixelsFree) {
  auto* label = Add("Mikrocontroller");
  const TPixels pixels = RenderGraphic(*label);
  const int w = label->Width();
  const int h = label->Height();
  EXPECT_GT(pixels.Count({0, 0, w, h}, ColorToRGB(clWindowText)), 0) << "text in clWindowText";
  EXPECT_GT(Ink(pixels, {0, 0, 2, h}, clBtnFace), 0) << "the 'M' begins at the left edge";
  EXPECT_EQ(0, Ink(pixels, {w - 2, 0, w, h}, clBtnFace)) << "right margin";
  EXPECT_EQ(0, Ink(pixels, {0, h - 2, w, h}, clBtnFace)) << "bottom margin";
}

TEST_F(QelLabelTest, AcceleratorMarkersUnderlineOrShowOnce) {
  auto* marked = Add("&Datei", 8, 8);
  auto* plain = Add("Datei", 8, 40);
  ASSERT_EQ(plain->Width(), marked->Width());
  const TPixels a = RenderGraphic(*marked);
  const TPixels b = RenderGraphic(*plain);
  EXPECT_FALSE(SamePixels(a, b)) << "the D is underlined";

  auto* doubled = Add("A&&B", 8, 80);
  auto* literal = Add("A&B", 8, 120);
  literal->SetShowAccelChar(false);
  EXPECT_TRUE(SamePixels(RenderGraphic(*doubled), RenderGraphic(*literal)))
      << "\"&&\" shows as one \"&\"";
}

TEST_F(QelLabelTest, CenterRightCutsALongTextAtTheLeftEdge) {
  auto* label = Add("WWWWWWWWWWWWWWWWWWWWWWWW");
  const TSize text = TextSize(label->Font(), label->Caption());
  label->SetAutoSize(false);
  label->SetAlignment(agCenterRight);
  label->SetBounds(8, 8, text.Width / 2, 17);
  PumpMessages();
  const TPixels pixels = RenderGraphic(*label);
  const int w = label->Width();
  EXPECT_GT(Ink(pixels, {0, 0, 3, 17}, clBtnFace), 0) << "text runs into the left edge";
  EXPECT_GT(Ink(pixels, {w - 4, 0, w, 17}, clBtnFace), 0) << "text ends at the right edge";
  const int top = (17 - text.Height) / 2;
  EXPECT_EQ(0, Ink(pixels, {0, 0, w, top}, clBtnFace)) << "centred vertically";
}

TEST_F(QelLabelTest, MultiLineWrapsAtSpacesSingleLineDoesNot) {
  auto* label = Add("Rechtlicher Hinweis: Der Autor dieses Programms haftet nicht");
  const int lineHeight = TextSize(label->Font(), "X").Height;
  const int wide = label->Width();
  label->SetAutoSize(false);
  label->SetBounds(8, 8, wide / 2, 4 * lineHeight);
  PumpMessages();
  const TRect secondLine(0, lineHeight, wide / 2, 2 * lineHeight);
  EXPECT_EQ(0, Ink(RenderGraphic(*label), secondLine, clBtnFace)) << "one line only";
  label->SetMultiLine(true);
  PumpMessages();
  EXPECT_GT(Ink(RenderGraphic(*label), secondLine, clBtnFace), 0) << "wrapped";
}

TEST_F(QelLabelTest, DisabledCaptionIsGray) {
  auto* label = Add("Programmversion: 1.0");
  label->SetEnabled(false);
  const TPixels pixels = RenderGraphic(*label);
  const TRect all(0, 0, label->Width(), label->Height());
  EXPECT_GT(pixels.Count(all, ColorToRGB(clGrayText)), 0);
  EXPECT_EQ(0, pixels.Count(all, ColorToRGB(clWindowText)));
}

TEST_F(QelLabelTest, OpaqueLabelFillsItsColor) {
  auto* label = Add("");
  label->SetTransparent(false);
  label->SetColor(clYellow);
  EXPECT_TRUE(label->ControlStyle().Contains(csOpaque));
  const TPixels pixels = RenderGraphic(*label);
  const TRect all(0, 0, label->Width(), label->Height());
  EXPECT_EQ(all.Width() * all.Height(), pixels.Count(all, clYellow));
}

TEST_F(QelLabelTest, UnchangedValuesCauseNoResizeAndNoRepaint) {
  auto* label = Add("Baudrate [bps]");
  const TRect bounds = label->BoundsRect();
  ValidateRect(form->Handle(), nullptr);
  label->SetCaption("Baudrate [bps]");
  label->SetAlignment(agTopLeft);
  label->SetAutoSize(true);
  label->SetMultiLine(false);
  label->SetShowAccelChar(true);
  label->SetOptions({});
  label->SetTransparent(true);
  label->Bevel().SetMode(bmCustom);
  label->FontFX().SetStyle(tdNone);
  EXPECT_FALSE(ParentHasUpdate(*label));
  EXPECT_EQ(bounds, label->BoundsRect());

  label->SetCaption("Baudrate");
  EXPECT_TRUE(ParentHasUpdate(*label));
  EXPECT_LT(label->Width(), bounds.Width());
}

TEST_F(QelLabelTest, TwinkleHidesTheCaptionInItsOffPhase) {
  auto* label = Add("USART");
  const TRect all(0, 0, label->Width(), label->Height());
  label->SetTwinkleVisible(10);
  label->SetTwinkleInVisible(100000);
  label->SetTwinkle(true);
  // Wait for the first phase change (a 10 ms timer; generous deadline).
  const DWORD deadline = GetTickCount() + 5000;
  while (Ink(RenderGraphic(*label), all, clBtnFace) != 0 && GetTickCount() < deadline) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    PumpMessages();
  }
  EXPECT_EQ(0, Ink(RenderGraphic(*label), all, clBtnFace)) << "hidden with TwinkleColor clNone";
  label->SetTwinkle(false);
  EXPECT_GT(Ink(RenderGraphic(*label), all, clBtnFace), 0) << "shown again";
}

}  // namespace
