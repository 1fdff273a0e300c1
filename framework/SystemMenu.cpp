#include "framework/SystemMenu.h"

#include "framework/Form.h"
#include "framework/WideText.h"

void AppendSystemMenuCommand(TCustomForm& form, UINT command, const std::string& caption) {
  HMENU menu = GetSystemMenu(form.Handle(), FALSE);
  if (!menu) return;
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, command, WideText(caption).c_str());
}
