// TApplication: the process's application object. It owns the main form,
// runs the message loop, reports every error that escapes a handler in a
// message box captioned with its title, and owns the hidden application
// window that carries the program's one taskbar button (title and icon) and
// owns the forms.
//
// The program block is Application->StartUp(), CreateMainForm(Form1),
// RunLoop(); TProgramSetup (below) prepares the process before it and
// frees the application object after it.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "calc/Exceptions.h"
#include "framework/ErrorReport.h"
#include "framework/Form.h"
#include "framework/FormHost.h"

class TApplication : public TComponent, public TFormHost {
 public:
  // Computes the title, loads the icon, makes the application window and
  // installs itself as the error reporter and the forms' host.
  TApplication();
  ~TApplication() override;

  // The title from an executable path: no directory, cut at the first ".",
  // every character after the first in lower case ("C:\Work\MYTOOL.EXE"
  // gives "Mytool").
  static std::string TitleFromPath(const std::string& path);

  const std::string& Title() const { return title_; }
  HWND Handle() const { return handle_; }
  HICON Icon() const { return icon_; }
  TCustomForm* MainForm() const { return mainForm_; }
  bool Terminated() const { return terminated_; }
  bool Running() const { return running_; }
  bool Active() const { return active_; }
  // The hint text of the control under the mouse (the idle step keeps it).
  const std::string& CurrentHint() const { return currentHint_; }

  // Runs the process's start-up hook (this program installs none).
  void StartUp();
  // Creates a form of class F owned by the application, storing it in
  // `reference` before its OnCreate runs; the first form becomes the main
  // form, with its window made at once (hidden). On failure `reference` is
  // cleared and the error goes on.
  template <class F>
  void CreateMainForm(F*& reference);
  // Shows the main form and handles messages until the quit message.
  void RunLoop();
  // Handles one message; false when none was waiting.
  bool ProcessOneMessage();
  // Tracks the control under the mouse, then sleeps until the next message.
  // The mouse is looked for only when it may be over another control: a
  // message through the loop came from another point or from the mouse, or
  // a control moved, appeared or vanished (each look costs round trips).
  void Idle();
  void RequestQuit();

  // The one entry of error reporting (see the .cpp for the steps).
  void ReportError(TObject* sender, std::exception_ptr error);
  // Shows an Exception's message with the "." rule in a stop box.
  void ShowError(const Exception& error);
  // The application's modal message box (owner, disabled windows, focus).
  int ShowMessageBox(const std::string& text, const std::string& caption, UINT flags);

  // The start-up show request: SW_SHOWMAXIMIZED starts maximized,
  // SW_SHOWMINNOACTIVE minimized; anything else normally.
  void ApplyShowRequest(int showCommand);
  void Minimize();
  void Restore();

  // Replaces the error box when set.
  std::function<void(TObject* sender, std::exception_ptr error)> OnError;
  bool ShowMainForm = true;
  // Reload LocaleFormats on a settings notification.
  bool UpdateFormatSettings = true;

  // TFormHost
  HWND FormOwnerWindow() const override { return handle_; }
  HICON FormIcon() const override { return icon_; }
  bool FormClosing(TCustomForm& form) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  void CreateHandle();
  void WndProc(TMessage& msg);
  void DefaultHandler(TMessage& msg);
  void SettingsChanged(TMessage& msg);
  void WMSysCommand(TMessage& msg);
  void WMClose(TMessage& msg);
  void WMActivateApp(TMessage& msg);
  void WMEndSession(TMessage& msg);
  // A character message taken in its Unicode form, as an ANSI peek gives it.
  static void ToAnsiCharacter(MSG& msg);
  bool IsPreProcessMessage(MSG& msg);
  void NoteMousePoint(const MSG& msg);
  bool IsKeyMsg(MSG& msg);

  std::string title_;
  HICON icon_ = nullptr;
  HWND handle_ = nullptr;
  UINT taskbarCreated_ = 0;
  TCustomForm* mainForm_ = nullptr;
  bool terminated_ = false;
  bool running_ = false;
  bool active_ = false;
  std::string currentHint_;
  // Where the idle step last looked for the mouse, and whether it must look
  // again (a pointer message or a message from another point came through).
  POINT mouseLookedAt_{};
  unsigned layoutLookedAt_ = 0;
  bool mouseLookDue_ = true;
  TErrorReporter previousReporter_;
  TFormHost* previousHost_ = nullptr;
};

// The application object, while one exists.
extern TApplication* Application;

// Prepares the process (control word, fault bridge, locale conventions)
// and creates the application object; frees it, with all its forms, at the
// end of the program.
class TProgramSetup {
 public:
  TProgramSetup();
  TProgramSetup(const TProgramSetup&) = delete;
  TProgramSetup& operator=(const TProgramSetup&) = delete;
  ~TProgramSetup();
};

template <class F>
void TApplication::CreateMainForm(F*& reference) {
  reference = nullptr;
  std::unique_ptr<F> form(new F(this));
  reference = form.get();
  try {
    form->AfterConstruction();
  } catch (...) {
    reference = nullptr;
    throw;
  }
  if (!mainForm_) {
    form->HandleNeeded();
    mainForm_ = form.get();
  }
  form.release();
}
