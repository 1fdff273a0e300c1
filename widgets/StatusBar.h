// TStatusBar / TStatusPanel: the common controls' status window
// ("msctls_statusbar32") as a control. The control computes the panel
// layout and texts and hands them to the platform window, which draws them.
//
// Panels: each panel's right edge is the sum of the widths up to it, except
// the last, which reaches the right end of the bar (its Width is never
// used). A changed panel marks its text as pending and invalidates its
// rectangle; pending texts are handed to the platform window at the next
// paint, with the bevel, alignment and owner-draw flags.
//
// Readers find a status bar whose panels (or its one simple text) are
// static texts named by their texts.
//
// The bar keeps the bounds its docking gives it: it does not let the
// platform window move or size itself. It shows a sizing grip only when
// SizeGrip is on, its parent is a sizeable form and its bottom-right corner
// is that form's client bottom-right corner.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Alignment.h"
#include "framework/Canvas.h"
#include "framework/WinControl.h"

enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };
enum TStatusPanelStyle { psText, psOwnerDraw };

class TStatusBar;

class TStatusPanel {
 public:
  explicit TStatusPanel(TStatusBar& bar) : bar_(bar) {}
  TStatusPanel(const TStatusPanel&) = delete;
  TStatusPanel& operator=(const TStatusPanel&) = delete;

  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);
  // Pixel width; not used for the last panel.
  int Width() const { return width_; }
  void SetWidth(int width);
  TStatusPanelBevel Bevel() const { return bevel_; }
  void SetBevel(TStatusPanelBevel bevel);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);
  // psOwnerDraw: the bar's OnDrawPanel draws the panel.
  TStatusPanelStyle Style() const { return style_; }
  void SetStyle(TStatusPanelStyle style);
  bool RightToLeftReading() const { return rightToLeftReading_; }
  void SetRightToLeftReading(bool value);

 private:
  friend class TStatusBar;
  void Changed();

  TStatusBar& bar_;
  std::string text_;
  int width_ = 50;
  TStatusPanelBevel bevel_ = pbLowered;
  TAlignment alignment_ = taLeftJustify;
  TStatusPanelStyle style_ = psText;
  bool rightToLeftReading_ = false;
  bool textPending_ = false;  // the text still has to go to the platform window
};

class TStatusPanels {
 public:
  explicit TStatusPanels(TStatusBar& bar) : bar_(bar) {}
  TStatusPanels(const TStatusPanels&) = delete;
  TStatusPanels& operator=(const TStatusPanels&) = delete;

  int Count() const { return static_cast<int>(panels_.size()); }
  TStatusPanel& Items(int index) { return *panels_.at(index); }
  TStatusPanel& operator[](int index) { return Items(index); }
  // Index of `panel`, -1 when it is not one of these.
  int IndexOf(const TStatusPanel& panel) const;
  // A new panel at the end.
  TStatusPanel& Add();
  void Delete(int index);
  void Clear();

 private:
  TStatusBar& bar_;
  std::vector<std::unique_ptr<TStatusPanel>> panels_;
};

// Draws an owner-drawn panel into `Rect` on the bar's canvas, which holds
// the bar's font and a solid clBtnFace brush.
using TDrawPanelEvent =
    std::function<void(TStatusBar* StatusBar, TStatusPanel& Panel, const TRect& Rect)>;

class TStatusBar : public TWinControl {
 public:
  explicit TStatusBar(TComponent* owner);

  TStatusPanels& Panels() { return panels_; }
  bool SizeGrip() const { return sizeGrip_; }
  void SetSizeGrip(bool value);
  // One text over the whole bar instead of the panels.
  bool SimplePanel() const { return simplePanel_; }
  void SetSimplePanel(bool value);
  const std::string& SimpleText() const { return simpleText_; }
  void SetSimpleText(const std::string& text);
  // The system's status font in clBtnText; a font set otherwise (ParentFont
  // included) turns it off.
  bool UseSystemFont() const { return useSystemFont_; }
  void SetUseSystemFont(bool value);
  // The canvas OnDrawPanel draws on, attached only while a panel is drawn.
  TCanvas& Canvas() { return canvas_; }

  void SetBounds(int left, int top, int width, int height) override;

  TDrawPanelEvent OnDrawPanel;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& msg) override;
  void ColorChanged() override;
  void FontChanged() override;
  void DescribeAccessible(TAccessibleInfo& info) override;
  int AccessibleItemCount() override;
  void DescribeAccessibleItem(int index, TAccessibleInfo& info) override;

 private:
  friend class TStatusPanel;
  friend class TStatusPanels;
  bool ShowsSizeGrip() const;
  void UpdateSizeGrip();
  void ApplySystemFont();
  void SetBackgroundColor();
  // SB_SETPARTS for the panels; every panel's text becomes pending.
  void LayOutPanels();
  void PanelChanged(TStatusPanel& panel);
  void HandOverPendingTexts();
  void WMSize(TMessage& msg);
  void WMWindowPosChanging(TMessage& msg);
  void CNDrawItem(TMessage& msg);
  // The system colours changed: the platform window hears of it, and gets
  // its background colour anew.
  void CMSysColorChange(TMessage& msg);
  // The platform window draws classic, in the system colours, in high
  // contrast, and with the desktop theme otherwise.
  void FollowContrast();

  TStatusPanels panels_{*this};
  bool sizeGrip_ = true;
  bool simplePanel_ = false;
  std::string simpleText_;
  bool useSystemFont_ = true;
  bool applyingSystemFont_ = false;
  // The platform's own attempts to move or size the window are refused
  // (while it is created and while it handles WM_SIZE).
  bool keepBounds_ = false;
  TCanvas canvas_;
};
