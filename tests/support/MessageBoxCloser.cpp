#include "support/MessageBoxCloser.h"

#include "framework/WideText.h"

namespace {
TMessageBoxCloser* activeCloser = nullptr;
constexpr UINT kTickMs = 20;
constexpr int kTextId = 0xFFFF;   // the box's static text
constexpr int kIconId = 1088;     // the box's icon
constexpr int kTextBufferSize = 4096;
}  // namespace

TMessageBoxCloser::TMessageBoxCloser() {
  activeCloser = this;
  timer_ = SetTimer(nullptr, 0, kTickMs, Tick);
}

TMessageBoxCloser::~TMessageBoxCloser() {
  KillTimer(nullptr, timer_);
  activeCloser = nullptr;
}

void CALLBACK TMessageBoxCloser::Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (!activeCloser) return;
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (GetGUIThreadInfo(GetCurrentThreadId(), &info) && (info.flags & GUI_INMENUMODE) != 0) {
    if (activeCloser->OnMenu) {
      activeCloser->OnMenu(FindWindowA("#32768", nullptr));
    } else {
      ++activeCloser->menusEnded_;
      EndMenu();
    }
  }
  EnumThreadWindows(GetCurrentThreadId(), VisitWindow, reinterpret_cast<LPARAM>(activeCloser));
}

BOOL CALLBACK TMessageBoxCloser::VisitWindow(HWND window, LPARAM self) {
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  if (lstrcmpA(className, "#32770") == 0 && IsWindowVisible(window))
    reinterpret_cast<TMessageBoxCloser*>(self)->Handle(window);
  return TRUE;
}

void TMessageBoxCloser::Handle(HWND box) {
  // A box stays in the list until its OK is processed; see it once.
  for (auto it = closing_.begin(); it != closing_.end();)
    it = IsWindow(*it) ? std::next(it) : closing_.erase(it);
  if (!closing_.insert(box).second) return;
  TSeenBox seen;
  wchar_t buffer[kTextBufferSize] = {};
  GetWindowTextW(box, buffer, kTextBufferSize);
  seen.caption = ProgramText(buffer);
  buffer[0] = 0;
  GetDlgItemTextW(box, kTextId, buffer, kTextBufferSize);
  seen.text = ProgramText(buffer);
  seen.hasIcon = GetDlgItem(box, kIconId) != nullptr;
  seen.owner = GetWindow(box, GW_OWNER);
  boxes_.push_back(seen);
  if (OnBox) OnBox(box);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
}
