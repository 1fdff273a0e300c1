// TQelKeyboardState: the keyboard state that every entry field of the
// application shares (held by TQelApplication). The Insert key toggles the
// insert mode for all fields at once; Shift, Ctrl and Alt are as the most
// recent key press or release in any entry field reported them.
#pragma once

struct TQelKeyboardState {
  bool insertMode = true;  // false: typing overwrites the character at the cursor
  bool shift = false;
  bool ctrl = false;
  bool alt = false;

  // The modifier flags of a key event.
  void Take(bool shiftDown, bool ctrlDown, bool altDown) {
    shift = shiftDown;
    ctrl = ctrlDown;
    alt = altDown;
  }
};
