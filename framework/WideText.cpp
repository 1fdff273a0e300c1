#include "framework/WideText.h"

#include <windows.h>

namespace {
// The code page of the program's texts, whatever the system's is.
constexpr UINT kProgramCodePage = 1252;
}  // namespace

std::wstring WideText(std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  std::wstring wide(static_cast<size_t>(size), L'\0');
  wide.resize(static_cast<size_t>(
      MultiByteToWideChar(kProgramCodePage, 0, text.data(), size, wide.data(), size)));
  return wide;
}

std::string ProgramText(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  std::string bytes(static_cast<size_t>(size), '\0');
  bytes.resize(static_cast<size_t>(WideCharToMultiByte(kProgramCodePage, 0, text.data(), size,
                                                       bytes.data(), size, "?", nullptr)));
  return bytes;
}
