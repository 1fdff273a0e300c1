// Code page 1252 to UTF-8, for writing the program's texts to a terminal or
// a file (baudix-table), and to UTF-16, for platform interfaces that take
// Unicode (screen readers, the clipboard).
#pragma once

#include <string>
#include <string_view>

// Every byte becomes its code page 1252 character; the five bytes that the
// code page leaves undefined (81, 8D, 8F, 90, 9D) become U+0081 and so on,
// as Windows maps them.
std::string Cp1252ToUtf8(std::string_view text);
// The same characters in UTF-16 (all in the Basic Multilingual Plane).
std::u16string Cp1252ToUtf16(std::string_view text);

// UTF-8 to code page 1252, for texts given on a command line: a character
// that the code page lacks, and a byte that is not valid UTF-8, becomes "?".
std::string Utf8ToCp1252(std::string_view text);
