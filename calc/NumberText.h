// Number-text conversions: TextToInteger, IntegerToText and
// FormatText. Texts are byte strings in code page 1252. The conversions are
// pure functions of their arguments and of LocaleFormats (LocaleFormats.h).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

// "'%s' ist kein gültiger Integerwert" (code page 1252).
inline constexpr const char kSInvalidInteger[] = "'%s' ist kein g\xFCltiger Integerwert";
// "Format '%s' ungültig oder nicht kompatibel mit Argument".
inline constexpr const char kSInvalidFormat[] =
    "Format '%s' ung\xFCltig oder nicht kompatibel mit Argument";
// "Kein Argument für Format '%s'".
inline constexpr const char kSArgumentMissing[] = "Kein Argument f\xFCr Format '%s'";

// An entry field's text to a signed 32-bit integer: leading blanks, one sign,
// an optional hexadecimal prefix ("$", "x", "X", "0x", "0X"), then digits and
// nothing else. Raises EConvertError with kSInvalidInteger otherwise.
int32_t TextToInteger(std::string_view text);

// The decimal text of `value`: "-" for negatives, no grouping.
std::string IntegerToText(int32_t value);

// One argument of FormatText: a string, a 32-bit integer or an extended
// (64-bit mantissa) floating-point value. Strings are referenced, not copied:
// the argument must not outlive the text it was made from.
class FormatArg {
 public:
  enum class Kind : uint8_t { kString, kInteger, kExtended };

  FormatArg(std::string_view s) : kind_(Kind::kString), string_(s) {}
  FormatArg(const char* s) : kind_(Kind::kString), string_(s) {}
  FormatArg(const std::string& s) : kind_(Kind::kString), string_(s) {}
  FormatArg(int32_t i) : kind_(Kind::kInteger), integer_(i) {}
  FormatArg(long double e) : kind_(Kind::kExtended), extended_(e) {}
  FormatArg(double e) : kind_(Kind::kExtended), extended_(e) {}

  Kind kind() const { return kind_; }
  std::string_view string() const { return string_; }
  int32_t integer() const { return integer_; }
  long double extended() const { return extended_; }

 private:
  Kind kind_;
  std::string_view string_;
  int32_t integer_ = 0;
  long double extended_ = 0;
};

// A pattern with arguments to text. Directives:
//   "%" [index ":"] ["-"] [width] ["." precision] type
// index, width and precision are decimal numbers or "*" (the next integer
// argument); arguments are consumed in order, an index (counted from 0)
// continues the order from there. Types (upper or lower case):
//   "%"  a "%" (only as "%%"),
//   "s"  the string argument, at most `precision` characters,
//   "f"  the extended argument in fixed-point notation with `precision`
//        decimals when 0..18, otherwise 2, the decimal separator of
//        LocaleFormats, no thousands separator, "INF", "-INF", "NAN",
//   "d"  the integer argument in decimal, at least `precision` digits,
//   "u"  the integer argument as unsigned 32-bit decimal,
//   "x"  the integer argument in upper-case hexadecimal, at least `precision`
//        digits.
// A width pads on the left with blanks, on the right under "-". Raises
// EConvertError with kSInvalidFormat when the type does not fit the argument
// (or is no type at all), with kSArgumentMissing when the arguments are
// exhausted; its %s is the directive's text, at most 31 characters.
std::string FormatText(std::string_view pattern, std::span<const FormatArg> args);
inline std::string FormatText(std::string_view pattern, std::initializer_list<FormatArg> args) {
  return FormatText(pattern, std::span<const FormatArg>(args.begin(), args.size()));
}

// Appends the fixed-point text of `value` with `decimals` (0..18) decimals
// and the given decimal separator ('\0': none) to `out`: the "%f" conversion
// of FormatText without width.
void AppendFixed(std::string& out, long double value, int decimals, char separator);
