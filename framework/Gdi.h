// RAII owners for the GDI and USER handles the framework and the widgets use.
// Every one releases its handle in its destructor; none can be copied.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>
#include <utility>

// A GDI object (font, brush, pen, bitmap, region) deleted with DeleteObject.
template <class H>
class TGdiObject {
 public:
  TGdiObject() = default;
  explicit TGdiObject(H handle) : handle_(handle) {}
  TGdiObject(TGdiObject&& o) noexcept : handle_(std::exchange(o.handle_, nullptr)) {}
  TGdiObject& operator=(TGdiObject&& o) noexcept {
    Reset(std::exchange(o.handle_, nullptr));
    return *this;
  }
  TGdiObject(const TGdiObject&) = delete;
  TGdiObject& operator=(const TGdiObject&) = delete;
  ~TGdiObject() { Reset(); }

  H Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Reset(H handle = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = handle;
  }

 private:
  H handle_ = nullptr;
};

using TFontHandle = TGdiObject<HFONT>;
using TBrushHandle = TGdiObject<HBRUSH>;
using TPenHandle = TGdiObject<HPEN>;
using TBitmapHandle = TGdiObject<HBITMAP>;
using TRegionHandle = TGdiObject<HRGN>;

// A GDI object shared between the graphics object that made it and the
// canvases that have it selected: it is deleted when the last one lets go,
// so a font can change while a canvas still holds the old one. Stock objects
// are held with a no-op deleter.
using TSharedGdiObject = std::shared_ptr<std::remove_pointer_t<HGDIOBJ>>;
TSharedGdiObject MakeSharedGdiObject(HGDIOBJ object);
TSharedGdiObject SharedStockObject(int stockObject);

// A window's device context from GetDC (nullptr: the screen), released with
// ReleaseDC.
class TWindowDC {
 public:
  explicit TWindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  ~TWindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// The device context of a whole window, non-client area included, with its
// origin at the window's top-left corner (GetWindowDC), released with
// ReleaseDC.
class TWholeWindowDC {
 public:
  explicit TWholeWindowDC(HWND window) : window_(window), dc_(GetWindowDC(window)) {}
  TWholeWindowDC(const TWholeWindowDC&) = delete;
  TWholeWindowDC& operator=(const TWholeWindowDC&) = delete;
  ~TWholeWindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint ... EndPaint.
class TPaintDC {
 public:
  explicit TPaintDC(HWND window) : window_(window) { dc_ = BeginPaint(window, &ps_); }
  TPaintDC(const TPaintDC&) = delete;
  TPaintDC& operator=(const TPaintDC&) = delete;
  ~TPaintDC() { EndPaint(window_, &ps_); }
  HDC Get() const { return dc_; }
  RECT PaintRect() const { return ps_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT ps_{};
  HDC dc_ = nullptr;
};

// A memory device context (CreateCompatibleDC), deleted with DeleteDC.
class TMemoryDC {
 public:
  explicit TMemoryDC(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
  TMemoryDC(const TMemoryDC&) = delete;
  TMemoryDC& operator=(const TMemoryDC&) = delete;
  ~TMemoryDC() {
    if (dc_) DeleteDC(dc_);
  }
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

// Selects an object into a device context and selects the previous one back.
class TSelectObject {
 public:
  TSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  TSelectObject(const TSelectObject&) = delete;
  TSelectObject& operator=(const TSelectObject&) = delete;
  ~TSelectObject() {
    if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// An off-screen bitmap that stays selected in a memory device context of
// its own for as long as it lives, so that a paint through it selects
// nothing.
class TOffscreenBuffer {
 public:
  TOffscreenBuffer(HDC compatible, int width, int height)
      : dc_(compatible),
        bitmap_(CreateCompatibleBitmap(compatible, width, height)),
        select_(dc_.Get(), bitmap_.Get()) {}
  HDC Get() const { return dc_.Get(); }

 private:
  TMemoryDC dc_;
  TBitmapHandle bitmap_;
  TSelectObject select_;  // ends first: the bitmap leaves the context before it is deleted
};

// SaveDC ... RestoreDC: origin, clipping, selected objects and modes come
// back as they were.
class TSavedDC {
 public:
  explicit TSavedDC(HDC dc) : dc_(dc), id_(SaveDC(dc)) {}
  TSavedDC(const TSavedDC&) = delete;
  TSavedDC& operator=(const TSavedDC&) = delete;
  ~TSavedDC() {
    if (id_) RestoreDC(dc_, id_);
  }

 private:
  HDC dc_;
  int id_;
};

// A popup menu (CreatePopupMenu), destroyed with DestroyMenu.
class TPopupMenuHandle {
 public:
  TPopupMenuHandle() : menu_(CreatePopupMenu()) {}
  TPopupMenuHandle(const TPopupMenuHandle&) = delete;
  TPopupMenuHandle& operator=(const TPopupMenuHandle&) = delete;
  ~TPopupMenuHandle() {
    if (menu_) DestroyMenu(menu_);
  }
  HMENU Get() const { return menu_; }

 private:
  HMENU menu_;
};
