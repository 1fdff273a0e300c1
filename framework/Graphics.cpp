#include "framework/Graphics.h"

#include <array>
#include <cstring>

namespace {
// Font sizes in points convert at the layout's 96 pixels per inch.
constexpr int kPixelsPerInch = 96;
constexpr int kPointsPerInch = 72;
}  // namespace

COLORREF ColorToRGB(TColor color) {
  if ((color & kSystemColorFlag) == kSystemColorFlag) return GetSysColor(color & 0xFF);
  return color & 0xFFFFFF;
}

// --- TFont ---

void TFont::SetName(const std::string& name) {
  if (name == name_) return;
  name_ = name;
  Changed(true);
}

void TFont::SetHeight(int height) {
  if (height == height_) return;
  height_ = height;
  Changed(true);
}

int TFont::Size() const { return -MulDiv(height_, kPointsPerInch, kPixelsPerInch); }

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, kPixelsPerInch, kPointsPerInch)); }

void TFont::SetStyle(TFontStyles style) {
  if (style == style_) return;
  style_ = style;
  Changed(true);
}

void TFont::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Changed(false);
}

void TFont::SetCharset(BYTE charset) {
  if (charset == charset_) return;
  charset_ = charset;
  Changed(true);
}

bool TFont::SameAs(const TFont& other) const {
  return name_ == other.name_ && height_ == other.height_ && style_ == other.style_ &&
         color_ == other.color_ && charset_ == other.charset_;
}

void TFont::Assign(const TFont& source) {
  if (&source == this || SameAs(source)) return;
  name_ = source.name_;
  height_ = source.height_;
  style_ = source.style_;
  color_ = source.color_;
  charset_ = source.charset_;
  handle_ = source.handle_;
  Changed(false);
}

void TFont::Changed(bool handleChanged) {
  if (handleChanged) handle_.reset();
  if (OnChange) OnChange(this);
}

namespace {

// The fonts made last, by their description. Drawing code switches between a
// few variants of one font (the grid makes each cell's font bold or not);
// without this every switch would make a new font handle. Bounded, so the
// number of GDI objects stays flat.
class TFontCache {
 public:
  TSharedGdiObject Find(const LOGFONTA& lf) const {
    for (const auto& entry : entries_) {
      if (entry.handle && std::memcmp(&entry.description, &lf, sizeof lf) == 0) return entry.handle;
    }
    return nullptr;
  }
  void Add(const LOGFONTA& lf, TSharedGdiObject handle) {
    entries_[next_] = {lf, std::move(handle)};
    next_ = (next_ + 1) % kSize;
  }

 private:
  static constexpr size_t kSize = 8;
  struct TEntry {
    LOGFONTA description{};
    TSharedGdiObject handle;
  };
  std::array<TEntry, kSize> entries_;
  size_t next_ = 0;
};

TFontCache& FontCache() {
  static TFontCache cache;
  return cache;
}

}  // namespace

const TSharedGdiObject& TFont::SharedHandle() const {
  if (!handle_) {
    LOGFONTA lf{};
    lf.lfHeight = height_;
    lf.lfWeight = style_.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = style_.Contains(fsItalic);
    lf.lfUnderline = style_.Contains(fsUnderline);
    lf.lfStrikeOut = style_.Contains(fsStrikeOut);
    lf.lfCharSet = charset_;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    lstrcpynA(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
    handle_ = FontCache().Find(lf);
    if (!handle_) {
      handle_ = MakeSharedGdiObject(CreateFontIndirectA(&lf));
      FontCache().Add(lf, handle_);
    }
  }
  return handle_;
}

HFONT TFont::Handle() const { return static_cast<HFONT>(SharedHandle().get()); }

// --- TBrush ---

void TBrush::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
  if (style == style_) return;
  style_ = style;
  Changed();
}

void TBrush::Assign(const TBrush& source) {
  if (source.color_ == color_ && source.style_ == style_) return;
  color_ = source.color_;
  style_ = source.style_;
  Changed();
}

void TBrush::Changed() {
  handle_.reset();
  if (OnChange) OnChange(this);
}

const TSharedGdiObject& TBrush::SharedHandle() const {
  if (style_ == bsClear) {
    if (!handle_) handle_ = SharedStockObject(NULL_BRUSH);
    return handle_;
  }
  const COLORREF rgb = ColorToRGB(color_);
  if (!handle_ || rgb != handleRgb_) {
    handle_ = MakeSharedGdiObject(CreateSolidBrush(rgb));
    handleRgb_ = rgb;
  }
  return handle_;
}

HBRUSH TBrush::Handle() const { return static_cast<HBRUSH>(SharedHandle().get()); }

// --- TPen ---

void TPen::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Changed();
}

void TPen::SetWidth(int width) {
  if (width == width_) return;
  width_ = width;
  Changed();
}

void TPen::SetStyle(TPenStyle style) {
  if (style == style_) return;
  style_ = style;
  Changed();
}

void TPen::Assign(const TPen& source) {
  if (source.color_ == color_ && source.width_ == width_ && source.style_ == style_) return;
  color_ = source.color_;
  width_ = source.width_;
  style_ = source.style_;
  Changed();
}

void TPen::Changed() {
  handle_.reset();
  if (OnChange) OnChange(this);
}

const TSharedGdiObject& TPen::SharedHandle() const {
  const COLORREF rgb = ColorToRGB(color_);
  if (!handle_ || rgb != handleRgb_) {
    static constexpr int kPenStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT,
                                         PS_NULL};
    handle_ = MakeSharedGdiObject(CreatePen(kPenStyles[style_], width_, rgb));
    handleRgb_ = rgb;
  }
  return handle_;
}

HPEN TPen::Handle() const { return static_cast<HPEN>(SharedHandle().get()); }
