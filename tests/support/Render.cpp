#include "support/Render.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include <uxtheme.h>

#include "framework/Gdi.h"

TPixels::TPixels(int width, int height) : width_(width), height_(height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bits_ = static_cast<uint32_t*>(bits);
  dc_ = CreateCompatibleDC(nullptr);
  oldBitmap_ = SelectObject(dc_, bitmap_);
  if (bits_) std::memset(bits_, 0xFF, static_cast<size_t>(width) * height * 4);
}

TPixels::TPixels(TPixels&& other) noexcept
    : width_(other.width_),
      height_(other.height_),
      dc_(std::exchange(other.dc_, nullptr)),
      bitmap_(std::exchange(other.bitmap_, nullptr)),
      oldBitmap_(std::exchange(other.oldBitmap_, nullptr)),
      bits_(std::exchange(other.bits_, nullptr)) {}

TPixels::~TPixels() {
  if (dc_) {
    SelectObject(dc_, oldBitmap_);
    DeleteDC(dc_);
  }
  if (bitmap_) DeleteObject(bitmap_);
}

TColor TPixels::Pixel(int x, int y) const {
  if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return clNone;
  GdiFlush();
  const uint32_t bgra = bits_[static_cast<size_t>(y) * width_ + x];
  const uint32_t blue = bgra & 0xFF;
  const uint32_t green = (bgra >> 8) & 0xFF;
  const uint32_t red = (bgra >> 16) & 0xFF;
  return red | (green << 8) | (blue << 16);
}

int TPixels::Count(const TRect& rect, TColor color) const {
  int n = 0;
  for (int y = rect.Top; y < rect.Bottom; ++y)
    for (int x = rect.Left; x < rect.Right; ++x)
      if (Pixel(x, y) == color) ++n;
  return n;
}

TPixels RenderControl(TWinControl& control, bool withChildren) {
  const TRect client = control.ClientRect();
  TPixels pixels(client.Width(), client.Height());
  LPARAM flags = PRF_CLIENT | PRF_ERASEBKGND;
  if (withChildren) flags |= PRF_CHILDREN;
  SendMessageA(control.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(pixels.DC()), flags);
  return pixels;
}

TPixels RenderGraphic(TGraphicControl& control) {
  TPixels parent = RenderControl(*control.Parent(), false);
  TPixels pixels(control.Width(), control.Height());
  BitBlt(pixels.DC(), 0, 0, control.Width(), control.Height(), parent.DC(), control.Left(),
         control.Top(), SRCCOPY);
  return pixels;
}

std::string ColorText(TColor color) {
  char text[16];
  std::snprintf(text, sizeof text, "$%06X", static_cast<unsigned>(color & 0xFFFFFF));
  return text;
}

::testing::AssertionResult PixelIs(const TPixels& pixels, int x, int y, TColor expected) {
  const TColor want = ColorToRGB(expected);
  const TColor got = pixels.Pixel(x, y);
  if (got == want) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << "): expected "
                                       << ColorText(want) << ", got " << ColorText(got);
}

TPixels RenderThemePart(HWND window, const wchar_t* themeClass, int part, int state,
                        const TRect& bounds, int width, int height, TColor background) {
  TPixels pixels(width, height);
  TBrushHandle brush(CreateSolidBrush(ColorToRGB(background)));
  const RECT all{0, 0, width, height};
  FillRect(pixels.DC(), &all, brush.Get());
  if (HTHEME theme = OpenThemeData(window, themeClass)) {
    const RECT r = bounds;
    DrawThemeBackground(theme, pixels.DC(), part, state, &r, &all);
    CloseThemeData(theme);
  }
  return pixels;
}

::testing::AssertionResult SameBorder(const TPixels& expected, const TPixels& actual, int depth) {
  const int w = expected.Width();
  const int h = expected.Height();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool inner = x >= depth && y >= depth && x < w - depth && y < h - depth;
      if (!inner && expected.Pixel(x, y) != actual.Pixel(x, y))
        return ::testing::AssertionFailure()
               << "pixel (" << x << ", " << y << "): expected " << ColorText(expected.Pixel(x, y))
               << ", got " << ColorText(actual.Pixel(x, y));
    }
  return ::testing::AssertionSuccess();
}
