#include "widgets/QelClipScope.h"

TQelClipScope::TQelClipScope(HDC dc) : dc_(dc), saved_(CreateRectRgn(0, 0, 0, 0)) {
  hadClip_ = GetClipRgn(dc_, saved_.Get()) == 1;
}

TQelClipScope::~TQelClipScope() { SelectClipRgn(dc_, hadClip_ ? saved_.Get() : nullptr); }

TRegionHandle TQelClipScope::DeviceRegion(const TRect& rect) const {
  POINT corners[2] = {{rect.Left, rect.Top}, {rect.Right, rect.Bottom}};
  LPtoDP(dc_, corners, 2);
  return TRegionHandle(CreateRectRgn(corners[0].x, corners[0].y, corners[1].x, corners[1].y));
}

void TQelClipScope::Intersect(const TRect& rect) {
  TRegionHandle region = DeviceRegion(rect);
  ExtSelectClipRgn(dc_, region.Get(), RGN_AND);
}

void TQelClipScope::IntersectDifference(const TRect& rect, const TRect& hole) {
  TRegionHandle region = DeviceRegion(rect);
  TRegionHandle inner = DeviceRegion(hole);
  CombineRgn(region.Get(), region.Get(), inner.Get(), RGN_DIFF);
  ExtSelectClipRgn(dc_, region.Get(), RGN_AND);
}
