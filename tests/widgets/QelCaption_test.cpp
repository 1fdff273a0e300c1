// The shared caption routines: flags of alignments and options, accelerator
// markers, measuring and drawing with effects.
#include "widgets/QelCaption.h"

#include <gtest/gtest.h>

#include "support/Render.h"

namespace {

TEST(QelCaption, AlignmentAndOptionFlags) {
  const UINT expected[] = {0, 1, 2, 4, 5, 6, 8, 9, 10};
  for (int a = agTopLeft; a <= agBottomRight; ++a)
    EXPECT_EQ(expected[a], QelAlignmentFlags(static_cast<TQelAlignment>(a))) << "alignment " << a;
  EXPECT_EQ(0u, QelLabelOptionFlags({}));
  EXPECT_EQ(16384u + 32768u + 8192u,
            QelLabelOptionFlags({loPathEllipsis, loEndEllipsis, loEditControl}));
  EXPECT_FALSE(QelAlignedBelowTop(agTopRight));
  EXPECT_TRUE(QelAlignedBelowTop(agCenterLeft));
}

TEST(QelCaption, AcceleratorMarkers) {
  struct Case {
    char ch;
    const char* caption;
    bool accel;
  };
  const Case cases[] = {
      {'d', "&Datei", true},   {'D', "&datei", true}, {'a', "D&atei", true},
      {'d', "Datei", false},   {'k', "OK", false},    {'&', "A&&B", false},
      {'b', "A&&B", false},    {'c', "A&&B&C", true}, {'x', "&", false},
      {'\xE4', "&\xC4nderung", true},  // ä and Ä
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.accel, IsAccelerator(c.ch, c.caption)) << c.caption << " / " << c.ch;
}

TEST(QelCaption, MeasuringAddsAirBevelAndEffects) {
  TFont font;
  TQelFxCaption fx;
  TRect plain(0, 0, 0, 0);
  MeasureCaptionText("Baudix", fx, 0, 0, true, false, font, plain);
  TRect bordered(0, 0, 0, 0);
  MeasureCaptionText("Baudix", fx, 0, 3, true, false, font, bordered);
  EXPECT_EQ(plain.Width() + 6, bordered.Width());
  EXPECT_EQ(plain.Height() + 6, bordered.Height());

  fx.SetStyle(tdRaised);  // light 1 pixel one way, shadow 1 pixel the other
  TRect raised(0, 0, 0, 0);
  MeasureCaptionText("Baudix", fx, 0, 0, true, false, font, raised);
  EXPECT_EQ(plain.Width() + 2, raised.Width());
  EXPECT_EQ(plain.Height() + 2, raised.Height());

  TQelFxCaption turned;
  turned.SetAngle(90);
  TRect upright(0, 0, 0, 0);
  MeasureCaptionText("Baudix", turned, 0, 0, true, false, font, upright);
  EXPECT_EQ(plain.Height(), upright.Width());
  EXPECT_EQ(plain.Width(), upright.Height());
}

TEST(QelCaption, TracingWidensTheText) {
  TFont font;
  TQelFxCaption fx;
  TRect plain(0, 0, 0, 0);
  MeasureCaptionText("Baudix", fx, 0, 0, true, false, font, plain);
  fx.SetTracing(2);
  TRect traced(0, 0, 0, 0);
  MeasureCaptionText("Baudix", fx, 0, 0, true, false, font, traced);
  EXPECT_EQ(plain.Width() + 6 * 2, traced.Width());
}

TEST(QelCaption, PaintingNeedsTextAndRoom) {
  TPixels pixels(60, 20);
  TCanvas canvas;
  TCanvasHandleScope scope(canvas, pixels.DC());
  TQelFxCaption fx;
  PaintCaptionText(canvas, "", fx, nullptr, {cpsEnabled}, 0, {0, 0, 60, 20});
  PaintCaptionText(canvas, "OK", fx, nullptr, {cpsEnabled}, 0, {10, 10, 10, 20});
  EXPECT_EQ(60 * 20, pixels.Count({0, 0, 60, 20}, clWhite));
  PaintCaptionText(canvas, "OK", fx, nullptr, {cpsEnabled}, 0, {0, 0, 60, 20});
  EXPECT_GT(pixels.Count({0, 0, 60, 20}, ColorToRGB(canvas.Font().Color())), 0);
}

TEST(QelCaption, ClippedPaintingStaysInsideAndRestoresTheClipping) {
  TPixels pixels(60, 20);
  TCanvas canvas;
  TCanvasHandleScope scope(canvas, pixels.DC());
  TQelFxCaption fx;
  fx.SetPosX(-4);  // the text starts left of its rectangle
  const TRect clip(10, 0, 60, 20);
  PaintCaptionText(canvas, "WWWW", fx, &clip, {cpsEnabled, cpsClip}, 0, {10, 0, 60, 20});
  EXPECT_EQ(10 * 20, pixels.Count({0, 0, 10, 20}, clWhite)) << "nothing left of the clip";
  EXPECT_EQ(TRect(0, 0, 60, 20), canvas.ClipRect());
}

TEST(QelCaption, DisabledStylesChooseTheColour) {
  for (TQelDisabledStyle style : {dsAuto, dsStandard, dsNone}) {
    TPixels pixels(60, 20);
    TCanvas canvas;
    TCanvasHandleScope scope(canvas, pixels.DC());
    canvas.Font().SetColor(clBlue);
    TQelFxCaption fx;
    fx.SetDisabledStyle(style);
    PaintCaptionText(canvas, "WW", fx, nullptr, {}, 0, {0, 0, 60, 20});
    const TColor expected = style == dsNone ? clBlue : ColorToRGB(clGrayText);
    EXPECT_GT(pixels.Count({0, 0, 60, 20}, expected), 0) << "style " << style;
  }
}

}  // namespace
