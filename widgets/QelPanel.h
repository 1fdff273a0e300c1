// The windowed panels of the widget library.
//
// TQelCustomPanel: a windowed control with a plain background in Color
// (clBtnFace by default, not the parent's), or the parent's picture showing
// through when Transparent.
//
// TQelCustomBevelPanel: a panel with a border (Bevel). Its bevel has the
// native-border flag: in bmWindows the border is the platform's client
// edge, chosen by the window style (WS_EX_CLIENTEDGE, or WS_BORDER without
// 3D controls; neither for a control drawing with the desktop theme, which
// draws its own frame). Aligned children go inside the bevel's extent. A
// bevel change recreates the window (so that a new mode reaches the window
// style), realigns and repaints, unless the panel is loading or dying.
//
// TQelCustomParentPanel: a bordered panel that holds child controls and
// paints its background and border (the pages of a window).
#pragma once

#include "widgets/QelBevel.h"
#include "widgets/QelCustomControl.h"

class TQelCustomPanel : public TQelCustomControl {
 public:
  explicit TQelCustomPanel(TComponent* owner);

  // Show the parent's picture instead of filling with Color (default false).
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);

 protected:
  // Fills the client area with Color, or paints the parent's picture
  // under it when Transparent.
  void PaintBackground();

 private:
  void PaintParentPicture(HDC dc);

  bool transparent_ = false;
};

class TQelCustomBevelPanel : public TQelCustomPanel {
 public:
  explicit TQelCustomBevelPanel(TComponent* owner);
  ~TQelCustomBevelPanel() override;

  TQelBevel& Bevel() { return bevel_; }
  const TQelBevel& Bevel() const { return bevel_; }
  // Copies the values (the bevel itself is never replaced).
  void SetBevel(const TQelBevel& bevel) { bevel_.CopyBevel(bevel); }

 protected:
  void CreateParams(TCreateParams& params) override;
  void AdjustClientRect(TRect& rect) override;
  void ThemeChanged() override;
  // The bevel reported a change.
  virtual void BevelChanged();

 private:
  // The border bits of the window style for the current bevel and theme.
  void BorderStyles(DWORD& style, DWORD& exStyle) const;

  TQelBevel bevel_;
};

class TQelCustomParentPanel : public TQelCustomBevelPanel {
 public:
  explicit TQelCustomParentPanel(TComponent* owner);

 protected:
  // Background, then the border over its outermost pixels.
  void Paint() override;
};
