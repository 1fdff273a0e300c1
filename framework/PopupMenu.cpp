#include "framework/PopupMenu.h"

#include "framework/Gdi.h"
#include "framework/WinControl.h"

int ShowPopupMenu(TWinControl& owner, TPoint screen, const std::vector<std::string>& items) {
  TPopupMenuHandle menu;
  // Command 0 is the dismissed menu, so item i is command i + 1.
  for (size_t i = 0; i < items.size(); ++i)
    AppendMenuA(menu.Get(), MF_STRING, i + 1, items[i].c_str());
  const UINT command =
      TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON,
                     screen.X, screen.Y, 0, owner.Handle(), nullptr);
  return static_cast<int>(command) - 1;
}
