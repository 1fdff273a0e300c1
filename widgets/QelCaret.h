// TQelCaret: the text cursor of an entry field, as the platform caret.
//
// The platform has one caret per thread and one caret blink time for the
// whole desktop. While a field shows its caret the desktop blinks at the
// field's BlinkRate; hiding or destroying the caret puts back the blink time
// the system had when the caret object was made.
#pragma once

#include <windows.h>

#include "framework/Object.h"

enum TQelCaretStyles { csDefault, csBlock, csUnder, csOver, csBitmap, csUnderBlock };

class TQelCaret : public TObject {
 public:
  TQelCaret();
  ~TQelCaret() override;

  // Milliseconds between blinks; starts as the system's blink time.
  WORD BlinkRate() const { return blinkRate_; }
  void SetBlinkRate(WORD milliseconds);
  // The blink time to restore, read from the system at construction.
  WORD SystemBlinkRate() const { return systemBlinkRate_; }

  TQelCaretStyles Style() const { return style_; }
  void SetStyle(TQelCaretStyles style) { style_ = style; }
  // Size of the csBlock, csUnderBlock (Width x Height), csUnder and csOver
  // (Width x 1) shapes.
  int Width() const { return width_; }
  void SetWidth(int width) { width_ = width; }
  int Height() const { return height_; }
  void SetHeight(int height) { height_ = height; }
  // The shape for csBitmap; the caller keeps the bitmap alive while the
  // caret exists.
  HBITMAP Bitmap() const { return bitmap_; }
  void SetBitmap(HBITMAP bitmap) { bitmap_ = bitmap; }
  // The height of csDefault, set by the field from its font.
  int FontHeight() const { return fontHeight_; }
  void SetFontHeight(int height) { fontHeight_ = height; }

  // Creates the platform caret on `window` in the current shape and sets
  // the blink time to BlinkRate. The caret starts hidden.
  void Create(HWND window);
  // Sets the blink time to BlinkRate and shows the caret.
  void Show();
  // Hides the caret and restores the system's blink time.
  void Hide();
  // Restores the system's blink time and destroys the caret.
  void Destroy();
  void SetPos(int x, int y);

  bool Created() const { return window_ != nullptr; }
  bool Showing() const { return showing_; }
  // The caret's width in pixels for the current style.
  int ShapeWidth() const;

 private:
  WORD blinkRate_;
  WORD systemBlinkRate_;
  TQelCaretStyles style_ = csDefault;
  int width_ = 2;
  int height_ = 10;
  HBITMAP bitmap_ = nullptr;
  int fontHeight_ = 0;
  HWND window_ = nullptr;  // the window the caret was created on; nullptr: none
  bool showing_ = false;
};
