// A context menu of plain commands: shown at a screen point for the owner's
// window, it returns once the user chose an item (its index) or dismissed
// the menu (-1). Item texts are code page 1252.
#pragma once

#include <string>
#include <vector>

#include "framework/Geometry.h"

class TWinControl;

int ShowPopupMenu(TWinControl& owner, TPoint screen, const std::vector<std::string>& items);
