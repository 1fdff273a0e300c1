// Extra commands in a form's system menu.
#pragma once

#include <windows.h>

#include <string>

class TCustomForm;

// Appends `caption` (after a separator) to the form's system menu; choosing
// it sends the form WM_SYSCOMMAND with `command` as wParam. The form's
// window must exist.
void AppendSystemMenuCommand(TCustomForm& form, UINT command, const std::string& caption);
