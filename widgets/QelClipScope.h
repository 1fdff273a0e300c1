// TQelClipScope: narrows the clipping of a device context for one scope and
// puts the previous clipping back when it ends, on every path. Rectangles
// are in logical coordinates (a windowless control paints with a moved
// origin); regions are made in device coordinates as the platform wants.
#pragma once

#include <windows.h>

#include "framework/Gdi.h"
#include "framework/Geometry.h"

class TQelClipScope {
 public:
  explicit TQelClipScope(HDC dc);
  TQelClipScope(const TQelClipScope&) = delete;
  TQelClipScope& operator=(const TQelClipScope&) = delete;
  ~TQelClipScope();

  // Drawing is limited to `rect` (within what was allowed before).
  void Intersect(const TRect& rect);
  // Drawing is limited to `rect` without `hole`.
  void IntersectDifference(const TRect& rect, const TRect& hole);

 private:
  TRegionHandle DeviceRegion(const TRect& rect) const;

  HDC dc_;
  TRegionHandle saved_;
  bool hadClip_ = false;
};
