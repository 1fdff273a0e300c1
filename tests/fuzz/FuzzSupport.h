// Helpers shared by the fuzz targets: reporting a broken expectation, and an
// independent reading of the integer syntax that TextToInteger accepts.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <typeinfo>

#include "calc/Exceptions.h"

// A byte string as a C literal, so that blanks, NULs and code page 1252
// letters are visible in a report.
inline std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && c != '"' && c != '\\') {
      out += c;
    } else {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", byte);
      out += escape;
    }
  }
  return out + "\"";
}

// Aborts with the parts of the message when `ok` is false; libFuzzer then
// keeps the input as a crash artifact.
template <typename... Parts>
void Expect(bool ok, const Parts&... parts) {
  if (ok) return;
  std::ostringstream message;
  (message << ... << parts);
  std::fprintf(stderr, "FAULT: %s\n", message.str().c_str());
  std::abort();
}

// For a catch (...) block: names the error that should not have escaped, and
// aborts.
[[noreturn]] inline void EscapedError(std::string_view input) {
  try {
    throw;
  } catch (const Exception& e) {
    Expect(false, e.ClassName(), " \"", e.Message(), "\" escaped for ", input);
  } catch (const std::exception& e) {
    Expect(false, typeid(e).name(), " \"", e.what(), "\" escaped for ", input);
  } catch (...) {
    Expect(false, "an unknown error escaped for ", input);
  }
  std::abort();
}

// The message TextToInteger's error carries for `text`.
inline std::string InvalidIntegerMessage(std::string_view text) {
  return "'" + std::string(text) + "' ist kein g\xFCltiger Integerwert";
}

// What TextToInteger gives for `text`, or nothing when it rejects the text.
// The syntax is
//   " "* ["+" | "-"] ( ("$" | "x" | "X" | "0x" | "0X") hexdigit+ | digit+ )
// and a value is taken whole, then held against its range: a decimal value
// must fit the signed 32-bit range (-2147483648 only with a minus sign), a
// hexadecimal value must fit 32 bits unsigned, whose bits are the result,
// negated modulo 2^32 under a minus sign. That is what the digit-by-digit
// limits come to: each compares the value read so far, and a text passes
// them all exactly when the value without its last digit passes.
inline std::optional<int32_t> ExpectedInteger(std::string_view text) {
  std::string_view rest = text.substr(std::min(text.find_first_not_of(' '), text.size()));
  const bool minus = rest.starts_with('-');
  if (minus || rest.starts_with('+')) rest.remove_prefix(1);
  unsigned radix = 10;
  for (const std::string_view prefix : {"0x", "0X", "$", "x", "X"}) {
    if (rest.starts_with(prefix)) {
      rest.remove_prefix(prefix.size());
      radix = 16;
      break;
    }
  }
  if (rest.empty()) return std::nullopt;

  constexpr std::string_view kDigits = "0123456789abcdef";
  constexpr uint64_t kBeyond32Bits = uint64_t{1} << 33;  // saturation: out of range either way
  uint64_t value = 0;
  for (const char c : rest) {
    const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    const size_t digit = kDigits.find(lower);
    if (digit >= radix) return std::nullopt;  // npos too
    value = std::min(value * radix + digit, kBeyond32Bits);
  }
  if (radix == 10) {
    if (value > (minus ? 2147483648u : 2147483647u)) return std::nullopt;
    return static_cast<int32_t>(minus ? -static_cast<int64_t>(value) : static_cast<int64_t>(value));
  }
  if (value > UINT32_MAX) return std::nullopt;
  const auto bits = static_cast<uint32_t>(value);
  return static_cast<int32_t>(minus ? 0u - bits : bits);
}
