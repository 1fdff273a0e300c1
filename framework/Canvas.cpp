#include "framework/Canvas.h"

TCanvas::TCanvas() {
  font_.OnChange = [this](TObject*) { fontSel_.stale = true; };
  brush_.OnChange = [this](TObject*) { brushSel_.stale = true; };
  pen_.OnChange = [this](TObject*) { penSel_.stale = true; };
}

TCanvas::~TCanvas() { SetHandle(nullptr); }

HDC TCanvas::Handle() {
  if (!dc_) {
    dc_ = CreateHandle();
    ownsHandle_ = dc_ != nullptr;
  }
  return dc_;
}

void TCanvas::SetHandle(HDC dc) {
  if (dc == dc_) return;
  Detach();
  dc_ = dc;
}

void TCanvas::Detach() {
  if (!dc_) return;
  Restore(penSel_);
  Restore(brushSel_);
  Restore(fontSel_);
  HDC old = dc_;
  dc_ = nullptr;
  if (ownsHandle_) {
    ownsHandle_ = false;
    ReleaseHandle(old);
  }
}

void TCanvas::Select(TSelection& s, const TSharedGdiObject& object) {
  HGDIOBJ previous = SelectObject(dc_, object.get());
  if (!s.original) s.original = previous;
  s.current = object;
  s.stale = false;
}

void TCanvas::Restore(TSelection& s) {
  if (s.original) SelectObject(dc_, s.original);
  s.original = nullptr;
  s.current.reset();
  s.stale = true;
}

void TCanvas::RequireFont() {
  if (!Handle()) return;
  if (fontSel_.stale || fontSel_.current != font_.SharedHandle()) Select(fontSel_, font_.SharedHandle());
  SetTextColor(dc_, ColorToRGB(font_.Color()));
}

void TCanvas::RequireBrush() {
  if (!Handle()) return;
  if (brushSel_.stale || brushSel_.current != brush_.SharedHandle()) {
    Select(brushSel_, brush_.SharedHandle());
    SetBkColor(dc_, ColorToRGB(brush_.Color()));
    SetBkMode(dc_, brush_.Style() == bsClear ? TRANSPARENT : OPAQUE);
  }
}

void TCanvas::RequirePen() {
  if (!Handle()) return;
  if (penSel_.stale || penSel_.current != pen_.SharedHandle()) Select(penSel_, pen_.SharedHandle());
}

void TCanvas::FillRect(const TRect& rect) {
  RequireBrush();
  if (!dc_ || brush_.Style() == bsClear) return;
  const RECT r = rect;
  ::FillRect(dc_, &r, brush_.Handle());
}

void TCanvas::FrameRect(const TRect& rect) {
  RequireBrush();
  if (!dc_ || brush_.Style() == bsClear) return;
  const RECT r = rect;
  ::FrameRect(dc_, &r, brush_.Handle());
}

void TCanvas::Rectangle(const TRect& rect) {
  RequirePen();
  RequireBrush();
  if (dc_) ::Rectangle(dc_, rect.Left, rect.Top, rect.Right, rect.Bottom);
}

void TCanvas::MoveTo(int x, int y) {
  if (Handle()) MoveToEx(dc_, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
  RequirePen();
  if (dc_) ::LineTo(dc_, x, y);
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
  RequireFont();
  RequireBrush();
  if (dc_) ExtTextOutA(dc_, x, y, 0, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr);
}

void TCanvas::TextRect(const TRect& rect, int x, int y, const std::string& text) {
  RequireFont();
  RequireBrush();
  if (!dc_) return;
  UINT options = ETO_CLIPPED;
  if (brush_.Style() != bsClear) options |= ETO_OPAQUE;
  const RECT r = rect;
  ExtTextOutA(dc_, x, y, options, &r, text.data(), static_cast<UINT>(text.size()), nullptr);
}

TSize TCanvas::TextExtent(const std::string& text) {
  RequireFont();
  SIZE size{};
  if (dc_) GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &size);
  return {size.cx, size.cy};
}

int TCanvas::DrawText(const std::string& text, TRect& rect, UINT format) {
  RequireFont();
  RequireBrush();
  if (!dc_) return 0;
  RECT r = rect;
  const int height = ::DrawTextA(dc_, text.data(), static_cast<int>(text.size()), &r, format);
  rect = r;
  return height;
}

int TCanvas::DrawTextEx(const std::string& text, TRect& rect, UINT format,
                        DRAWTEXTPARAMS* params) {
  RequireFont();
  RequireBrush();
  if (!dc_) return 0;
  RECT r = rect;
  // DrawTextExA takes a writable buffer (DT_MODIFYSTRING); give it a copy.
  std::string buffer = text;
  const int height =
      ::DrawTextExA(dc_, buffer.data(), static_cast<int>(buffer.size()), &r, format, params);
  rect = r;
  return height;
}

bool TCanvas::DrawEdge(TRect& rect, UINT edge, UINT flags) {
  if (!Handle()) return false;
  RECT r = rect;
  const bool ok = ::DrawEdge(dc_, &r, edge, flags) != 0;
  rect = r;
  return ok;
}

void TCanvas::DrawFocusRect(const TRect& rect) {
  RequireFont();
  RequireBrush();
  if (!dc_) return;
  const RECT r = rect;
  ::DrawFocusRect(dc_, &r);
}

void TCanvas::Draw(int x, int y, HBITMAP bitmap) {
  if (!Handle() || !bitmap) return;
  BITMAP info{};
  if (!GetObjectA(bitmap, sizeof info, &info)) return;
  TMemoryDC source(dc_);
  TSelectObject select(source.Get(), bitmap);
  BitBlt(dc_, x, y, info.bmWidth, info.bmHeight, source.Get(), 0, 0, SRCCOPY);
}

void TCanvas::StretchDraw(const TRect& rect, HBITMAP bitmap) {
  if (!Handle() || !bitmap) return;
  BITMAP info{};
  if (!GetObjectA(bitmap, sizeof info, &info)) return;
  TMemoryDC source(dc_);
  TSelectObject select(source.Get(), bitmap);
  // Halftone stretching reads the brush origin, which must be set after it.
  const int oldMode = SetStretchBltMode(dc_, HALFTONE);
  POINT oldOrigin{};
  SetBrushOrgEx(dc_, 0, 0, &oldOrigin);
  StretchBlt(dc_, rect.Left, rect.Top, rect.Width(), rect.Height(), source.Get(), 0, 0,
             info.bmWidth, info.bmHeight, SRCCOPY);
  SetBrushOrgEx(dc_, oldOrigin.x, oldOrigin.y, nullptr);
  SetStretchBltMode(dc_, oldMode);
}

TRect TCanvas::ClipRect() {
  RECT r{};
  if (Handle()) GetClipBox(dc_, &r);
  return r;
}

bool TCanvas::RectVisible(const TRect& rect) {
  const RECT r = rect;
  return Handle() && ::RectVisible(dc_, &r);
}

void TCanvas::IntersectClipRect(const TRect& rect) {
  if (Handle()) ::IntersectClipRect(dc_, rect.Left, rect.Top, rect.Right, rect.Bottom);
}

void TCanvas::SelectClipRegion(HRGN region) {
  if (Handle()) SelectClipRgn(dc_, region);
}
