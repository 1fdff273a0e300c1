#include <gtest/gtest.h>

#include "calc/Exceptions.h"
#include "support/GdiCounter.h"
#include "support/Render.h"
#include "support/TestForm.h"
#include "widgets/Image.h"

namespace {

constexpr TColor kLeftHalf = 0x2040C0;
constexpr TColor kRightHalf = 0x10A030;

// A width x height bitmap, left half kLeftHalf, right half kRightHalf.
HBITMAP TwoColourBitmap(int width, int height) {
  TPixels pixels(width, height);
  TGdiObject<HBRUSH> left(CreateSolidBrush(kLeftHalf));
  TGdiObject<HBRUSH> right(CreateSolidBrush(kRightHalf));
  RECT l{0, 0, width / 2, height}, r{width / 2, 0, width, height};
  FillRect(pixels.DC(), &l, left.Get());
  FillRect(pixels.DC(), &r, right.Get());
  HDC screen = GetDC(nullptr);
  HBITMAP copy = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(nullptr, screen);
  TMemoryDC dc(pixels.DC());
  TSelectObject select(dc.Get(), copy);
  BitBlt(dc.Get(), 0, 0, width, height, pixels.DC(), 0, 0, SRCCOPY);
  return copy;
}

TEST(Image, AutoSizeTakesThePictureSizeAndDrawsItUnscaled) {
  TTestForm form(200, 100);
  form->SetColor(clBtnFace);
  auto* image = form.Add<TImage>(10, 20, 50, 50);
  image->SetAutoSize(true);
  image->SetBitmap(TwoColourBitmap(40, 6));
  EXPECT_EQ(image->Width(), 40);
  EXPECT_EQ(image->Height(), 6);
  EXPECT_EQ(image->Left(), 10);
  EXPECT_EQ(image->Top(), 20);

  TPixels pixels = RenderControl(form.Form());
  EXPECT_TRUE(PixelIs(pixels, 10, 20, kLeftHalf));
  EXPECT_TRUE(PixelIs(pixels, 29, 25, kLeftHalf));
  EXPECT_TRUE(PixelIs(pixels, 30, 20, kRightHalf));
  EXPECT_TRUE(PixelIs(pixels, 49, 25, kRightHalf));
  EXPECT_TRUE(PixelIs(pixels, 50, 20, clBtnFace)) << "drawn beyond the picture";
  EXPECT_TRUE(PixelIs(pixels, 10, 26, clBtnFace)) << "drawn below the picture";
}

TEST(Image, WithoutAutoSizeThePictureIsClippedToTheControl) {
  TTestForm form(200, 100);
  form->SetColor(clBtnFace);
  auto* image = form.Add<TImage>(0, 0, 15, 4);
  image->SetBitmap(TwoColourBitmap(40, 6));
  EXPECT_EQ(image->Width(), 15);
  TPixels pixels = RenderControl(form.Form());
  EXPECT_TRUE(PixelIs(pixels, 14, 3, kLeftHalf));
  EXPECT_TRUE(PixelIs(pixels, 15, 0, clBtnFace));
  EXPECT_TRUE(PixelIs(pixels, 0, 4, clBtnFace));

  image->SetBitmap(nullptr);
  TPixels cleared = RenderControl(form.Form());
  EXPECT_TRUE(PixelIs(cleared, 0, 0, clBtnFace)) << "a cleared picture still shows";
}

TEST(Image, ReplacedPicturesAreReleased) {
  TTestForm form(100, 100);
  auto* image = form.Add<TImage>(0, 0, 10, 10);
  image->SetBitmap(TwoColourBitmap(8, 8));
  const int before = GdiObjectCount();
  for (int i = 0; i < 200; ++i) image->SetBitmap(TwoColourBitmap(8, 8));
  EXPECT_EQ(GdiObjectCount(), before);
}

TEST(Image, AMissingResourceIsAnError) {
  TTestForm form;
  auto* image = form.Add<TImage>(0, 0, 10, 10);
  EXPECT_THROW(image->LoadFromResourceName("NO_SUCH_BITMAP"), EOutOfResources);
  EXPECT_EQ(image->Bitmap(), nullptr);
}

}  // namespace
