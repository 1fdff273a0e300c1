#include "widgets/QelCaret.h"

TQelCaret::TQelCaret()
    : blinkRate_(static_cast<WORD>(GetCaretBlinkTime())), systemBlinkRate_(blinkRate_) {}

TQelCaret::~TQelCaret() { Destroy(); }

void TQelCaret::SetBlinkRate(WORD milliseconds) {
  if (milliseconds == blinkRate_) return;
  blinkRate_ = milliseconds;
  if (showing_) SetCaretBlinkTime(blinkRate_);
}

int TQelCaret::ShapeWidth() const {
  switch (style_) {
    case csDefault: return 1;
    case csBitmap: {
      BITMAP info{};
      if (bitmap_ && GetObjectA(bitmap_, sizeof info, &info)) return info.bmWidth;
      return 1;
    }
    default: return width_;
  }
}

void TQelCaret::Create(HWND window) {
  Destroy();
  switch (style_) {
    case csDefault: CreateCaret(window, nullptr, 1, fontHeight_); break;
    case csBlock: case csUnderBlock: CreateCaret(window, nullptr, width_, height_); break;
    case csUnder: case csOver: CreateCaret(window, nullptr, width_, 1); break;
    case csBitmap: CreateCaret(window, bitmap_, 0, 0); break;
  }
  window_ = window;
  SetCaretBlinkTime(blinkRate_);
}

void TQelCaret::Show() {
  if (!window_) return;
  SetCaretBlinkTime(blinkRate_);
  ShowCaret(window_);
  showing_ = true;
}

void TQelCaret::Hide() {
  if (!window_ || !showing_) return;
  HideCaret(window_);
  showing_ = false;
  SetCaretBlinkTime(systemBlinkRate_);
}

void TQelCaret::Destroy() {
  if (!window_) return;
  SetCaretBlinkTime(systemBlinkRate_);
  DestroyCaret();
  window_ = nullptr;
  showing_ = false;
}

void TQelCaret::SetPos(int x, int y) {
  if (window_) SetCaretPos(x, y);
}
