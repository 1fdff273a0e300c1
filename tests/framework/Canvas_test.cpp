// TCanvas: colours resolved when drawn, lazy selection with restore, text
// output modes, and no leaked GDI objects.
#include <gtest/gtest.h>

#include "framework/Canvas.h"
#include "framework/CustomControl.h"
#include "support/GdiCounter.h"
#include "support/Render.h"
#include "support/TestForm.h"

namespace {

TEST(CanvasDrawing, SystemColoursResolveToTheDesktopColours) {
  TPixels pixels(20, 10);
  TCanvas canvas;
  TCanvasHandleScope scope(canvas, pixels.DC());
  for (TColor color : {clBtnFace, clWindow, clHighlight, cl3DDkShadow, clInfoBk}) {
    canvas.Brush().SetColor(color);
    canvas.FillRect({0, 0, 20, 10});
    EXPECT_TRUE(PixelIs(pixels, 5, 5, color)) << "system colour index " << (color & 0xFF);
  }
  canvas.Brush().SetColor(clNavy);
  canvas.FrameRect({0, 0, 20, 10});
  EXPECT_TRUE(PixelIs(pixels, 0, 0, clNavy));
  EXPECT_TRUE(PixelIs(pixels, 19, 9, clNavy));
  EXPECT_TRUE(PixelIs(pixels, 5, 5, clInfoBk)) << "FrameRect filled the inside";
}

TEST(CanvasDrawing, TextRectFillsWithTheBrushUnlessTheBrushIsClear) {
  TPixels pixels(60, 20);
  TCanvas canvas;
  TCanvasHandleScope scope(canvas, pixels.DC());
  canvas.Brush().SetColor(clYellow);
  canvas.TextRect({0, 0, 30, 20}, 2, 2, "");
  EXPECT_TRUE(PixelIs(pixels, 29, 19, clYellow));
  EXPECT_TRUE(PixelIs(pixels, 30, 0, clWhite)) << "filled beyond the rectangle";
  canvas.Brush().SetStyle(bsClear);
  canvas.TextRect({30, 0, 60, 20}, 32, 2, "");
  EXPECT_TRUE(PixelIs(pixels, 45, 10, clWhite)) << "a clear brush filled";
}

TEST(CanvasDrawing, TextIsDrawnInTheFontColourAndClippedByTextRect) {
  TPixels pixels(100, 30);
  TCanvas canvas;
  TCanvasHandleScope scope(canvas, pixels.DC());
  canvas.Font().SetColor(clRed);
  canvas.Font().SetHeight(-20);
  canvas.Brush().SetStyle(bsClear);
  canvas.TextRect({0, 0, 10, 30}, 0, 0, "WWWW");
  EXPECT_GT(pixels.Count({0, 0, 10, 30}, ColorToRGB(clRed)), 0) << "no text drawn";
  EXPECT_EQ(pixels.Count({10, 0, 100, 30}, ColorToRGB(clRed)), 0) << "text not clipped";
}

TEST(CanvasSelection, ObjectsAreSelectedLazilyAndTheOriginalsComeBack) {
  TPixels pixels(10, 10);
  HDC dc = pixels.DC();
  const HGDIOBJ originalFont = GetCurrentObject(dc, OBJ_FONT);
  const HGDIOBJ originalBrush = GetCurrentObject(dc, OBJ_BRUSH);
  TCanvas canvas;
  canvas.SetHandle(dc);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), originalFont) << "selected before use";
  canvas.TextWidth("x");
  canvas.FillRect({0, 0, 1, 1});
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), canvas.Font().Handle());
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), canvas.Brush().Handle());
  canvas.SetHandle(nullptr);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), originalFont);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), originalBrush);
}

TEST(CanvasSelection, AFontChangedWhileAttachedTakesEffectAtTheNextOperation) {
  TPixels pixels(10, 10);
  TCanvas canvas;
  TCanvasHandleScope scope(canvas, pixels.DC());
  // A scalable font: the default MS Sans Serif is a bitmap font here.
  canvas.Font().SetName("Tahoma");
  canvas.Font().SetHeight(-10);
  const int small = canvas.TextHeight("Mg");
  canvas.Font().SetHeight(-30);
  const int large = canvas.TextHeight("Mg");
  EXPECT_GT(large, small + 10);
  const int regular = canvas.TextWidth("WWWW");
  canvas.Font().SetStyle({fsBold});
  EXPECT_GT(canvas.TextWidth("WWWW"), regular);
  EXPECT_EQ(GetCurrentObject(pixels.DC(), OBJ_FONT), canvas.Font().Handle());
}

TEST(CanvasDrawing, DrawEdgeAdjustsTheRectangleLikeThePlatform) {
  TPixels pixels(20, 20);
  TCanvas canvas;
  TCanvasHandleScope scope(canvas, pixels.DC());
  TRect r{0, 0, 20, 20};
  EXPECT_TRUE(canvas.DrawEdge(r, EDGE_SUNKEN, BF_RECT | BF_ADJUST));
  EXPECT_EQ(r, TRect(2, 2, 18, 18));
  EXPECT_TRUE(PixelIs(pixels, 0, 0, clBtnShadow));
  EXPECT_TRUE(PixelIs(pixels, 19, 19, clBtnHighlight));
}

// Changes font and brush on every paint.
class TBusyPainter : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  int paints = 0;

 protected:
  void Paint() override {
    ++paints;
    Canvas().Font().SetHeight(-10 - paints % 7);
    Canvas().Font().SetStyle(paints % 2 ? TFontStyles{fsBold} : TFontStyles{});
    Canvas().Brush().SetColor(paints % 2 ? clRed : clBlue);
    Canvas().FillRect(ClientRect());
    Canvas().TextOut(1, 1, "Text");
  }
};

TEST(CanvasResources, RepeatedPaintsLeaveNoGdiObjectsBehind) {
  TTestForm form(100, 100);
  auto* painter = form.Add<TBusyPainter>(0, 0, 50, 50);
  for (int i = 0; i < 20; ++i) painter->Repaint();
  const int before = GdiObjectCount();
  ASSERT_GT(before, 0) << "the GDI counter does not work here";
  for (int i = 0; i < 300; ++i) {
    painter->Repaint();
    RenderControl(*painter);
  }
  EXPECT_EQ(GdiObjectCount(), before);
  EXPECT_GE(painter->paints, 600);
}

}  // namespace
