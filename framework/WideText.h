// The program's texts on any code page.
//
// The program keeps its texts as code page 1252 bytes (the sources write
// "\xFC" for "ü"), which is also what its fonts with the Western character
// set draw. The platform's ...A calls read bytes in the system's code page
// instead, which on a Russian, Greek or Japanese Windows is another one
// ("gültiger" would show as "gьltiger" there). Every text the program hands
// the platform to keep or to show (message boxes, window texts, menu items,
// status bar and list items, the clipboard) therefore goes through the
// ...W calls, converted here; texts read back come through ProgramText.
#pragma once

#include <string>
#include <string_view>

// A program text (code page 1252) as UTF-16.
std::wstring WideText(std::string_view text);
// UTF-16 as a program text; a character that code page 1252 lacks becomes
// "?".
std::string ProgramText(std::wstring_view text);
