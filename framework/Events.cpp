#include "framework/Events.h"

TShiftState ShiftStateFromMouseFlags(WPARAM flags) {
  TShiftState s;
  s.Set(ssShift, flags & MK_SHIFT);
  s.Set(ssCtrl, flags & MK_CONTROL);
  s.Set(ssLeft, flags & MK_LBUTTON);
  s.Set(ssRight, flags & MK_RBUTTON);
  s.Set(ssMiddle, flags & MK_MBUTTON);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

TShiftState KeyboardShiftState() {
  // One reading of the whole keyboard: each single key's reading would be a
  // round trip to the window manager of its own.
  BYTE keys[256];
  if (!GetKeyboardState(keys)) return {};
  constexpr BYTE kDown = 0x80;
  TShiftState s;
  s.Set(ssShift, keys[VK_SHIFT] & kDown);
  s.Set(ssCtrl, keys[VK_CONTROL] & kDown);
  s.Set(ssAlt, keys[VK_MENU] & kDown);
  return s;
}
