// The text clipboard.
//
// TClipboardScope holds the clipboard open for one scope. SetClipboardText
// replaces the clipboard's contents by a text, as Unicode (CF_UNICODETEXT)
// and as code page 1252 (CF_TEXT); when the clipboard is busy (another
// program holds it open) it stays as it was, and when it cannot be opened
// or refuses the text the error EClipboardException says so, for the error
// trap to report.
#pragma once

#include <windows.h>

#include <string>

class TClipboardScope {
 public:
  explicit TClipboardScope(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  TClipboardScope(const TClipboardScope&) = delete;
  TClipboardScope& operator=(const TClipboardScope&) = delete;
  ~TClipboardScope() {
    if (open_) CloseClipboard();
  }
  bool Open() const { return open_; }

 private:
  bool open_;
};

// `text` is code page 1252; `owner` is the window that owns the contents.
void SetClipboardText(HWND owner, const std::string& text);

// The errors' messages, code page 1252.
inline constexpr char kSClipboardBusy[] =
    "Die Zwischenablage wird gerade von einem anderen Programm benutzt; es wurde nichts kopiert";
inline constexpr char kSClipboardRefused[] = "Die Zwischenablage hat den Text nicht angenommen";
