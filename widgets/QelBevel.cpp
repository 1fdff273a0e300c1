#include "widgets/QelBevel.h"

#include <algorithm>

#include "widgets/QelClipScope.h"

namespace {

// Every side of a bmEdge border is this deep, whatever the edge kind draws.
constexpr int kEdgeDepth = 2;
// The platform's client edge drawn by a bevel without a native border.
constexpr int kWindowsEdgeDepth = 2;

struct TEdgeKind {
  TQelEdgeStyle style;
  UINT edge;
};
constexpr TEdgeKind kEdgeKinds[] = {
    {etRaisedInner, BDR_RAISEDINNER}, {etRaisedOuter, BDR_RAISEDOUTER},
    {etSunkenInner, BDR_SUNKENINNER}, {etSunkenOuter, BDR_SUNKENOUTER},
    {etBump, EDGE_BUMP},              {etEtched, EDGE_ETCHED},
    {etRaised, EDGE_RAISED},          {etSunken, EDGE_SUNKEN},
};

// The classic border kinds of bmStandard as platform edges. A kind without
// an edge is drawn by hand (see PaintStandard).
struct TStandardBorder {
  UINT edge;
  UINT flags;
  int depth;
};
constexpr TStandardBorder kStandardBorders[] = {
    {0, 0, 0},                              // lsNone
    {0, 0, 1},                              // lsSingle: a frame in clWindowFrame
    {BDR_SUNKENOUTER, 0, 1},                // lsLowered
    {BDR_RAISEDINNER, 0, 1},                // lsRaised
    {BDR_RAISEDOUTER, BF_SOFT, 1},          // lsRaisedspb
    {BDR_SUNKENOUTER, BF_SOFT, 1},          // lsLoweredspb
    {EDGE_RAISED, 0, 2},                    // lsRaisedExt
    {EDGE_SUNKEN, 0, 2},                    // lsLoweredExt
    {EDGE_ETCHED, 0, 2},                    // lsFrameInset
    {EDGE_BUMP, 0, 2},                      // lsFrameOffset
    {0, 0, kWindowsEdgeDepth},              // lsWindowBorder: the client edge
    {BDR_RAISEDOUTER, 0, 1},                // lsSingleRaised
    {BDR_SUNKENINNER, 0, 1},                // lsSingleLowered
    {EDGE_RAISED, BF_SOFT, 2},              // lsDoubleRaised
    {EDGE_SUNKEN, BF_SOFT, 2},              // lsDoubleLowered
};

// How many lines of its width a custom line style draws.
int LineCount(TQelBevelStyle style) {
  switch (style) {
    case TQelBevelStyle::bvNone: return 0;
    case TQelBevelStyle::bvFrameLowered:
    case TQelBevelStyle::bvFrameRaised: return 2;
    default: return 1;
  }
}

// `width` one-pixel frames in `color`, each inside the last; only the
// shrinking when `transparent`.
TRect PaintPlainBorder(TCanvas& canvas, TRect rect, int width, TColor color, bool transparent) {
  if (transparent || width == 0) return rect.Inflate(-width, -width);
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(color);
  for (int i = 0; i < width; ++i) {
    canvas.FrameRect(rect);
    rect = rect.Inflate(-1, -1);
  }
  return rect;
}

// `width` lines with `topLeft` on the top and left and `bottomRight` on the
// bottom and right.
TRect PaintFrame3D(TCanvas& canvas, TRect rect, TColor topLeft, TColor bottomRight, int width) {
  canvas.Brush().SetStyle(bsSolid);
  for (int i = 0; i < width && !rect.IsEmpty(); ++i) {
    canvas.Brush().SetColor(topLeft);
    canvas.FillRect({rect.Left, rect.Top, rect.Right, rect.Top + 1});
    canvas.FillRect({rect.Left, rect.Top, rect.Left + 1, rect.Bottom});
    canvas.Brush().SetColor(bottomRight);
    canvas.FillRect({rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom});
    canvas.FillRect({rect.Right - 1, rect.Top, rect.Right, rect.Bottom});
    rect = rect.Inflate(-1, -1);
  }
  return rect;
}

// The sunken client edge: outer ring, then the inner line on top and left
// only; its right and bottom are left out but still take their pixel.
TRect PaintWindowsEdge(TCanvas& canvas, TRect rect) {
  canvas.DrawEdge(rect, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  canvas.DrawEdge(rect, BDR_SUNKENINNER, BF_LEFT | BF_TOP | BF_ADJUST);
  rect.Right -= 1;
  rect.Bottom -= 1;
  return rect;
}

}  // namespace

UINT QelEdgeKind(TQelEdgeStyle style) {
  for (const TEdgeKind& kind : kEdgeKinds)
    if (kind.style == style) return kind.edge;
  return EDGE_ETCHED;
}

UINT QelBorderFlags(TQelFrameSides sides) {
  UINT flags = 0;
  for (const TQelSideFlag& s : kQelSideFlags)
    if (sides.Contains(s.side)) flags |= s.flag;
  return flags;
}

void TQelBevel::SetWidthInner(int value) {
  Store(widthInner_, std::clamp(value, 0, kMaxLineWidth));
}

void TQelBevel::SetWidthOuter(int value) {
  Store(widthOuter_, std::clamp(value, 0, kMaxLineWidth));
}

void TQelBevel::SetStandardStyle(TQelBorderStyle value) {
  if (value == standardStyle_) return;
  standardStyle_ = value;
  if (mode_ == bmStandard) Changed();
}

void TQelBevel::CopyBevel(const TQelBevel& source) {
  if (&source == this) return;
  styleInner_ = source.styleInner_;
  styleOuter_ = source.styleOuter_;
  widthInner_ = source.widthInner_;
  widthOuter_ = source.widthOuter_;
  borderColor_ = source.borderColor_;
  borderSides_ = source.borderSides_;
  borderWidth_ = source.borderWidth_;
  borderInnerWidth_ = source.borderInnerWidth_;
  edgeStyle_ = source.edgeStyle_;
  lightColor_ = source.lightColor_;
  mode_ = source.mode_;
  shadowColor_ = source.shadowColor_;
  standardStyle_ = source.standardStyle_;
  nativeBorder_ = source.nativeBorder_;
  Changed();
}

void TQelBevel::Changed() {
  extent_ = ComputeExtent();
  TQelObject::Changed();
}

int TQelBevel::ComputeExtent() const {
  switch (mode_) {
    case bmCustom:
      return LineCount(styleOuter_) * widthOuter_ + borderWidth_ +
             LineCount(styleInner_) * widthInner_ + borderInnerWidth_;
    case bmStandard:
      return kStandardBorders[standardStyle_].depth + borderInnerWidth_;
    case bmEdge:
      return (borderSides_.Empty() ? 0 : kEdgeDepth) + borderInnerWidth_;
    case bmWindows:
      return nativeBorder_ ? 0 : kWindowsEdgeDepth + borderInnerWidth_;
  }
  return 0;
}

TRect TQelBevel::PaintBevel(TCanvas& canvas, const TRect& rect, bool transparent) const {
  if (extent_ == 0) return rect;
  TRect inner = rect;
  switch (mode_) {
    case bmEdge: inner = PaintEdge(canvas, rect, transparent); break;
    case bmCustom: inner = PaintCustom(canvas, rect, transparent); break;
    case bmStandard: inner = PaintStandard(canvas, rect); break;
    case bmWindows: inner = PaintWindowsEdge(canvas, rect); break;
  }
  return PaintPlainBorder(canvas, inner, borderInnerWidth_, borderColor_, transparent);
}

TRect TQelBevel::PaintEdge(TCanvas& canvas, const TRect& rect, bool transparent) const {
  if (borderSides_.Empty()) return rect;
  // The outer copy grows and the inner copy shrinks on every drawn side, so
  // that afterwards the outer copy shrunk all round leaves out exactly the
  // strips of the sides without an edge.
  TRect outer = rect;
  TRect inner = rect;
  for (const TQelSideFlag& s : kQelSideFlags) {
    if (!borderSides_.Contains(s.side)) continue;
    switch (s.side) {
      case fsBottom: outer.Bottom += kEdgeDepth; inner.Bottom -= kEdgeDepth; break;
      case fsTop: outer.Top -= kEdgeDepth; inner.Top += kEdgeDepth; break;
      case fsRight: outer.Right += kEdgeDepth; inner.Right -= kEdgeDepth; break;
      case fsLeft: outer.Left -= kEdgeDepth; inner.Left += kEdgeDepth; break;
    }
  }
  TRect edgeRect = rect;
  canvas.DrawEdge(edgeRect, QelEdgeKind(edgeStyle_), QelBorderFlags(borderSides_));
  if (!transparent) {
    outer = outer.Inflate(-kEdgeDepth, -kEdgeDepth);
    TQelClipScope clip(canvas.Handle());
    clip.IntersectDifference(rect, outer);
    canvas.FillRect(rect);
  }
  return inner;
}

TRect TQelBevel::PaintLine(TCanvas& canvas, TRect rect, TQelBevelStyle style, int width) const {
  switch (style) {
    case TQelBevelStyle::bvNone: return rect;
    case TQelBevelStyle::bvLowered:
      return PaintFrame3D(canvas, rect, shadowColor_, lightColor_, width);
    case TQelBevelStyle::bvRaised:
      return PaintFrame3D(canvas, rect, lightColor_, shadowColor_, width);
    case TQelBevelStyle::bvFrameLowered:
      rect = PaintFrame3D(canvas, rect, shadowColor_, lightColor_, width);
      return PaintFrame3D(canvas, rect, lightColor_, shadowColor_, width);
    case TQelBevelStyle::bvFrameRaised:
      rect = PaintFrame3D(canvas, rect, lightColor_, shadowColor_, width);
      return PaintFrame3D(canvas, rect, shadowColor_, lightColor_, width);
    case TQelBevelStyle::bvNormal:
      return PaintFrame3D(canvas, rect, shadowColor_, shadowColor_, width);
    case TQelBevelStyle::bvShadow:
      return PaintFrame3D(canvas, rect, borderColor_, shadowColor_, width);
  }
  return rect;
}

TRect TQelBevel::PaintCustom(TCanvas& canvas, TRect rect, bool transparent) const {
  rect = PaintLine(canvas, rect, styleOuter_, widthOuter_);
  rect = PaintPlainBorder(canvas, rect, borderWidth_, borderColor_, transparent);
  return PaintLine(canvas, rect, styleInner_, widthInner_);
}

TRect TQelBevel::PaintStandard(TCanvas& canvas, TRect rect) const {
  switch (standardStyle_) {
    case lsNone: return rect;
    case lsSingle: return PaintPlainBorder(canvas, rect, 1, clWindowFrame, false);
    case lsWindowBorder: return PaintWindowsEdge(canvas, rect);
    default: {
      const TStandardBorder& border = kStandardBorders[standardStyle_];
      canvas.DrawEdge(rect, border.edge, BF_RECT | border.flags);
      return rect.Inflate(-border.depth, -border.depth);
    }
  }
}
