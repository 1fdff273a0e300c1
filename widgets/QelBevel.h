// TQelBevel: the border that a bordered widget draws inside its own
// rectangle. It knows how many pixels the border takes on each side (its
// extent), paints itself onto a canvas and hands back what is left for the
// content. Every property change recomputes the extent and is reported to
// the owning control through the change handler (TQelObject).
//
// Modes:
// - bmEdge: a platform edge (EdgeStyle) on the sides in BorderSides, always
//   2 pixels deep on each such side, whatever the edge kind draws.
// - bmCustom: outer line (StyleOuter/WidthOuter), plain border
//   (BorderWidth, in BorderColor), inner line (StyleInner/WidthInner).
// - bmStandard: one of the classic border kinds (StandardStyle).
// - bmWindows: the platform's own client edge. A bevel owned by a windowed
//   panel (native border) leaves it to the window style and takes no space;
//   otherwise it draws a sunken 2-pixel edge itself.
// In every mode a plain BorderInnerWidth border lies inside everything.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/Canvas.h"
#include "framework/Set.h"
#include "widgets/QelObject.h"

enum TQelBevelMode { bmCustom, bmStandard, bmEdge, bmWindows };

// Scoped: the grid's bevel cuts use the same short names.
enum class TQelBevelStyle {
  bvNone,
  bvLowered,
  bvRaised,
  bvFrameLowered,
  bvFrameRaised,
  bvNormal,
  bvShadow
};

enum TQelEdgeStyle {
  etRaisedInner,
  etRaisedOuter,
  etSunkenInner,
  etSunkenOuter,
  etBump,
  etEtched,
  etRaised,
  etSunken
};

enum TQelFrameSide { fsBottom, fsLeft, fsRight, fsTop };
using TQelFrameSides = TSet<TQelFrameSide>;
inline constexpr TQelFrameSides kQelAllFrameSides{fsBottom, fsLeft, fsRight, fsTop};

enum TQelBorderStyle {
  lsNone,
  lsSingle,
  lsLowered,
  lsRaised,
  lsRaisedspb,
  lsLoweredspb,
  lsRaisedExt,
  lsLoweredExt,
  lsFrameInset,
  lsFrameOffset,
  lsWindowBorder,
  lsSingleRaised,
  lsSingleLowered,
  lsDoubleRaised,
  lsDoubleLowered
};

enum TQelDrawEdgeStyle { esEdge, esDiagonal, esStandard };

enum TQelDiagonalStyle { dsEndBottomLeft, dsEndBottomRight, dsEndTopLeft, dsEndTopRight };

// The platform edge kind (BDR_* / EDGE_*) drawn for an edge style.
UINT QelEdgeKind(TQelEdgeStyle style);

// A side and the platform border flag that draws it.
struct TQelSideFlag {
  TQelFrameSide side;
  UINT flag;
};
// The sides in the order the edge drawing tests them: bottom, top, right, left.
inline constexpr TQelSideFlag kQelSideFlags[] = {
    {fsBottom, BF_BOTTOM}, {fsTop, BF_TOP}, {fsRight, BF_RIGHT}, {fsLeft, BF_LEFT}};
// The BF_* flags of the sides in `sides`.
UINT QelBorderFlags(TQelFrameSides sides);

class TQelBevel : public TQelObject {
 public:
  static constexpr int kMaxLineWidth = 50;

  TQelBevel() = default;

  TQelBevelStyle StyleInner() const { return styleInner_; }
  void SetStyleInner(TQelBevelStyle value) { Store(styleInner_, value); }
  TQelBevelStyle StyleOuter() const { return styleOuter_; }
  void SetStyleOuter(TQelBevelStyle value) { Store(styleOuter_, value); }
  // Line widths of the custom styles, 0..50 (larger values are cut to 50).
  int WidthInner() const { return widthInner_; }
  void SetWidthInner(int value);
  int WidthOuter() const { return widthOuter_; }
  void SetWidthOuter(int value);
  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor value) { Store(borderColor_, value); }
  TQelFrameSides BorderSides() const { return borderSides_; }
  void SetBorderSides(TQelFrameSides value) { Store(borderSides_, value); }
  uint8_t BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(uint8_t value) { Store(borderWidth_, value); }
  uint8_t BorderInnerWidth() const { return borderInnerWidth_; }
  void SetBorderInnerWidth(uint8_t value) { Store(borderInnerWidth_, value); }
  TQelEdgeStyle EdgeStyle() const { return edgeStyle_; }
  void SetEdgeStyle(TQelEdgeStyle value) { Store(edgeStyle_, value); }
  TColor LightColor() const { return lightColor_; }
  void SetLightColor(TColor value) { Store(lightColor_, value); }
  TQelBevelMode Mode() const { return mode_; }
  void SetMode(TQelBevelMode value) { Store(mode_, value); }
  TColor ShadowColor() const { return shadowColor_; }
  void SetShadowColor(TColor value) { Store(shadowColor_, value); }
  TQelBorderStyle StandardStyle() const { return standardStyle_; }
  // Reported as a change only while Mode is bmStandard.
  void SetStandardStyle(TQelBorderStyle value);

  // Set by windowed panels: in bmWindows their window style draws the edge.
  bool NativeBorder() const { return nativeBorder_; }
  void SetNativeBorder(bool value) { Store(nativeBorder_, value); }

  // Pixels the border takes on each side.
  int Extent() const { return extent_; }

  // Copies every property and the native-border flag, then reports one change.
  void CopyBevel(const TQelBevel& source);

  // Paints the border inside `rect` and returns the rectangle left inside.
  // `transparent`: lines only, no plain borders or side strips filled.
  TRect PaintBevel(TCanvas& canvas, const TRect& rect, bool transparent) const;

 protected:
  void Changed() override;

 private:
  int ComputeExtent() const;
  TRect PaintEdge(TCanvas& canvas, const TRect& rect, bool transparent) const;
  TRect PaintCustom(TCanvas& canvas, TRect rect, bool transparent) const;
  TRect PaintStandard(TCanvas& canvas, TRect rect) const;
  TRect PaintLine(TCanvas& canvas, TRect rect, TQelBevelStyle style, int width) const;

  TQelBevelStyle styleInner_ = TQelBevelStyle::bvNone;
  TQelBevelStyle styleOuter_ = TQelBevelStyle::bvNone;
  int widthInner_ = 1;
  int widthOuter_ = 1;
  TColor borderColor_ = clBtnFace;
  TQelFrameSides borderSides_ = kQelAllFrameSides;
  uint8_t borderWidth_ = 0;
  uint8_t borderInnerWidth_ = 0;
  TQelEdgeStyle edgeStyle_ = etEtched;
  TColor lightColor_ = clBtnHighlight;
  TQelBevelMode mode_ = bmCustom;
  TColor shadowColor_ = clBtnShadow;
  TQelBorderStyle standardStyle_ = lsSingleLowered;
  bool nativeBorder_ = false;
  int extent_ = 0;  // == ComputeExtent() after every change
};
