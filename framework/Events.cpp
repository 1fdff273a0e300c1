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
  TShiftState s;
  s.Set(ssShift, GetKeyState(VK_SHIFT) < 0);
  s.Set(ssCtrl, GetKeyState(VK_CONTROL) < 0);
  s.Set(ssAlt, GetKeyState(VK_MENU) < 0);
  return s;
}
