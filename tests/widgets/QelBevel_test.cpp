// The bevel model: extents, change reports, copying and painting onto a
// bitmap, checked pixel by pixel against the system colours.
#include "widgets/QelBevel.h"

#include <gtest/gtest.h>

#include "support/Render.h"

namespace {

// A canvas drawing into a white bitmap.
struct TBevelCanvas {
  TPixels pixels;
  TCanvas canvas;
  TCanvasHandleScope scope;
  TBevelCanvas(int width, int height)
      : pixels(width, height), scope(canvas, pixels.DC()) {}
};

std::string RectText(const TRect& r) {
  return "(" + std::to_string(r.Left) + ", " + std::to_string(r.Top) + ", " +
         std::to_string(r.Right) + ", " + std::to_string(r.Bottom) + ")";
}

#define EXPECT_RECT(expected, actual) EXPECT_EQ(RectText(expected), RectText(actual))

TEST(QelBevel, ExtentFollowsModeSidesAndWidths) {
  struct Case {
    const char* what;
    std::function<void(TQelBevel&)> setup;
    int extent;
  };
  const Case cases[] = {
      {"new bevel", [](TQelBevel&) {}, 0},
      {"bmEdge, all sides", [](TQelBevel& b) { b.SetMode(bmEdge); }, 2},
      {"bmEdge, top only",
       [](TQelBevel& b) { b.SetMode(bmEdge); b.SetBorderSides({fsTop}); }, 2},
      {"bmEdge, no sides, WidthInner 0",
       [](TQelBevel& b) { b.SetMode(bmEdge); b.SetWidthInner(0); b.SetBorderSides({}); }, 0},
      {"bmEdge, no sides, BorderWidth 2",
       [](TQelBevel& b) { b.SetMode(bmEdge); b.SetBorderWidth(2); b.SetBorderSides({}); }, 0},
      {"bmEdge, 1-pixel edge kind",
       [](TQelBevel& b) { b.SetMode(bmEdge); b.SetEdgeStyle(etSunkenOuter); }, 2},
      {"bmEdge plus inner border",
       [](TQelBevel& b) { b.SetMode(bmEdge); b.SetBorderInnerWidth(3); }, 5},
      {"bmCustom, BorderWidth 2", [](TQelBevel& b) { b.SetBorderWidth(2); }, 2},
      {"bmCustom, BorderWidth and inner border",
       [](TQelBevel& b) { b.SetBorderWidth(2); b.SetBorderInnerWidth(1); }, 3},
      {"bmWindows with native border",
       [](TQelBevel& b) { b.SetNativeBorder(true); b.SetMode(bmWindows); }, 0},
      {"bmWindows drawn by the bevel", [](TQelBevel& b) { b.SetMode(bmWindows); }, 2},
  };
  for (const Case& c : cases) {
    TQelBevel bevel;
    c.setup(bevel);
    EXPECT_EQ(c.extent, bevel.Extent()) << c.what;
  }
}

TEST(QelBevel, ExtentPassesThroughBorderWidthWhileTheModeIsStillCustom) {
  // The order in which the second column caption's settings arrive.
  TQelBevel bevel;
  bevel.SetBorderWidth(2);
  EXPECT_EQ(2, bevel.Extent());
  bevel.SetMode(bmEdge);
  EXPECT_EQ(2, bevel.Extent());
  bevel.SetBorderSides({});
  EXPECT_EQ(0, bevel.Extent());
}

TEST(QelBevel, LineWidthsStayWithinTheirRange) {
  TQelBevel bevel;
  bevel.SetWidthInner(51);
  bevel.SetWidthOuter(-3);
  EXPECT_EQ(TQelBevel::kMaxLineWidth, bevel.WidthInner());
  EXPECT_EQ(0, bevel.WidthOuter());
}

TEST(QelBevel, ReportsRealChangesOnlyAndOnlyOutsideAnUpdate) {
  TQelBevel bevel;
  int reports = 0;
  bevel.SetOnChange([&](TObject* sender) {
    EXPECT_EQ(&bevel, sender);
    ++reports;
  });
  bevel.SetMode(bmCustom);
  bevel.SetEdgeStyle(etEtched);
  bevel.SetBorderSides(kQelAllFrameSides);
  bevel.SetWidthInner(1);
  EXPECT_EQ(0, reports) << "values equal to the stored ones";

  bevel.SetMode(bmEdge);
  EXPECT_EQ(1, reports);
  bevel.SetStandardStyle(lsRaised);
  EXPECT_EQ(1, reports) << "StandardStyle outside bmStandard";
  EXPECT_EQ(lsRaised, bevel.StandardStyle());
  bevel.SetMode(bmStandard);
  bevel.SetStandardStyle(lsFrameInset);
  EXPECT_EQ(3, reports);

  bevel.BeginUpdate();
  bevel.SetMode(bmEdge);
  bevel.SetBorderSides({fsTop});
  EXPECT_EQ(3, reports);
  EXPECT_EQ(2, bevel.Extent()) << "the extent follows even while updating";
  bevel.EndUpdate(true);
  EXPECT_EQ(4, reports);
  bevel.BeginUpdate();
  bevel.EndUpdate(false);
  EXPECT_EQ(4, reports);
}

TEST(QelBevel, CopyBevelTakesEveryValueAndReportsOnce) {
  TQelBevel source;
  source.SetStyleInner(TQelBevelStyle::bvRaised);
  source.SetStyleOuter(TQelBevelStyle::bvLowered);
  source.SetWidthInner(3);
  source.SetWidthOuter(4);
  source.SetBorderColor(clRed);
  source.SetBorderSides({fsLeft, fsTop});
  source.SetBorderWidth(5);
  source.SetBorderInnerWidth(6);
  source.SetEdgeStyle(etBump);
  source.SetLightColor(clYellow);
  source.SetShadowColor(clNavy);
  source.SetMode(bmStandard);
  source.SetStandardStyle(lsDoubleRaised);
  source.SetNativeBorder(true);
  source.SetMode(bmEdge);

  TQelBevel target;
  int reports = 0;
  target.SetOnChange([&](TObject*) { ++reports; });
  target.CopyBevel(source);
  EXPECT_EQ(1, reports);
  EXPECT_EQ(TQelBevelStyle::bvRaised, target.StyleInner());
  EXPECT_EQ(TQelBevelStyle::bvLowered, target.StyleOuter());
  EXPECT_EQ(3, target.WidthInner());
  EXPECT_EQ(4, target.WidthOuter());
  EXPECT_EQ(clRed, target.BorderColor());
  EXPECT_TRUE((target.BorderSides() == TQelFrameSides{fsLeft, fsTop}));
  EXPECT_EQ(5, target.BorderWidth());
  EXPECT_EQ(6, target.BorderInnerWidth());
  EXPECT_EQ(etBump, target.EdgeStyle());
  EXPECT_EQ(clYellow, target.LightColor());
  EXPECT_EQ(clNavy, target.ShadowColor());
  EXPECT_EQ(lsDoubleRaised, target.StandardStyle());
  EXPECT_EQ(bmEdge, target.Mode());
  EXPECT_TRUE(target.NativeBorder());
  EXPECT_EQ(source.Extent(), target.Extent());
}

TEST(QelBevel, PlatformEdgeKindsAndSideFlags) {
  const std::pair<TQelEdgeStyle, UINT> kinds[] = {
      {etRaisedInner, 4}, {etRaisedOuter, 1}, {etSunkenInner, 8}, {etSunkenOuter, 2},
      {etBump, 9},        {etEtched, 6},      {etRaised, 5},      {etSunken, 10}};
  for (auto [style, edge] : kinds) EXPECT_EQ(edge, QelEdgeKind(style)) << "style " << style;
  EXPECT_EQ(8u, QelBorderFlags({fsBottom}));
  EXPECT_EQ(2u, QelBorderFlags({fsTop}));
  EXPECT_EQ(4u, QelBorderFlags({fsRight}));
  EXPECT_EQ(1u, QelBorderFlags({fsLeft}));
  EXPECT_EQ(static_cast<UINT>(BF_RECT), QelBorderFlags(kQelAllFrameSides));
  EXPECT_EQ(15u, kQelAllFrameSides.Bits());
}

TEST(QelBevelPaint, WithoutExtentTouchesNoPixel) {
  TQelBevel custom;
  TQelBevel edgeWithoutSides;
  edgeWithoutSides.SetMode(bmEdge);
  edgeWithoutSides.SetBorderWidth(2);
  edgeWithoutSides.SetWidthInner(0);
  edgeWithoutSides.SetBorderSides({});
  for (const TQelBevel* bevel : {&custom, &edgeWithoutSides}) {
    TBevelCanvas c(20, 10);
    c.canvas.Brush().SetColor(clRed);
    const TRect rect(0, 0, 20, 10);
    EXPECT_RECT(rect, bevel->PaintBevel(c.canvas, rect, false));
    EXPECT_EQ(200, c.pixels.Count(rect, clWhite));
  }
}

TEST(QelBevelPaint, EtchedEdgeOnAllSidesIsAGrooveOfTwoLines) {
  TQelBevel bevel;
  bevel.SetMode(bmEdge);
  TBevelCanvas c(40, 30);
  EXPECT_RECT(TRect(2, 2, 38, 28), bevel.PaintBevel(c.canvas, {0, 0, 40, 30}, true));
  for (int x : {2, 20, 37}) {
    EXPECT_TRUE(PixelIs(c.pixels, x, 0, clBtnShadow));
    EXPECT_TRUE(PixelIs(c.pixels, x, 1, clBtnHighlight));
    EXPECT_TRUE(PixelIs(c.pixels, x, 28, clBtnShadow));
    EXPECT_TRUE(PixelIs(c.pixels, x, 29, clBtnHighlight));
  }
  for (int y : {2, 15, 27}) {
    EXPECT_TRUE(PixelIs(c.pixels, 0, y, clBtnShadow));
    EXPECT_TRUE(PixelIs(c.pixels, 1, y, clBtnHighlight));
    EXPECT_TRUE(PixelIs(c.pixels, 38, y, clBtnShadow));
    EXPECT_TRUE(PixelIs(c.pixels, 39, y, clBtnHighlight));
  }
  EXPECT_EQ(36 * 26, c.pixels.Count({2, 2, 38, 28}, clWhite));
}

TEST(QelBevelPaint, EdgeOnTheTopOnlyFillsTheOtherStripsWithTheBrush) {
  TQelBevel bevel;
  bevel.SetMode(bmEdge);
  bevel.SetBorderSides({fsTop});
  TBevelCanvas c(50, 40);
  c.canvas.Brush().SetColor(clRed);
  EXPECT_RECT(TRect(0, 2, 50, 40), bevel.PaintBevel(c.canvas, {0, 0, 50, 40}, false));
  EXPECT_TRUE(PixelIs(c.pixels, 25, 0, clBtnShadow));
  EXPECT_TRUE(PixelIs(c.pixels, 25, 1, clBtnHighlight));
  EXPECT_EQ(2 * 40, c.pixels.Count({0, 0, 2, 40}, clRed)) << "left strip";
  EXPECT_EQ(2 * 40, c.pixels.Count({48, 0, 50, 40}, clRed)) << "right strip";
  EXPECT_EQ(50 * 2, c.pixels.Count({0, 38, 50, 40}, clRed)) << "bottom strip";
  EXPECT_EQ(46 * 36, c.pixels.Count({2, 2, 48, 38}, clWhite)) << "inside";
}

TEST(QelBevelPaint, TransparentEdgeFillsNoStrip) {
  TQelBevel bevel;
  bevel.SetMode(bmEdge);
  bevel.SetBorderSides({fsTop});
  TBevelCanvas c(50, 40);
  c.canvas.Brush().SetColor(clRed);
  bevel.PaintBevel(c.canvas, {0, 0, 50, 40}, true);
  EXPECT_EQ(0, c.pixels.Count({0, 0, 50, 40}, clRed));
}

TEST(QelBevelPaint, OnePixelEdgeKindStillShrinksByTwo) {
  TQelBevel bevel;
  bevel.SetMode(bmEdge);
  bevel.SetEdgeStyle(etSunkenOuter);
  TBevelCanvas c(30, 20);
  c.canvas.Brush().SetColor(clRed);
  EXPECT_RECT(TRect(2, 2, 28, 18), bevel.PaintBevel(c.canvas, {0, 0, 30, 20}, false));
  EXPECT_TRUE(PixelIs(c.pixels, 15, 0, clBtnShadow));
  EXPECT_TRUE(PixelIs(c.pixels, 15, 1, clWhite)) << "the second row stays as it was";
  EXPECT_TRUE(PixelIs(c.pixels, 15, 19, clBtnHighlight));
  EXPECT_EQ(0, c.pixels.Count({0, 0, 30, 20}, clRed)) << "no strip without an edge";
}

TEST(QelBevelPaint, LeavesTheClippingAsItWas) {
  TQelBevel bevel;
  bevel.SetMode(bmEdge);
  bevel.SetBorderSides({fsTop});
  TBevelCanvas c(50, 40);
  c.canvas.IntersectClipRect({5, 5, 45, 35});
  bevel.PaintBevel(c.canvas, {0, 0, 50, 40}, false);
  EXPECT_RECT(TRect(5, 5, 45, 35), c.canvas.ClipRect());
}

TEST(QelBevelPaint, CustomPlainBorderInBorderColorOrOnlyShrinking) {
  TQelBevel bevel;
  bevel.SetBorderWidth(2);
  bevel.SetBorderColor(clGreen);
  {
    TBevelCanvas c(20, 20);
    EXPECT_RECT(TRect(2, 2, 18, 18), bevel.PaintBevel(c.canvas, {0, 0, 20, 20}, false));
    EXPECT_EQ(20 * 20 - 16 * 16, c.pixels.Count({0, 0, 20, 20}, clGreen));
  }
  {
    TBevelCanvas c(20, 20);
    EXPECT_RECT(TRect(2, 2, 18, 18), bevel.PaintBevel(c.canvas, {0, 0, 20, 20}, true));
    EXPECT_EQ(400, c.pixels.Count({0, 0, 20, 20}, clWhite));
  }
}

TEST(QelBevelPaint, WindowsEdgeWithoutNativeBorder) {
  TQelBevel bevel;
  bevel.SetMode(bmWindows);
  TBevelCanvas c(30, 20);
  EXPECT_RECT(TRect(2, 2, 28, 18), bevel.PaintBevel(c.canvas, {0, 0, 30, 20}, true));
  EXPECT_TRUE(PixelIs(c.pixels, 15, 0, clBtnShadow));
  EXPECT_TRUE(PixelIs(c.pixels, 15, 1, cl3DDkShadow));
  EXPECT_TRUE(PixelIs(c.pixels, 15, 19, clBtnHighlight));
  EXPECT_TRUE(PixelIs(c.pixels, 15, 18, clWhite)) << "inner line has no bottom";
}

}  // namespace
