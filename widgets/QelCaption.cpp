#include "widgets/QelCaption.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "widgets/QelClipScope.h"

namespace {

constexpr UINT kAlignmentFlags[] = {
    DT_LEFT | DT_TOP,         DT_CENTER,           DT_RIGHT,
    DT_VCENTER,               DT_VCENTER | DT_CENTER, DT_VCENTER | DT_RIGHT,
    DT_BOTTOM,                DT_BOTTOM | DT_CENTER, DT_BOTTOM | DT_RIGHT,
};

// Caption sizes leave one pixel of air on each side beyond any border.
constexpr int kCaptionAir = 1;
// What an empty caption (or a lone accelerator marker) measures as.
constexpr char kEmptyCaptionStandIn[] = " ";
// LOGFONT escapements are in tenths of a degree.
constexpr int kEscapementPerDegree = 10;

// One copy of the caption drawn under the text for a 3D look.
struct TCopy {
  int dx;
  int dy;
  TColor color;
};

// Half way from a colour to white, and half way to black: the light and
// dark copies of the parent-colour styles.
TColor Lighter(TColor color) {
  const COLORREF c = ColorToRGB(color);
  return RGB((GetRValue(c) + 255) / 2, (GetGValue(c) + 255) / 2, (GetBValue(c) + 255) / 2);
}
TColor Darker(TColor color) {
  const COLORREF c = ColorToRGB(color);
  return RGB(GetRValue(c) / 2, GetGValue(c) / 2, GetBValue(c) / 2);
}

// The copies that Style draws, in drawing order. `background` is the colour
// the parent-colour styles derive theirs from.
std::vector<TCopy> CopiesOf(const TQel3DCaption& fx, TColor background) {
  int lx = -1;
  int ly = -1;
  switch (fx.Orientation()) {
    case toTopLeft: break;
    case toTopRight: lx = 1; break;
    case toBottomLeft: ly = 1; break;
    case toBottomRight: lx = 1; ly = 1; break;
  }
  const int ld = fx.LightDepth();
  const int sd = fx.ShadowDepth();
  const TColor light = fx.LightColor();
  const TColor shadow = fx.ShadowColor();
  switch (fx.Style()) {
    case tdNone: return {};
    case tdRaised: return {{lx * ld, ly * ld, light}, {-lx * sd, -ly * sd, shadow}};
    case tdSunken: return {{-lx * ld, -ly * ld, light}, {lx * sd, ly * sd, shadow}};
    case tdRaisedShadow:
      return {{lx * ld, ly * ld, light}, {-lx * (sd + ld), -ly * (sd + ld), shadow}};
    case tdSunkenShadow:
      return {{-lx * ld, -ly * ld, light}, {lx * (sd + ld), ly * (sd + ld), shadow}};
    case tdPColorRaised:
      return {{lx * ld, ly * ld, Lighter(background)}, {-lx * sd, -ly * sd, Darker(background)}};
    case tdPColorSunken:
      return {{-lx * ld, -ly * ld, Lighter(background)}, {lx * sd, ly * sd, Darker(background)}};
    case tdShadow: return {{-lx * sd, -ly * sd, shadow}};
    case tdOutline: {
      std::vector<TCopy> ring;
      for (int dy = -sd; dy <= sd; dy += std::max(sd, 1))
        for (int dx = -sd; dx <= sd; dx += std::max(sd, 1))
          if (dx != 0 || dy != 0) ring.push_back({dx, dy, shadow});
      return ring;
    }
    case tdExtrude:
    case tdExtrudeEnh: {
      std::vector<TCopy> steps;
      for (int i = sd; i >= 1; --i) steps.push_back({-lx * i, -ly * i, shadow});
      if (fx.Style() == tdExtrudeEnh) steps.push_back({lx * ld, ly * ld, light});
      return steps;
    }
  }
  return {};
}

// How far the copies reach beyond the text on each side.
struct TReach {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};
TReach ReachOf(const std::vector<TCopy>& copies) {
  TReach r;
  for (const TCopy& c : copies) {
    r.left = std::max(r.left, -c.dx);
    r.right = std::max(r.right, c.dx);
    r.top = std::max(r.top, -c.dy);
    r.bottom = std::max(r.bottom, c.dy);
  }
  return r;
}

// Character spacing for one scope.
class TTracingScope {
 public:
  TTracingScope(HDC dc, int tracing) : dc_(tracing != 0 ? dc : nullptr) {
    if (dc_) SetTextCharacterExtra(dc_, tracing);
  }
  TTracingScope(const TTracingScope&) = delete;
  TTracingScope& operator=(const TTracingScope&) = delete;
  ~TTracingScope() {
    if (dc_) SetTextCharacterExtra(dc_, 0);
  }

 private:
  HDC dc_;
};

// The text as it shows: accelerator markers removed, "&&" as "&".
std::string WithoutPrefixes(const std::string& text) {
  std::string shown;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '&') {
      shown += text[i];
    } else if (i + 1 < text.size()) {
      shown += text[++i];
    }
  }
  return shown;
}

// A turned copy of `font`.
TFontHandle TurnedFont(HFONT font, int angle) {
  LOGFONTA lf{};
  GetObjectA(font, sizeof lf, &lf);
  lf.lfEscapement = angle * kEscapementPerDegree;
  lf.lfOrientation = lf.lfEscapement;
  // Only outline fonts turn.
  lf.lfOutPrecision = OUT_TT_ONLY_PRECIS;
  return TFontHandle(CreateFontIndirectA(&lf));
}

// The corners of a w x h text turned by `angle` about its top-left corner,
// as offsets of the bounding box's top-left corner and its size.
struct TTurnedBox {
  int originX;  // where the text's own top-left corner lies in the box
  int originY;
  int width;
  int height;
};
TTurnedBox TurnedBox(int w, int h, int angle) {
  const double a = angle * std::numbers::pi / 180.0;
  const double c = std::cos(a);
  const double s = std::sin(a);
  // Screen y grows downwards; a counter-clockwise turn maps (x, y) to
  // (x cos + y sin, -x sin + y cos).
  const double xs[] = {0, w * c, h * s, w * c + h * s};
  const double ys[] = {0, -w * s, h * c, -w * s + h * c};
  const double minX = *std::min_element(xs, xs + 4);
  const double maxX = *std::max_element(xs, xs + 4);
  const double minY = *std::min_element(ys, ys + 4);
  const double maxY = *std::max_element(ys, ys + 4);
  return {static_cast<int>(std::lround(-minX)), static_cast<int>(std::lround(-minY)),
          static_cast<int>(std::lround(maxX - minX)), static_cast<int>(std::lround(maxY - minY))};
}

void DrawTurned(HDC dc, HFONT font, const std::string& text, int angle, int x, int y,
                TColor color) {
  TFontHandle turned = TurnedFont(font, angle);
  TSelectObject select(dc, turned.Get());
  SIZE size{};
  GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
  const TTurnedBox box = TurnedBox(size.cx, size.cy, angle);
  const UINT oldAlign = SetTextAlign(dc, TA_LEFT | TA_TOP);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColor = SetTextColor(dc, ColorToRGB(color));
  TextOutA(dc, x + box.originX, y + box.originY, text.data(), static_cast<int>(text.size()));
  SetTextColor(dc, oldColor);
  SetBkMode(dc, oldMode);
  SetTextAlign(dc, oldAlign);
}

}  // namespace

UINT QelAlignmentFlags(TQelAlignment alignment) { return kAlignmentFlags[alignment]; }

UINT QelLabelOptionFlags(TQelLabelOptions options) {
  UINT flags = 0;
  if (options.Contains(loPathEllipsis)) flags |= DT_PATH_ELLIPSIS;
  if (options.Contains(loEndEllipsis)) flags |= DT_END_ELLIPSIS;
  if (options.Contains(loEditControl)) flags |= DT_EDITCONTROL;
  return flags;
}

void TQel3DCaption::CopyFrom(const TQel3DCaption& source) {
  disabledStyle_ = source.disabledStyle_;
  lightDepth_ = source.lightDepth_;
  shadowDepth_ = source.shadowDepth_;
  lightColor_ = source.lightColor_;
  orientation_ = source.orientation_;
  shadowColor_ = source.shadowColor_;
  style_ = source.style_;
}

void TQelFxCaption::SetAngle(int value) { Store(angle_, std::clamp(value, 0, kFullCircle)); }

void TQelFxCaption::Assign(const TQelFxCaption& source) {
  if (&source == this) return;
  CopyFrom(source);
  tracing_ = source.tracing_;
  angle_ = source.angle_;
  posX_ = source.posX_;
  posY_ = source.posY_;
  Changed();
}

void PaintCaptionText(TCanvas& canvas, const std::string& text, const TQelFxCaption& fx,
                      const TRect* clip, TQelCaptionPaintState state, UINT flags,
                      const TRect& rect) {
  if (text.empty() || rect.IsEmpty()) return;
  HDC dc = canvas.Handle();
  if (!dc) return;
  TQelClipScope clipScope(dc);
  if (state.Contains(cpsClip)) clipScope.Intersect(clip ? *clip : rect);
  const bool enabled = state.Contains(cpsEnabled) || fx.DisabledStyle() == dsNone;
  const TColor color = enabled ? canvas.Font().Color() : clGrayText;
  const TRect textRect = rect.Offset(fx.PosX(), fx.PosY());
  const TColor background = canvas.Brush().Color();
  canvas.Brush().SetStyle(bsClear);
  TTracingScope tracing(dc, fx.Tracing());

  std::vector<TCopy> copies = CopiesOf(fx, background);
  if (!enabled && fx.DisabledStyle() == ds3d) copies.push_back({1, 1, clBtnHighlight});
  const TReach reach = ReachOf(copies);
  const TRect home = textRect.Offset(reach.left, reach.top);

  if (fx.Angle() % TQelFxCaption::kFullCircle != 0) {
    const std::string shown = flags & DT_NOPREFIX ? text : WithoutPrefixes(text);
    HFONT font = canvas.Font().Handle();
    for (const TCopy& c : copies)
      DrawTurned(dc, font, shown, fx.Angle(), home.Left + c.dx, home.Top + c.dy, c.color);
    DrawTurned(dc, font, shown, fx.Angle(), home.Left, home.Top, color);
    return;
  }
  for (const TCopy& c : copies) {
    canvas.Font().SetColor(c.color);
    TRect r = home.Offset(c.dx, c.dy);
    canvas.DrawTextEx(text, r, flags);
  }
  canvas.Font().SetColor(color);
  TRect r = home;
  canvas.DrawTextEx(text, r, flags);
}

void MeasureCaptionText(const std::string& text, const TQelFxCaption& fx, UINT flags, int extent,
                        bool showAccelChar, bool multiLine, const TFont& font, TRect& rect) {
  TWindowDC screen(nullptr);
  TSelectObject selectFont(screen.Get(), font.Handle());
  flags |= DT_CALCRECT | DT_EXPANDTABS;
  if (multiLine) flags |= DT_WORDBREAK;
  if (!showAccelChar) flags |= DT_NOPREFIX;
  const bool standIn = text.empty() || (showAccelChar && text == "&");
  std::string measured = standIn ? kEmptyCaptionStandIn : text;
  {
    TTracingScope tracing(screen.Get(), fx.Tracing());
    RECT r = rect;
    DrawTextExA(screen.Get(), measured.data(), static_cast<int>(measured.size()), &r, flags,
                nullptr);
    rect = r;
  }
  if (fx.Angle() % TQelFxCaption::kFullCircle != 0) {
    const TTurnedBox box = TurnedBox(rect.Width(), rect.Height(), fx.Angle());
    rect.Right = rect.Left + box.width;
    rect.Bottom = rect.Top + box.height;
  }
  const TReach reach = ReachOf(CopiesOf(fx, clBtnFace));
  const int air = 2 * (extent + kCaptionAir);
  rect.Right += reach.left + reach.right + air;
  rect.Bottom += reach.top + reach.bottom + air;
}

bool IsAccelerator(char ch, const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    auto upper = [](char c) {
      return LOWORD(reinterpret_cast<ULONG_PTR>(
          CharUpperA(reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(static_cast<unsigned char>(c))))));
    };
    return upper(caption[i + 1]) == upper(ch);
  }
  return false;
}
