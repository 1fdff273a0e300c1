#include "framework/ControlCanvas.h"

#include <algorithm>
#include <vector>

#include "framework/WinControl.h"

namespace {
std::vector<TControlCanvas*>& CanvasesHoldingDCs() {
  static std::vector<TControlCanvas*> list;
  return list;
}
}  // namespace

TControlCanvas::~TControlCanvas() { SetHandle(nullptr); }

HDC TControlCanvas::CreateHandle() {
  TWinControl* windowed = control_.AsWinControl();
  TWinControl* parent = control_.Parent();
  if (windowed && windowed->HandleAllocated()) {
    window_ = windowed->Handle();
  } else if (!windowed && parent && parent->HandleAllocated()) {
    window_ = parent->Handle();
  } else {
    window_ = nullptr;
  }
  HDC dc = nullptr;
  if (window_) {
    dc = GetDCEx(window_, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
    memory_ = false;
    if (dc && !windowed) {
      SetViewportOrgEx(dc, control_.Left(), control_.Top(), nullptr);
      ::IntersectClipRect(dc, 0, 0, control_.Width(), control_.Height());
    }
  } else {
    dc = CreateCompatibleDC(nullptr);
    memory_ = true;
  }
  if (dc) CanvasesHoldingDCs().push_back(this);
  return dc;
}

void TControlCanvas::ReleaseHandle(HDC dc) {
  auto& list = CanvasesHoldingDCs();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  if (memory_) {
    DeleteDC(dc);
  } else {
    ReleaseDC(window_, dc);
  }
  window_ = nullptr;
}

void TControlCanvas::FreeDeviceContexts() {
  // Detaching removes the canvas from the list.
  while (!CanvasesHoldingDCs().empty()) CanvasesHoldingDCs().back()->SetHandle(nullptr);
}
