// Reading a window the way a screen reader does (Microsoft Active
// Accessibility): the window tests read the program in their own process,
// the end-to-end test's reader (tests/e2e/msaa_reader.cpp) from another. An
// element is one line of UTF-8, "role|name|value|description|action|states"
// with the role's name (TEXT, CELL, ...) and the states "focused" and
// "invisible" where they hold; line breaks and "|" in texts become spaces.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <string>
#include <vector>

std::string Utf8(const std::wstring& text);
std::string ElementLine(IAccessible& object, long child = CHILDID_SELF);
// The client object of the window, nullptr when it has none.
IAccessible* ClientObject(HWND window);
// The simple children's ids as AccessibleChildren lists them (full objects
// among the children are left out).
std::vector<long> SimpleChildren(IAccessible& object);
// The clipboard's Unicode text, with `ansiSame` telling whether its code
// page 1252 text holds the same characters.
std::string ClipboardText(bool& ansiSame);
