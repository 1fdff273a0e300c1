#include "framework/ControlCanvas.h"

#include <algorithm>
#include <vector>

namespace {
std::vector<TControlCanvas*>& CanvasesHoldingDCs() {
  static std::vector<TControlCanvas*> list;
  return list;
}
}  // namespace

TControlCanvas::~TControlCanvas() { SetHandle(nullptr); }

HDC TControlCanvas::CreateHandle() {
  // Outside a paint a canvas only measures; a window's device context would
  // cost round trips to the window manager, a memory one costs none.
  HDC dc = CreateCompatibleDC(nullptr);
  if (dc) CanvasesHoldingDCs().push_back(this);
  return dc;
}

void TControlCanvas::ReleaseHandle(HDC dc) {
  auto& list = CanvasesHoldingDCs();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  DeleteDC(dc);
}

void TControlCanvas::FreeDeviceContexts() {
  // Detaching removes the canvas from the list.
  while (!CanvasesHoldingDCs().empty()) CanvasesHoldingDCs().back()->SetHandle(nullptr);
}
