// The back panel as the window's pages use it: a 441 x 450 page with an
// etched groove, its children's area, and no repaint for unchanged values.
#include "widgets/QelBackPanel.h"

#include <gtest/gtest.h>

#include "framework/Gdi.h"
#include "support/Render.h"
#include "support/TestForm.h"

namespace {

constexpr int kPageWidth = 441;
constexpr int kPageHeight = 450;

TQelBackPanel* AddPage(TTestForm& form) {
  auto* page = form.Add<TQelBackPanel>(8, 8, kPageWidth, kPageHeight);
  page->Bevel().SetMode(bmEdge);
  PumpMessages();
  return page;
}

bool HasUpdateRegion(TWinControl& control) {
  return GetUpdateRect(control.Handle(), nullptr, FALSE) != FALSE;
}

TEST(QelBackPanel, NewPanelDefaults) {
  TTestForm form;
  auto* panel = new TQelBackPanel(&form.Form());
  EXPECT_EQ(TQelBackPanel::kDefaultWidth, panel->Width());
  EXPECT_EQ(TQelBackPanel::kDefaultHeight, panel->Height());
  EXPECT_EQ(clBtnFace, panel->Color());
  EXPECT_FALSE(panel->ParentColor());
  EXPECT_FALSE(panel->Transparent());
  EXPECT_FALSE(panel->TabStop());
  EXPECT_EQ(alNone, panel->Align());
  EXPECT_TRUE(panel->Bevel().NativeBorder());
  EXPECT_EQ(bmCustom, panel->Bevel().Mode());
}

TEST(QelBackPanel, PageShowsTheEtchedGrooveAroundTheFace) {
  TTestForm form(460, 470);
  TQelBackPanel* page = AddPage(form);
  ASSERT_EQ(kPageWidth, page->ClientWidth()) << "no platform border";
  const TPixels pixels = RenderControl(*page);
  for (int x : {2, 100, 220, 438}) {
    EXPECT_TRUE(PixelIs(pixels, x, 0, clBtnShadow));
    EXPECT_TRUE(PixelIs(pixels, x, 1, clBtnHighlight));
    EXPECT_TRUE(PixelIs(pixels, x, 448, clBtnShadow));
    EXPECT_TRUE(PixelIs(pixels, x, 449, clBtnHighlight));
  }
  for (int y : {2, 225, 447}) {
    EXPECT_TRUE(PixelIs(pixels, 0, y, clBtnShadow));
    EXPECT_TRUE(PixelIs(pixels, 1, y, clBtnHighlight));
    EXPECT_TRUE(PixelIs(pixels, 439, y, clBtnShadow));
    EXPECT_TRUE(PixelIs(pixels, 440, y, clBtnHighlight));
  }
  const TRect face(2, 2, 439, 448);
  EXPECT_EQ(face.Width() * face.Height(), pixels.Count(face, ColorToRGB(clBtnFace)));

  // A larger page repaints what changed, not the whole face.
  ValidateRect(page->Handle(), nullptr);
  page->SetBounds(8, 8, kPageWidth + 10, kPageHeight + 10);
  TRegionHandle update(CreateRectRgn(0, 0, 0, 0));
  GetUpdateRgn(page->Handle(), update.Get(), FALSE);
  EXPECT_FALSE(PtInRegion(update.Get(), 220, 225)) << "the middle of the face was invalidated";
}

TEST(QelBackPanel, PaintsNothingWhileItsFormLoads) {
  TForm* loading = new TForm(nullptr);  // no CreateForm: still loading
  auto* page = new TQelBackPanel(loading);
  page->SetBounds(8, 8, kPageWidth, kPageHeight);
  page->Bevel().SetMode(bmEdge);
  page->SetParent(loading);
  TPixels pixels(kPageWidth, kPageHeight);
  SendMessageA(page->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(pixels.DC()), PRF_CLIENT);
  EXPECT_EQ(kPageWidth * kPageHeight, pixels.Count({0, 0, kPageWidth, kPageHeight}, clWhite));
  delete loading;
}

TEST(QelBackPanel, AlignedChildrenGoInsideTheGroove) {
  TTestForm form(460, 470);
  TQelBackPanel* page = AddPage(form);
  auto* child = new TQelBackPanel(&form.Form());
  child->SetParent(page);
  child->SetAlign(alClient);
  EXPECT_EQ(TRect(2, 2, 439, 448), child->BoundsRect());

  page->Bevel().SetMode(bmCustom);
  EXPECT_EQ(TRect(0, 0, 441, 450), child->BoundsRect()) << "a bevel change realigns";
}

TEST(QelBackPanel, ChildrenWithoutAlignKeepTheirPlaceFromTheOuterCorner) {
  TTestForm form(460, 470);
  TQelBackPanel* page = AddPage(form);
  auto* child = new TQelBackPanel(&form.Form());
  child->SetBounds(16, 280, 50, 20);
  child->SetParent(page);
  RECT r{};
  GetWindowRect(child->Handle(), &r);
  MapWindowPoints(nullptr, page->Handle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(TRect(16, 280, 66, 300), TRect(r));
}

TEST(QelBackPanel, UnchangedValuesCauseNoRepaint) {
  TTestForm form(460, 470);
  TQelBackPanel* page = AddPage(form);
  ValidateRect(page->Handle(), nullptr);
  HWND window = page->Handle();
  page->Bevel().SetMode(bmEdge);
  page->Bevel().SetBorderSides(kQelAllFrameSides);
  page->SetColor(clBtnFace);
  page->SetTransparent(false);
  EXPECT_FALSE(HasUpdateRegion(*page));
  EXPECT_EQ(window, page->Handle()) << "the window was not recreated";

  page->Bevel().SetEdgeStyle(etSunken);
  EXPECT_TRUE(HasUpdateRegion(*page));
}

TEST(QelBackPanel, TransparentPanelShowsItsParent) {
  TTestForm form(200, 100);
  auto* outer = form.Add<TQelBackPanel>(0, 0, 200, 100);
  outer->SetColor(clRed);
  auto* inner = new TQelBackPanel(&form.Form());
  inner->SetBounds(20, 10, 60, 40);
  inner->SetParent(outer);
  inner->SetTransparent(true);
  PumpMessages();
  const TPixels pixels = RenderControl(*inner);
  EXPECT_EQ(60 * 40, pixels.Count({0, 0, 60, 40}, clRed));
}

}  // namespace
