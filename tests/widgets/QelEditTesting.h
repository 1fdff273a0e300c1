// Driving entry fields with real window messages: typed characters, keys
// with Shift and Ctrl held, the clipboard, the mouse and the context menu.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/TestForm.h"
#include "widgets/QelApplication.h"
#include "widgets/QelMaskEdit.h"

// The keyboard state is shared by the whole application; every test starts
// in insert mode with no modifier held, and leaves it so.
class TSharedKeyboardReset {
 public:
  TSharedKeyboardReset() { QelApplication().Keyboard() = {}; }
  ~TSharedKeyboardReset() { QelApplication().Keyboard() = {}; }
};

// The desktop-wide caret blink time, put back at the end of a test.
class TBlinkTimeRestore {
 public:
  TBlinkTimeRestore() : saved_(GetCaretBlinkTime()) {}
  ~TBlinkTimeRestore() { SetCaretBlinkTime(saved_); }

 private:
  UINT saved_;
};

inline void SetClipboardText(HWND owner, const std::string& text) {
  ASSERT_TRUE(OpenClipboard(owner));
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
  GlobalUnlock(memory);
  SetClipboardData(CF_TEXT, memory);
  CloseClipboard();
}

inline std::string GetClipboardText(HWND owner) {
  if (!OpenClipboard(owner)) return "<clipboard busy>";
  std::string text = "<no text>";
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    text = static_cast<const char*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

inline void ClearClipboard(HWND owner) {
  if (!OpenClipboard(owner)) return;
  EmptyClipboard();
  CloseClipboard();
}

// An integer field as the window configures it, on a shown test form, with
// the change events it raised.
class TIntegerField {
 public:
  explicit TIntegerField(TTestForm& form, const std::string& text, int left = 8)
      : edit(form.Add<TQelMaskEdit>(left, 8, 121, 21)) {
    edit->SetMaxLength(8);
    edit->SetAlignment(taCenter);
    edit->SetDecimals(8);
    edit->SetMaskType(meInteger);
    edit->SetText(text);
    edit->Caret().SetBlinkRate(530);
    edit->OnTextChangedAt = [this](TObject*, int at) {
      at_.push_back(at);
      order_.push_back("TextChangedAt");
      if (failWhen && failWhen(edit->Text())) throw std::runtime_error("handler failed");
    };
    edit->OnChange = [this](TObject*) { order_.push_back("Change"); };
    PumpMessages();
  }

  HWND Window() { return edit->Handle(); }
  void Focus() {
    edit->SetFocus();
    PumpMessages();
  }

  // The At values reported since the last call.
  std::vector<int> TakeEvents() {
    std::vector<int> result;
    result.swap(at_);
    order_.clear();
    return result;
  }
  const std::vector<std::string>& Order() const { return order_; }

  void Type(const std::string& characters) {
    for (char c : characters)
      SendMessageA(Window(), WM_CHAR, static_cast<unsigned char>(c), 1);
  }
  // A key pressed and released, with Shift and Ctrl held around it as the
  // platform reports them (keyboard state and the modifier's own messages).
  void Key(WORD key, bool shift = false, bool ctrl = false) {
    BYTE state[256] = {};
    if (shift) state[VK_SHIFT] = state[VK_LSHIFT] = 0x80;
    if (ctrl) state[VK_CONTROL] = state[VK_LCONTROL] = 0x80;
    SetKeyboardState(state);
    if (shift) SendMessageA(Window(), WM_KEYDOWN, VK_SHIFT, 1);
    if (ctrl) SendMessageA(Window(), WM_KEYDOWN, VK_CONTROL, 1);
    SendMessageA(Window(), WM_KEYDOWN, key, 1);
    SendMessageA(Window(), WM_KEYUP, key, 0xC0000001);
    BYTE released[256] = {};
    SetKeyboardState(released);
    if (shift) SendMessageA(Window(), WM_KEYUP, VK_SHIFT, 0xC0000001);
    if (ctrl) SendMessageA(Window(), WM_KEYUP, VK_CONTROL, 0xC0000001);
  }
  void Paste(const std::string& text) {
    SetClipboardText(Window(), text);
    SendMessageA(Window(), WM_PASTE, 0, 0);
  }

  TQelMaskEdit* edit;
  // When set and true for the new text, the change handler throws.
  std::function<bool(const std::string&)> failWhen;

 private:
  std::vector<int> at_;
  std::vector<std::string> order_;
};

// "text" with the cursor and selection, for readable failures.
inline std::string EditState(TQelBaseEdit& edit) {
  return "\"" + edit.Text() + "\" cursor " + std::to_string(edit.CursorPos()) + " selection " +
         std::to_string(edit.SelStart()) + "+" + std::to_string(edit.SelLength());
}
inline std::string State(const std::string& text, int cursor, int selStart, int selLength) {
  return "\"" + text + "\" cursor " + std::to_string(cursor) + " selection " +
         std::to_string(selStart) + "+" + std::to_string(selLength);
}
