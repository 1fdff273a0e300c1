// Colours and the graphics objects a canvas draws with: TFont, TBrush, TPen.
//
// A TColor holds red in its lowest byte, then green, then blue; a value whose
// top byte is $FF names a system colour by its index (clBtnFace is
// $FF000000 | COLOR_BTNFACE). System colours are resolved by ColorToRGB at the
// moment something is drawn, so a changed desktop scheme shows at the next
// paint.
//
// Each graphics object makes its GDI handle on first use and keeps it until
// an attribute that the handle depends on changes; every setter compares
// first and fires OnChange only for a real change.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/Events.h"
#include "framework/Gdi.h"
#include "framework/Object.h"
#include "framework/Set.h"

using TColor = uint32_t;

inline constexpr TColor kSystemColorFlag = 0xFF000000;
constexpr TColor SystemColor(int index) { return kSystemColorFlag | static_cast<TColor>(index); }

inline constexpr TColor clScrollBar = SystemColor(COLOR_SCROLLBAR);
inline constexpr TColor clBackground = SystemColor(COLOR_BACKGROUND);
inline constexpr TColor clActiveCaption = SystemColor(COLOR_ACTIVECAPTION);
inline constexpr TColor clInactiveCaption = SystemColor(COLOR_INACTIVECAPTION);
inline constexpr TColor clMenu = SystemColor(COLOR_MENU);
inline constexpr TColor clWindow = SystemColor(COLOR_WINDOW);
inline constexpr TColor clWindowFrame = SystemColor(COLOR_WINDOWFRAME);
inline constexpr TColor clMenuText = SystemColor(COLOR_MENUTEXT);
inline constexpr TColor clWindowText = SystemColor(COLOR_WINDOWTEXT);
inline constexpr TColor clCaptionText = SystemColor(COLOR_CAPTIONTEXT);
inline constexpr TColor clActiveBorder = SystemColor(COLOR_ACTIVEBORDER);
inline constexpr TColor clInactiveBorder = SystemColor(COLOR_INACTIVEBORDER);
inline constexpr TColor clAppWorkSpace = SystemColor(COLOR_APPWORKSPACE);
inline constexpr TColor clHighlight = SystemColor(COLOR_HIGHLIGHT);
inline constexpr TColor clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT);
inline constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE);
inline constexpr TColor clBtnShadow = SystemColor(COLOR_BTNSHADOW);
inline constexpr TColor clGrayText = SystemColor(COLOR_GRAYTEXT);
inline constexpr TColor clBtnText = SystemColor(COLOR_BTNTEXT);
inline constexpr TColor clInactiveCaptionText = SystemColor(COLOR_INACTIVECAPTIONTEXT);
inline constexpr TColor clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT);
inline constexpr TColor cl3DDkShadow = SystemColor(COLOR_3DDKSHADOW);
inline constexpr TColor cl3DLight = SystemColor(COLOR_3DLIGHT);
inline constexpr TColor clInfoText = SystemColor(COLOR_INFOTEXT);
inline constexpr TColor clInfoBk = SystemColor(COLOR_INFOBK);
inline constexpr TColor clHotLight = SystemColor(COLOR_HOTLIGHT);

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;
// "No colour" (nothing is drawn in it) and "the control's default".
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

// The RGB value to draw with: system colours through GetSysColor.
COLORREF ColorToRGB(TColor color);

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;

// Font heights are in pixels (negative: character height without internal
// leading, as LOGFONT); Size is in points at 96 pixels per inch.
class TFont : public TObject {
 public:
  TFont() = default;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name);
  int Height() const { return height_; }
  void SetHeight(int height);
  int Size() const;
  void SetSize(int points);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  BYTE Charset() const { return charset_; }
  void SetCharset(BYTE charset);

  // Copies every attribute (and shares the handle); fires OnChange once when
  // anything differed.
  void Assign(const TFont& source);
  bool SameAs(const TFont& other) const;

  HFONT Handle() const;
  // The handle with shared ownership, for a canvas that selects it.
  const TSharedGdiObject& SharedHandle() const;

  TNotifyEvent OnChange;

 private:
  void Changed(bool handleChanged);

  std::string name_ = "MS Sans Serif";
  int height_ = -11;
  TFontStyles style_;
  TColor color_ = clWindowText;
  BYTE charset_ = DEFAULT_CHARSET;
  mutable TSharedGdiObject handle_;
};

enum TBrushStyle { bsSolid, bsClear };

class TBrush : public TObject {
 public:
  TBrush() = default;

  TColor Color() const { return color_; }
  void SetColor(TColor color);
  // bsClear: nothing is filled, and text is drawn without a background box.
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle style);
  void Assign(const TBrush& source);

  // A solid brush of the colour as it resolves now (or the stock null brush
  // for bsClear).
  HBRUSH Handle() const;
  const TSharedGdiObject& SharedHandle() const;

  TNotifyEvent OnChange;

 private:
  void Changed();

  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
  mutable TSharedGdiObject handle_;
  mutable COLORREF handleRgb_ = 0;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };

class TPen : public TObject {
 public:
  TPen() = default;

  TColor Color() const { return color_; }
  void SetColor(TColor color);
  int Width() const { return width_; }
  void SetWidth(int width);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle style);
  void Assign(const TPen& source);

  HPEN Handle() const;
  const TSharedGdiObject& SharedHandle() const;

  TNotifyEvent OnChange;

 private:
  void Changed();

  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = psSolid;
  mutable TSharedGdiObject handle_;
  mutable COLORREF handleRgb_ = 0;
};
