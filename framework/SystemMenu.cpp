#include "framework/SystemMenu.h"

#include "framework/Form.h"

void AppendSystemMenuCommand(TCustomForm& form, UINT command, const std::string& caption) {
  HMENU menu = GetSystemMenu(form.Handle(), FALSE);
  if (!menu) return;
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, command, caption.c_str());
}
