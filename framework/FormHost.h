// TFormHost: what forms need from the application without depending on it.
// The application shell installs itself as the host; without a host (in
// framework tests) forms have no owner window and no icon, and a closed form
// just hides.
#pragma once

#include <windows.h>

class TCustomForm;

class TFormHost {
 public:
  virtual ~TFormHost() = default;
  // The window that owns every form (the application window).
  virtual HWND FormOwnerWindow() const = 0;
  // The icon of forms without one of their own.
  virtual HICON FormIcon() const = 0;
  // `form` agreed to close. Returns true when the host takes the close over
  // (closing the main form ends the program), false to let the form hide.
  virtual bool FormClosing(TCustomForm& form) = 0;
};

TFormHost* FormHost();
// Installs `host` (nullptr: none) and returns the previous one.
TFormHost* SetFormHost(TFormHost* host);
