// The push button of the widget library: windowless, never focused, clicked
// with the left mouse button or its caption's accelerator.
//
// TQelBaseGraphicButton: the button's states and how the mouse moves it
// between them. A left press on the button makes it pressed and tracks the
// mouse (the button keeps the capture): moving out shows it up, moving back
// in pressed again; a release inside (the row just below the button counts,
// the column just right of it does not) makes it hot, repaints it raised at
// once and then clicks (OnClick). Releasing outside cancels. Other mouse
// buttons change nothing; a double click is a second press. Without a press
// the mouse makes the button hot, and a 100 ms check returns it to up once
// the cursor is gone even if the leave notification is lost. Every state
// change goes through SetButtonState, which repaints at once when the face
// changes (with the classic face, up and hot look alike).
// The button draws with the desktop theme when the library's rule holds
// (SupportsThemes: yes) and a theme handle for "BUTTON" on the parent's
// window can be opened.
//
// TQelCustomSpeedButton: the face (classic raised or sunken edge, or the
// theme's push button) and the caption centred in the content rectangle,
// moved one pixel right and down while pressed. EnterColorChange draws the
// caption in EnterColor while the button is hot.
//
// TQelSpeedButton: the button as forms use it.
#pragma once

#include <memory>

#include "framework/Timer.h"
#include "widgets/QelButtonLayout.h"
#include "widgets/QelControl.h"
#include "widgets/QelThemeHandle.h"

enum class TQelButtonState {
  Up,
  Disabled,
  Hot,              // the mouse is over it
  Latched,          // held down as a member of a group
  Pressed,          // held down by the mouse
  MenuOpen,         // its drop-down menu is showing
  DisabledLatched,
};

class TQelBaseGraphicButton : public TQelBaseControl {
 public:
  static constexpr UINT kHotCheckMs = 100;

  explicit TQelBaseGraphicButton(TComponent* owner);
  ~TQelBaseGraphicButton() override;

  TQelButtonState ButtonState() const { return state_; }
  // The only way the state changes. Without `force` an unchanged state does
  // nothing.
  void SetButtonState(TQelButtonState state, bool force = false);

  // Runs OnClick.
  void Click() override;

  // A push button whose default action ("Drücken") clicks it, as its
  // accelerator does.
  void DescribeAccessible(TAccessibleInfo& info) override;
  bool DoAccessibleDefaultAction() override;

 protected:
  bool SupportsThemes() const override { return true; }
  // The open "BUTTON" theme when the button draws themed now, else null.
  HTHEME ThemeData();
  // True when up and hot need different faces.
  virtual bool HotLooksDifferent() { return ThemeData() != nullptr; }
  // The state shows the button held down.
  static bool ShowsDown(TQelButtonState state);

  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void EnabledChanged() override;
  void ParentChanged() override;
  void ThemeChanged() override;
  void CancelMode() override;
  bool DialogChar(char ch) override;

 private:
  // The button can be clicked from the keyboard or a reader now.
  bool Clickable() const;
  void OpenTheme();
  void HotCheck();

  TQelButtonState state_ = TQelButtonState::Up;
  TQelButtonState previous_ = TQelButtonState::Up;  // restored when the mouse leaves a hot button
  bool tracking_ = false;  // between a left press on the button and its release
  std::unique_ptr<TTimer> hotCheck_;  // exists while the state is hot
  TQelThemeHandle theme_;
  // False once the button is destroyed: OnClick may free it.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

class TQelCustomSpeedButton : public TQelBaseGraphicButton {
 public:
  static constexpr int kDefaultWidth = 23;
  static constexpr int kDefaultHeight = 22;

  explicit TQelCustomSpeedButton(TComponent* owner);
  ~TQelCustomSpeedButton() override;

  bool UseCaption() const { return useCaption_; }
  void SetUseCaption(bool value);
  bool MultiLine() const { return multiLine_; }
  void SetMultiLine(bool value);
  TQelButtonLayout& ButtonLayout() { return layout_; }
  const TQelButtonLayout& ButtonLayout() const { return layout_; }
  void SetButtonLayout(const TQelButtonLayout& value) { layout_.Assign(value); }
  TColor EnterColor() const { return enterColor_; }
  void SetEnterColor(TColor value);
  bool EnterColorChange() const { return enterColorChange_; }
  void SetEnterColorChange(bool value);

 protected:
  void Paint() override;
  bool HotLooksDifferent() override;

 private:
  void PaintFace(const TRect& client);
  void PaintCaption(const TRect& content);

  bool useCaption_ = true;
  bool multiLine_ = false;
  TQelButtonLayout layout_;
  TColor enterColor_ = clCaptionText;
  bool enterColorChange_ = false;
};

class TQelSpeedButton : public TQelCustomSpeedButton {
 public:
  using TQelCustomSpeedButton::TQelCustomSpeedButton;
};
