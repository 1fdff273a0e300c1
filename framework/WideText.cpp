#include "framework/WideText.h"

#include <windows.h>

#include "calc/Cp1252.h"

namespace {
// The code page of the program's texts, whatever the system's is.
constexpr UINT kProgramCodePage = 1252;
}  // namespace

std::wstring WideText(std::string_view text) {
  // One table for every conversion of the program's texts (calc/Cp1252.h).
  const std::u16string wide = Cp1252ToUtf16(text);
  return std::wstring(wide.begin(), wide.end());
}

std::string ProgramText(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  std::string bytes(static_cast<size_t>(size), '\0');
  bytes.resize(static_cast<size_t>(WideCharToMultiByte(kProgramCodePage, 0, text.data(), size,
                                                       bytes.data(), size, "?", nullptr)));
  return bytes;
}
