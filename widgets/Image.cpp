#include "widgets/Image.h"

#include <oleacc.h>

#include <numeric>

#include "calc/Exceptions.h"
#include "framework/Accessible.h"

namespace {
// A new picture control's size, before it has a picture.
constexpr int kDefaultSize = 105;
}  // namespace

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(Left(), Top(), kDefaultSize, kDefaultSize);
}

void TImage::DescribeAccessible(TAccessibleInfo& info) {
  TGraphicControl::DescribeAccessible(info);
  info.Role = ROLE_SYSTEM_GRAPHIC;
}

void TImage::SetBitmap(HBITMAP bitmap) {
  if (bitmap == bitmap_.Get()) return;
  bitmap_.Reset(bitmap);
  AdjustSize();
  Invalidate();
}

void TImage::LoadFromResourceName(const char* name) {
  auto* bitmap = static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!bitmap) throw EOutOfResources(std::string("Bitmap-Ressource '") + name + "' nicht gefunden");
  SetBitmap(bitmap);
}

TSize TImage::PictureSize() const {
  BITMAP info{};
  if (!bitmap_ || !GetObjectA(bitmap_.Get(), sizeof info, &info)) return {0, 0};
  return {info.bmWidth, info.bmHeight};
}

TSize TImage::ShownSize() const {
  const TSize size = PictureSize();
  return {MulDiv(size.Width, scaleM_, scaleD_), MulDiv(size.Height, scaleM_, scaleD_)};
}

void TImage::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  AdjustSize();
}

void TImage::AdjustSize() {
  if (!autoSize_ || !bitmap_) return;
  const TSize size = ShownSize();
  SetBounds(Left(), Top(), size.Width, size.Height);
}

void TImage::ChangeScale(int m, int d, bool moveToo) {
  if (m == d) return;
  const int divisor = std::gcd(scaleM_ * m, scaleD_ * d);
  scaleM_ = scaleM_ * m / divisor;
  scaleD_ = scaleD_ * d / divisor;
  TGraphicControl::ChangeScale(m, d, moveToo);
  AdjustSize();
}

void TImage::Paint() {
  if (!bitmap_) return;
  const TSize shown = ShownSize();
  if (shown == PictureSize()) {
    Canvas().Draw(0, 0, bitmap_.Get());
  } else {
    Canvas().StretchDraw({0, 0, shown.Width, shown.Height}, bitmap_.Get());
  }
}
