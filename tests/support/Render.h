// Rendering controls into a 32-bpp bitmap through their paint routine
// (WM_PRINTCLIENT), and reading the pixels back as TColor values.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "framework/GraphicControl.h"
#include "framework/WinControl.h"

class TPixels {
 public:
  // A white bitmap of the given size.
  TPixels(int width, int height);
  TPixels(TPixels&& other) noexcept;
  TPixels(const TPixels&) = delete;
  TPixels& operator=(const TPixels&) = delete;
  ~TPixels();

  int Width() const { return width_; }
  int Height() const { return height_; }
  // A memory device context with the bitmap selected.
  HDC DC() const { return dc_; }
  // The pixel as a TColor (red in the lowest byte); outside: clNone.
  TColor Pixel(int x, int y) const;
  // How many pixels of the rectangle have the colour.
  int Count(const TRect& rect, TColor color) const;

 private:
  int width_;
  int height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  uint32_t* bits_ = nullptr;
};

// The control's client area as its paint routine draws it, with the
// background erased first and, with `withChildren`, the child windows too.
TPixels RenderControl(TWinControl& control, bool withChildren = true);
// The parent's rendering cut to the windowless control's rectangle.
TPixels RenderGraphic(TGraphicControl& control);

// "$RRGGBB"-style text of a colour (as TColor: "$BBGGRR").
std::string ColorText(TColor color);
// Checks one pixel; the failure names the place, the expected and the
// actual colour.
::testing::AssertionResult PixelIs(const TPixels& pixels, int x, int y, TColor expected);
// A part of the desktop theme as `window` would get it, drawn into `bounds`
// of a bitmap of the given size that is first filled with `background`.
TPixels RenderThemePart(HWND window, const wchar_t* themeClass, int part, int state,
                        const TRect& bounds, int width, int height, TColor background);
// Compares the outer `depth` pixel rings of two renderings of one size;
// the failure names the first differing pixel.
::testing::AssertionResult SameBorder(const TPixels& expected, const TPixels& actual, int depth);
