// TCustomForm / TForm: a top-level window holding controls.
//
// Create forms with CreateForm<T>(owner): the constructor builds the
// declared layout while the form is in csLoading; CreateForm then scales the
// layout to the font's text height (when TextHeight is set), runs Loaded on
// every component and fires OnCreate (an error there is reported and
// construction goes on).
//
// The form tracks its active control (the control that has, or last had,
// the focus); when the form is activated it gives the focus back to it, or
// the first time to the first focusable tab stop. Tab and Shift+Tab move
// the focus through the tab stops (CM_DIALOGKEY from the message loop).
// Closing (WM_CLOSE, Close()) asks OnCloseQuery, fires OnClose, then lets the
// host end the program for the main form, or hides the form.
// High contrast (Contrast.h): on WM_SYSCOLORCHANGE, and on WM_SETTINGCHANGE
// when the high-contrast setting changed, the form tells its controls
// CM_SYSCOLORCHANGE and CM_THEMECHANGED and repaints whole.
// Shortcuts: every key press that comes through the message loop to a
// control of the form is offered to the form's IsShortCut (OnShortCut)
// first, with the shift state of the press; a key it takes goes no further.
#pragma once

#include <functional>
#include <memory>

#include "framework/WinControl.h"

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
// Border styles of controls (grid, ...): bsNone or bsSingle.
using TBorderStyle = TFormBorderStyle;

enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;

enum TPosition { poDesigned, poDefault, poScreenCenter };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caMinimize };

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
// Key is the virtual key; setting Handled uses the key up.
using TShortCutEvent = std::function<void(WORD Key, TShiftState Shift, bool& Handled)>;

class TCustomForm : public TWinControl {
 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle style);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons icons);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition position) { position_ = position; }
  // How the form shows: normal, minimized or maximized.
  TWindowState WindowState() const;
  void SetWindowState(TWindowState state);
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool value) { keyPreview_ = value; }
  // The text height the layout was made for (0: no scaling) and whether
  // CreateForm scales to the actual text height of the form's font.
  int TextHeight() const { return textHeight_; }
  void SetTextHeight(int value) { textHeight_ = value; }
  bool Scaled() const { return scaled_; }
  void SetScaled(bool value) { scaled_ = value; }
  // The height of a line of text in the form's font.
  int FontTextHeight();
  // For geometry set after the scaling, in the layout's pixels: the scaled
  // extent from `start` to `start + extent`. Edges scale as the controls'
  // do, so parts that adjoin in the layout still adjoin.
  int ScaledExtent(int start, int extent) const;

  TWinControl* ActiveControl() const { return activeControl_; }
  // Makes `control` the active control and focuses it when the form is active.
  void SetActiveControl(TWinControl* control);
  // Called by a control that got the focus.
  void SetFocusedControl(TWinControl* control);
  bool Active() const;

  void Close();
  // Asks OnCloseQuery; true when the form may close.
  bool CloseQuery();
  // Whether the key press is a shortcut of the form, which has then run it;
  // the base asks OnShortCut.
  virtual bool IsShortCut(WORD key, TShiftState shift);

  // The end of construction (CreateForm): scaling, Loaded, OnCreate.
  void AfterConstruction();

  void SetClientSize(int width, int height) override;
  TRect ClientRect() const override;
  void WndProc(TMessage& msg) override;

  TNotifyEvent OnCreate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TShortCutEvent OnShortCut;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void VisibleChanged() override;
  void ChangeScale(int m, int d, bool moveToo) override;
  void ControlDestroying(TWinControl* control) override;
  // Fires OnCreate inside the error trap.
  virtual void DoCreate();

 private:
  void WindowStyles(DWORD& style, DWORD& exStyle) const;
  TSize FrameSize() const;
  void FocusFirstControl();
  bool DialogCharToControls(TWinControl* parent, char ch);
  // Sends `msg` to every control below `parent`.
  void NotifyControls(TWinControl* parent, UINT msg);

  void WMClose(TMessage& msg);
  void WMActivate(TMessage& msg);
  void WMGetMinMaxInfo(TMessage& msg);
  void WMThemeChanged(TMessage& msg);
  void WMSysColorChange(TMessage& msg);
  void CMDialogKey(TMessage& msg);
  void CMDialogChar(TMessage& msg);

  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
  TPosition position_ = poDesigned;
  TWindowState windowState_ = wsNormal;
  bool keyPreview_ = false;
  int textHeight_ = 0;
  bool scaled_ = true;
  int scaleM_ = 1;  // every ChangeScale so far as one factor, scaleM_ / scaleD_
  int scaleD_ = 1;
  TWinControl* activeControl_ = nullptr;
};

class TForm : public TCustomForm {
 public:
  using TCustomForm::TCustomForm;
};

// Constructs a form of class F with `owner` and finishes its construction.
template <class F>
F* CreateForm(TComponent* owner) {
  std::unique_ptr<F> form(new F(owner));
  form->AfterConstruction();
  return form.release();
}

// The form a control lies on, or nullptr.
TCustomForm* GetParentForm(const TControl* control);
