#include "widgets/Image.h"

#include <oleacc.h>

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

void TImage::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  AdjustSize();
}

void TImage::AdjustSize() {
  if (!autoSize_ || !bitmap_) return;
  const TSize size = PictureSize();
  SetBounds(Left(), Top(), size.Width, size.Height);
}

void TImage::Paint() {
  if (bitmap_) Canvas().Draw(0, 0, bitmap_.Get());
}
