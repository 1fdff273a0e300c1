// TCanvas: drawing on a device context with a font, a brush and a pen.
//
// The canvas selects its font, brush and pen into the device context lazily,
// just before an operation that needs them, and selects the original objects
// back when the device context is detached (SetHandle(nullptr) or another
// SetHandle), so it never leaves a deleted object selected and never deletes
// a stock object. Changing Font/Brush/Pen while attached takes effect at the
// next operation. Text is drawn in Font.Color(); the brush colour is also the
// text background, which is transparent when Brush.Style() is bsClear.
//
// Handle() gives the device context for direct API calls: selecting objects
// or clip regions into it yourself is fine, but put back what you selected.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Geometry.h"
#include "framework/Graphics.h"

class TCanvas : public TObject {
 public:
  TCanvas();
  ~TCanvas() override;

  // The device context. A canvas without one asks CreateHandle (a control's
  // canvas fetches one from its window); nullptr when there is none.
  HDC Handle();
  // Attaches a device context that the caller owns; nullptr detaches.
  void SetHandle(HDC dc);
  bool HandleAllocated() const { return dc_ != nullptr; }

  TFont& Font() { return font_; }
  TBrush& Brush() { return brush_; }
  TPen& Pen() { return pen_; }
  void SetFont(const TFont& font) { font_.Assign(font); }

  // Fills with the brush (nothing with bsClear).
  void FillRect(const TRect& rect);
  // A one-pixel frame in the brush's colour.
  void FrameRect(const TRect& rect);
  // Outline with the pen, filled with the brush.
  void Rectangle(const TRect& rect);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);

  void TextOut(int x, int y, const std::string& text);
  // Text at (x, y) clipped to `rect`; the rectangle is filled with the brush
  // first unless the brush is bsClear (ExtTextOut, ETO_CLIPPED | ETO_OPAQUE).
  void TextRect(const TRect& rect, int x, int y, const std::string& text);
  TSize TextExtent(const std::string& text);
  int TextWidth(const std::string& text) { return TextExtent(text).Width; }
  int TextHeight(const std::string& text) { return TextExtent(text).Height; }
  // The platform's DrawTextA / DrawTextExA; `rect` is in/out as there.
  int DrawText(const std::string& text, TRect& rect, UINT format);
  int DrawTextEx(const std::string& text, TRect& rect, UINT format,
                 DRAWTEXTPARAMS* params = nullptr);
  // The platform's DrawEdge; with BF_ADJUST `rect` comes back shrunk.
  bool DrawEdge(TRect& rect, UINT edge, UINT flags);
  void DrawFocusRect(const TRect& rect);
  // Copies the whole bitmap unscaled with its top-left corner at (x, y).
  void Draw(int x, int y, HBITMAP bitmap);
  // Copies the whole bitmap scaled to fill `rect`, each pixel the average of
  // the source pixels it covers (the platform's halftone stretching).
  void StretchDraw(const TRect& rect, HBITMAP bitmap);

  // The bounding box of what may be drawn (GetClipBox).
  TRect ClipRect();
  bool RectVisible(const TRect& rect);
  // Narrows the clipping to `rect` (logical coordinates).
  void IntersectClipRect(const TRect& rect);
  // Selects a region (device coordinates) as the clipping; nullptr removes
  // the clipping that was selected this way.
  void SelectClipRegion(HRGN region);

 protected:
  // Called by Handle() when no device context is attached; a device context
  // returned here belongs to the canvas and goes back through ReleaseHandle.
  virtual HDC CreateHandle() { return nullptr; }
  virtual void ReleaseHandle(HDC) {}

 private:
  struct TSelection {
    TSharedGdiObject current;  // what the canvas selected, kept alive while selected
    HGDIOBJ original = nullptr;
    bool stale = true;
  };
  void Select(TSelection& s, const TSharedGdiObject& object);
  void Restore(TSelection& s);
  void RequireFont();
  void RequireBrush();
  void RequirePen();
  void Detach();

  HDC dc_ = nullptr;
  bool ownsHandle_ = false;
  TFont font_;
  TBrush brush_;
  TPen pen_;
  TSelection fontSel_, brushSel_, penSel_;
};

// Attaches a device context to a canvas for one scope (a paint), and detaches
// it again on every path.
class TCanvasHandleScope {
 public:
  TCanvasHandleScope(TCanvas& canvas, HDC dc) : canvas_(canvas) { canvas_.SetHandle(dc); }
  TCanvasHandleScope(const TCanvasHandleScope&) = delete;
  TCanvasHandleScope& operator=(const TCanvasHandleScope&) = delete;
  ~TCanvasHandleScope() { canvas_.SetHandle(nullptr); }

 private:
  TCanvas& canvas_;
};
