// Static texts as the window's column captions: opaque fill, centred
// caption, and the same look whatever extent-free bevel settings they have.
#include "widgets/QelStaticText.h"

#include <gtest/gtest.h>

#include "support/Render.h"
#include "support/TestForm.h"

namespace {

constexpr TColor kCaptionGreen = 11067529;  // $A8E089

bool SamePixels(const TPixels& a, const TPixels& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
  return true;
}

// Like the window's column captions; `second` as the second one's bevel.
TQelStaticText* AddCaption(TTestForm& form, int left, const std::string& text, bool second) {
  auto* st = form.Add<TQelStaticText>(left, 86, 139, 17);
  st->SetAutoSize(false);
  st->Bevel().SetMode(bmEdge);
  if (second) {
    st->Bevel().SetBorderWidth(2);
  } else {
    st->Bevel().SetWidthInner(0);
  }
  st->Bevel().SetBorderSides({});
  st->SetCaption(text);
  st->SetColor(kCaptionGreen);
  TFont font;
  font.SetCharset(DEFAULT_CHARSET);
  font.SetHeight(-11);
  font.SetName("Tahoma");
  font.SetStyle({fsBold});
  st->SetFont(font);
  st->SetOptions({});
  PumpMessages();
  return st;
}

// The bounding box of the pixels that differ from `background`.
TRect InkBox(const TPixels& pixels, TColor background) {
  TRect box(pixels.Width(), pixels.Height(), 0, 0);
  for (int y = 0; y < pixels.Height(); ++y)
    for (int x = 0; x < pixels.Width(); ++x)
      if (pixels.Pixel(x, y) != ColorToRGB(background)) {
        box.Left = std::min(box.Left, x);
        box.Top = std::min(box.Top, y);
        box.Right = std::max(box.Right, x + 1);
        box.Bottom = std::max(box.Bottom, y + 1);
      }
  return box;
}

TEST(QelStaticText, NewStaticTextDefaults) {
  TTestForm form;
  auto* st = new TQelStaticText(&form.Form());
  EXPECT_EQ(agCenter, st->Alignment());
  EXPECT_TRUE(st->AutoSize());
  EXPECT_EQ(clBtnFace, st->Color());
  EXPECT_FALSE(st->ParentColor());
  EXPECT_FALSE(st->Transparent());
  EXPECT_FALSE(st->TransparentBorder());
  EXPECT_TRUE(st->ShowAccelChar());
  EXPECT_TRUE(st->Bevel().NativeBorder());
}

TEST(QelStaticText, ColumnCaptionIsCentredOnItsGreenFill) {
  TTestForm form(460, 200);
  auto* st = AddCaption(form, 153, "U2X = 0", false);
  EXPECT_EQ(0, st->Bevel().Extent());
  const TPixels pixels = RenderControl(*st);
  ASSERT_EQ(139, pixels.Width());
  ASSERT_EQ(17, pixels.Height());
  const TRect box = InkBox(pixels, kCaptionGreen);
  ASSERT_FALSE(box.IsEmpty()) << "caption drawn";
  EXPECT_GT(pixels.Count(box, ColorToRGB(clWindowText)), 0);
  EXPECT_NEAR(box.Left, 139 - box.Right, 3) << "centred horizontally";
  EXPECT_NEAR(box.Top, 17 - box.Bottom, 4) << "centred vertically";
  EXPECT_TRUE(PixelIs(pixels, 0, 0, kCaptionGreen)) << "no frame";
  EXPECT_TRUE(PixelIs(pixels, 138, 16, kCaptionGreen)) << "no frame";
}

TEST(QelStaticText, BothColumnCaptionsLookAlikeApartFromTheirText) {
  TTestForm form(460, 200);
  auto* first = AddCaption(form, 153, "U2X = 0", false);
  auto* second = AddCaption(form, 293, "U2X = 0", true);
  EXPECT_TRUE(SamePixels(RenderControl(*first), RenderControl(*second)));
  second->SetCaption("U2X = 1");
  PumpMessages();
  EXPECT_FALSE(SamePixels(RenderControl(*first), RenderControl(*second)));
}

TEST(QelStaticText, CaptionChangeRepaintsUnlessUnchanged) {
  TTestForm form(460, 200);
  auto* st = AddCaption(form, 153, "U2X = 0", false);
  ValidateRect(st->Handle(), nullptr);
  st->SetCaption("U2X = 0");
  st->SetAlignment(agCenter);
  EXPECT_FALSE(GetUpdateRect(st->Handle(), nullptr, FALSE));
  st->SetCaption("U2X = 1");
  EXPECT_TRUE(GetUpdateRect(st->Handle(), nullptr, FALSE));
  EXPECT_EQ(139, st->Width()) << "not auto-sized";
}

TEST(QelStaticText, AutoSizedStaticTextFitsItsCaption) {
  TTestForm form(460, 200);
  auto* st = form.Add<TQelStaticText>(8, 8, 139, 17);
  st->SetCaption("");
  st->SetCaption("&");
  TWindowDC screen(nullptr);
  TSelectObject select(screen.Get(), st->Font().Handle());
  SIZE space{};
  GetTextExtentPoint32A(screen.Get(), " ", 1, &space);
  EXPECT_EQ(space.cx + 2, st->Width());
  EXPECT_EQ(space.cy + 2, st->Height());
}

}  // namespace
