// The windowless controls of the widget library.
//
// TQelControl: the base of every windowless widget. Theming works as for
// the windowed ones (TQelCustomControl): SupportsThemes() names a class
// that can draw with the desktop theme, Themed() applies the library's rule,
// ThemeChanged re-evaluates the switch and repaints.
//
// TQelBaseControl: a windowless widget with a caption drawn with effects
// (FontFX); an effects change repaints (CaptionEffectsChanged).
//
// TQelBaseGraphicControl: a captioned windowless widget with a border
// (Bevel, without the native-border flag: the control draws it) and a
// Transparent switch; a bevel change repaints (BevelChanged).
#pragma once

#include "framework/GraphicControl.h"
#include "widgets/QelBevel.h"
#include "widgets/QelCaption.h"

class TQelControl : public TGraphicControl {
 public:
  explicit TQelControl(TComponent* owner);

  // Draw with the desktop theme when theming is on (default true).
  bool CtlXP() const { return ctlXP_; }
  void SetCtlXP(bool value);

  // True when this control draws with the desktop theme now.
  bool Themed() const;

 protected:
  virtual bool SupportsThemes() const { return false; }
  void ThemeChanged() override;

 private:
  bool ctlXP_ = true;
};

class TQelBaseControl : public TQelControl {
 public:
  explicit TQelBaseControl(TComponent* owner);
  ~TQelBaseControl() override;

  TQelFxCaption& FontFX() { return fontFX_; }
  const TQelFxCaption& FontFX() const { return fontFX_; }
  // Copies the values (the effects object itself is never replaced).
  void SetFontFX(const TQelFxCaption& value) { fontFX_.Assign(value); }

 protected:
  virtual void CaptionEffectsChanged() { Invalidate(); }

 private:
  TQelFxCaption fontFX_;
};

class TQelBaseGraphicControl : public TQelBaseControl {
 public:
  explicit TQelBaseGraphicControl(TComponent* owner);
  ~TQelBaseGraphicControl() override;

  TQelBevel& Bevel() { return bevel_; }
  const TQelBevel& Bevel() const { return bevel_; }
  // Copies the values (the bevel itself is never replaced).
  void SetBevel(const TQelBevel& value) { bevel_.CopyBevel(value); }

  // Draw no background, so the parent shows through (default true).
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);

 protected:
  virtual void BevelChanged() { Invalidate(); }

 private:
  TQelBevel bevel_;
  bool transparent_ = true;  // so not csOpaque
};
