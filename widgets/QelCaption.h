// Captions of the widget library: where a caption sits in its rectangle
// (TQelAlignment), its effects (TQel3DCaption, TQelFxCaption), and the two
// routines every captioned widget draws and measures with,
// PaintCaptionText and MeasureCaptionText.
//
// Effects: PosX/PosY move the text, Tracing adds pixels between characters,
// Angle turns it (degrees, counter-clockwise, about the text rectangle's
// top-left corner), Style gives it a 3D look of copies in LightColor and
// ShadowColor offset by LightDepth/ShadowDepth, with the light falling from
// the corner named by Orientation. DisabledStyle: how a disabled caption
// looks (dsAuto and dsStandard: clGrayText; ds3d: clGrayText over a
// highlight copy; dsNone: like an enabled one).
#pragma once

#include <windows.h>

#include <string>

#include "framework/Canvas.h"
#include "framework/Set.h"
#include "widgets/QelObject.h"

enum TQelAlignment {
  agTopLeft,
  agTopCenter,
  agTopRight,
  agCenterLeft,
  agCenter,
  agCenterRight,
  agBottomLeft,
  agBottomCenter,
  agBottomRight
};
// The text-drawing flags (DT_*) of an alignment.
UINT QelAlignmentFlags(TQelAlignment alignment);
// True for the alignments of the middle and bottom rows.
constexpr bool QelAlignedBelowTop(TQelAlignment alignment) { return alignment >= agCenterLeft; }

enum TQelLabelOption { loPathEllipsis, loEndEllipsis, loEditControl };
using TQelLabelOptions = TSet<TQelLabelOption>;
// The text-drawing flags (DT_*) of caption options.
UINT QelLabelOptionFlags(TQelLabelOptions options);

enum TQelDisabledStyle { dsAuto, dsStandard, ds3d, dsNone };

enum TQel3DStyle {
  tdNone,
  tdSunken,
  tdRaised,
  tdSunkenShadow,
  tdRaisedShadow,
  tdPColorSunken,
  tdPColorRaised,
  tdShadow,
  tdOutline,
  tdExtrude,
  tdExtrudeEnh
};

// The corner the light of a 3D caption comes from.
enum TQelTextOrientation { toTopLeft, toTopRight, toBottomLeft, toBottomRight };

class TQel3DCaption : public TQelObject {
 public:
  TQelDisabledStyle DisabledStyle() const { return disabledStyle_; }
  void SetDisabledStyle(TQelDisabledStyle value) { Store(disabledStyle_, value); }
  int LightDepth() const { return lightDepth_; }
  void SetLightDepth(int value) { Store(lightDepth_, value < 0 ? 0 : value); }
  int ShadowDepth() const { return shadowDepth_; }
  void SetShadowDepth(int value) { Store(shadowDepth_, value < 0 ? 0 : value); }
  TColor LightColor() const { return lightColor_; }
  void SetLightColor(TColor value) { Store(lightColor_, value); }
  TQelTextOrientation Orientation() const { return orientation_; }
  void SetOrientation(TQelTextOrientation value) { Store(orientation_, value); }
  TColor ShadowColor() const { return shadowColor_; }
  void SetShadowColor(TColor value) { Store(shadowColor_, value); }
  TQel3DStyle Style() const { return style_; }
  void SetStyle(TQel3DStyle value) { Store(style_, value); }

 protected:
  void CopyFrom(const TQel3DCaption& source);

 private:
  TQelDisabledStyle disabledStyle_ = dsAuto;
  int lightDepth_ = 1;
  int shadowDepth_ = 1;
  TColor lightColor_ = clBtnHighlight;
  TQelTextOrientation orientation_ = toTopLeft;
  TColor shadowColor_ = clBtnShadow;
  TQel3DStyle style_ = tdNone;
};

class TQelFxCaption : public TQel3DCaption {
 public:
  static constexpr int kFullCircle = 360;

  // Extra pixels between characters.
  int Tracing() const { return tracing_; }
  void SetTracing(int value) { Store(tracing_, value); }
  // Degrees, 0..360.
  int Angle() const { return angle_; }
  void SetAngle(int value);
  int PosX() const { return posX_; }
  void SetPosX(int value) { Store(posX_, value); }
  int PosY() const { return posY_; }
  void SetPosY(int value) { Store(posY_, value); }

  // Copies every effect and reports one change.
  void Assign(const TQelFxCaption& source);

 private:
  int tracing_ = 0;
  int angle_ = 0;
  int posX_ = 0;
  int posY_ = 0;
};

enum TQelCaptionPaintStateItem {
  cpsEnabled,  // draw in the font's colour (else the disabled look)
  cpsClip,     // clip the drawing to the clip rectangle
};
using TQelCaptionPaintState = TSet<TQelCaptionPaintStateItem>;

// Draws `text` into `rect` with the canvas's font and the text-drawing
// `flags` (DrawTextEx), without a background box; the canvas's font colour
// when enabled. With cpsClip the drawing is clipped to `clip`, or to `rect`
// when `clip` is null. Nothing for an empty text or rectangle.
void PaintCaptionText(TCanvas& canvas, const std::string& text, const TQelFxCaption& fx,
                      const TRect* clip, TQelCaptionPaintState state, UINT flags,
                      const TRect& rect);

// The size `text` needs in `font`: `rect` keeps Left and Top and gets Right
// and Bottom so that the text (the widest line, all lines; wrapped at
// rect's width with `multiLine`) fits, plus 2 * (extent + 1) pixels. An
// empty text, and with `showAccelChar` a lone "&", is measured as a space.
void MeasureCaptionText(const std::string& text, const TQelFxCaption& fx, UINT flags, int extent,
                        bool showAccelChar, bool multiLine, const TFont& font, TRect& rect);

// True when `caption` marks `ch` as its accelerator ("&x", not "&&"),
// letters compared without case.
bool IsAccelerator(char ch, const std::string& caption);
