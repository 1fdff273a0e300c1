// Closes the message boxes that the code under test opens on this thread:
// a thread timer fires inside the box's modal loop, finds every "#32770"
// window of the thread, records its caption, text, icon and owner, and
// presses OK. Without a closer a box would block the test forever. A menu
// loop (system or context menu) is ended the same way, choosing nothing,
// unless OnMenu is set: it then runs instead, with the open menu.
// Caption and text are read as UTF-16, as the box shows them, and kept as
// program texts (code page 1252): a text that the platform read in another
// code page than the program's does not compare equal.
#pragma once

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

struct TSeenBox {
  std::string caption;
  std::string text;
  bool hasIcon = false;
  HWND owner = nullptr;
};

class TMessageBoxCloser {
 public:
  TMessageBoxCloser();
  TMessageBoxCloser(const TMessageBoxCloser&) = delete;
  TMessageBoxCloser& operator=(const TMessageBoxCloser&) = delete;
  ~TMessageBoxCloser();

  const std::vector<TSeenBox>& Boxes() const { return boxes_; }
  int MenusEnded() const { return menusEnded_; }
  // Runs for each box while it is open, before it is closed (to check what
  // the program looks like meanwhile).
  std::function<void(HWND box)> OnBox;
  // Runs at every tick while a menu is open, with its window (which answers
  // MN_GETHMENU); it may choose an item with posted keys.
  std::function<void(HWND menu)> OnMenu;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  static BOOL CALLBACK VisitWindow(HWND window, LPARAM self);
  void Handle(HWND box);

  UINT_PTR timer_;
  std::vector<TSeenBox> boxes_;
  std::set<HWND> closing_;
  int menusEnded_ = 0;
};
