// Number-text conversions.
#include "calc/NumberText.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>

#include "calc/Exceptions.h"
#include "calc/LocaleFormats.h"

static_assert(LDBL_MANT_DIG == 64, "long double must be the x87 extended type (64-bit mantissa)");

namespace {

// ---------------------------------------------------------------------------
// TextToInteger

constexpr uint32_t kDecimalLimit = 214748364;    // value before a decimal digit
constexpr uint32_t kHexLimit = 0x0FFFFFFF;       // value before a hex digit
constexpr uint32_t kMaxPositive = 2147483647;
constexpr uint32_t kMaxNegative = 2147483648u;   // magnitude of -2147483648

[[noreturn]] void RaiseInvalidInteger(std::string_view text) {
  throw EConvertError(FormatText(kSInvalidInteger, {FormatArg(text)}));
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// ---------------------------------------------------------------------------
// Fixed-point conversion

// The decimal form of a value (DecimalForm).
struct DecimalForm {
  static constexpr int kInfinite = 32767;
  static constexpr int kNotANumber = -32768;
  static constexpr int kPrecision = 18;  // significant digits
  int exponent = 0;   // |v| = 0.d1 d2 ... x 10^exponent
  bool negative = false;
  int count = 0;      // number of digits, no trailing zeros
  char digits[kPrecision + 1] = {};
};

// Powers of ten that a 64-bit mantissa holds exactly: 10^27 = 2^27 * 5^27 and
// 5^27 < 2^64.
constexpr int kMaxExactPower = 27;
constexpr long double kPowersOfTen[kMaxExactPower + 1] = {
    1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,
    1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L,
    1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L};
constexpr int64_t kTenTo17 = 100000000000000000LL;
constexpr int64_t kTenTo18 = 1000000000000000000LL;

// a * 10^k in extended arithmetic: exact powers, chained for large |k|.
long double ScaleByPowerOfTen(long double a, int k) {
  while (k > kMaxExactPower) {
    a *= kPowersOfTen[kMaxExactPower];
    k -= kMaxExactPower;
  }
  while (k < -kMaxExactPower) {
    a /= kPowersOfTen[kMaxExactPower];
    k += kMaxExactPower;
  }
  return k >= 0 ? a * kPowersOfTen[k] : a / kPowersOfTen[-k];
}

// Step 1 and 2 of the fixed-point conversion: v rounded to 18 significant
// digits (ties to even), then cut at the `decimals`-th decimal (ties away
// from zero), trailing zeros removed.
void ToDecimalForm(long double v, int decimals, DecimalForm& d) {
  if (std::isnan(v)) {
    d.exponent = DecimalForm::kNotANumber;
    return;
  }
  if (std::isinf(v)) {
    d.exponent = DecimalForm::kInfinite;
    d.negative = std::signbit(v);
    return;
  }
  const long double a = std::fabs(v);
  if (a < LDBL_MIN) return;  // zero and subnormal values: no digits

  // E is estimate or estimate + 1, since log10(a) lies in
  // [e2 * log10(2), (e2 + 1) * log10(2)).
  constexpr double kLog10Of2 = 0.30102999566398119521;
  const int e2 = std::ilogb(a);
  int exponent = static_cast<int>(std::floor(e2 * kLog10Of2)) + 1;
  // Even after an 18-digit carry (E + 2 at most) nothing would be kept.
  if (exponent + decimals + 2 < 0) return;

  long double scaled = ScaleByPowerOfTen(a, DecimalForm::kPrecision - exponent);
  if (scaled >= static_cast<long double>(kTenTo18)) {
    ++exponent;
    scaled = ScaleByPowerOfTen(a, DecimalForm::kPrecision - exponent);
  } else if (scaled < static_cast<long double>(kTenTo17)) {
    // Only chained (inexact) scaling of extreme values can land here.
    --exponent;
    scaled = ScaleByPowerOfTen(a, DecimalForm::kPrecision - exponent);
  }
  int64_t rounded = std::llrintl(scaled);  // nearest, ties to even
  if (rounded >= kTenTo18) {
    rounded = (rounded + 5) / 10;
    ++exponent;
  }

  // The 18 digits, as two halves of 9 in 32-bit arithmetic.
  char all[DecimalForm::kPrecision];
  constexpr uint64_t kTenTo9 = 1000000000;
  uint32_t high = static_cast<uint32_t>(static_cast<uint64_t>(rounded) / kTenTo9);
  uint32_t low = static_cast<uint32_t>(static_cast<uint64_t>(rounded) % kTenTo9);
  for (int i = 8; i >= 0; --i) {
    all[i] = static_cast<char>('0' + high % 10);
    all[i + 9] = static_cast<char>('0' + low % 10);
    high /= 10;
    low /= 10;
  }

  // Cut at the D-th decimal.
  const int keep = exponent + decimals;
  if (keep < 0) return;
  int count = std::min(keep, DecimalForm::kPrecision);
  if (keep < DecimalForm::kPrecision && all[keep] >= '5') {
    int i = keep - 1;
    while (i >= 0 && all[i] == '9') --i;
    if (i < 0) {
      all[0] = '1';
      count = 1;
      ++exponent;
    } else {
      ++all[i];
      count = i + 1;
    }
  }
  while (count > 0 && all[count - 1] == '0') --count;
  if (count == 0) return;  // nothing left: zero, never negative
  d.exponent = exponent;
  d.negative = std::signbit(v);
  d.count = count;
  std::memcpy(d.digits, all, count);
}

// ---------------------------------------------------------------------------
// FormatText

// Reads one directive of a FormatText pattern, from its "%" on.
class DirectiveParser {
 public:
  DirectiveParser(std::string_view pattern, std::span<const FormatArg> args, size_t start)
      : pattern_(pattern), args_(args), start_(start), pos_(start + 1) {}

  char Peek() const { return pos_ < pattern_.size() ? pattern_[pos_] : '\0'; }
  bool AtEnd() const { return pos_ >= pattern_.size(); }
  void Skip() { ++pos_; }
  size_t pos() const { return pos_; }

  // A decimal number or "*"; false (nothing consumed) when neither is there.
  bool Number(int& value, size_t& argIndex) {
    if (Peek() == '*') {
      Skip();
      const FormatArg& arg = Argument(argIndex);
      if (arg.kind() != FormatArg::Kind::kInteger) Fail(kSInvalidFormat);
      value = arg.integer();
      return true;
    }
    if (Peek() < '0' || Peek() > '9') return false;
    constexpr int kLimit = 99999999;  // larger widths are clamped
    int v = 0;
    while (Peek() >= '0' && Peek() <= '9') {
      v = std::min(kLimit, v * 10 + (Peek() - '0'));
      Skip();
    }
    value = v;
    return true;
  }

  // The argument at argIndex, which then moves on.
  const FormatArg& Argument(size_t& argIndex) {
    if (argIndex >= args_.size()) Fail(kSArgumentMissing);
    return args_[argIndex++];
  }

  // Raises EConvertError with `message`, %s being the directive read so far.
  [[noreturn]] void Fail(const char* message) const {
    constexpr size_t kMaxShown = 31;
    const size_t end = std::min(pos_, pattern_.size());
    const std::string_view directive = pattern_.substr(start_, std::min(end - start_, kMaxShown));
    throw EConvertError(FormatText(message, {FormatArg(directive)}));
  }

 private:
  std::string_view pattern_;
  std::span<const FormatArg> args_;
  size_t start_;
  size_t pos_;
};

void AppendUnsigned(std::string& out, uint32_t value, int minDigits, unsigned base) {
  char buffer[32];
  int n = 0;
  do {
    buffer[n++] = "0123456789ABCDEF"[value % base];
    value /= base;
  } while (value != 0);
  if (minDigits > n) out.append(static_cast<size_t>(minDigits - n), '0');
  while (n > 0) out.push_back(buffer[--n]);
}

}  // namespace

// ---------------------------------------------------------------------------

int32_t TextToInteger(std::string_view text) {
  size_t i = 0;
  const size_t len = text.size();
  while (i < len && text[i] == ' ') ++i;
  bool negative = false;
  if (i < len && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  bool hex = false;
  if (i < len && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < len && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= len) RaiseInvalidInteger(text);

  uint32_t value = 0;
  if (hex) {
    for (; i < len; ++i) {
      const int digit = HexDigitValue(text[i]);
      if (digit < 0 || value > kHexLimit) RaiseInvalidInteger(text);
      value = value * 16 + static_cast<uint32_t>(digit);
    }
    // The 32 bits as a signed value; a minus sign negates in 32 bits.
    if (negative) value = 0u - value;
    return static_cast<int32_t>(value);
  }
  for (; i < len; ++i) {
    const char c = text[i];
    if (c < '0' || c > '9' || value > kDecimalLimit) RaiseInvalidInteger(text);
    value = value * 10 + static_cast<uint32_t>(c - '0');
  }
  if (value > (negative ? kMaxNegative : kMaxPositive)) RaiseInvalidInteger(text);
  return static_cast<int32_t>(negative ? 0u - value : value);
}

std::string IntegerToText(int32_t value) {
  char buffer[12];
  char* end = buffer + sizeof buffer;
  char* p = end;
  uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  do {
    *--p = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) *--p = '-';
  return std::string(p, end);
}

void AppendFixed(std::string& out, long double value, int decimals, char separator) {
  DecimalForm d;
  ToDecimalForm(value, decimals, d);
  if (d.exponent == DecimalForm::kNotANumber) {
    out += "NAN";
    return;
  }
  if (d.exponent == DecimalForm::kInfinite) {
    out += d.negative ? "-INF" : "INF";
    return;
  }
  // Sign, integer digits, separator, decimals: written into a local buffer
  // when they fit (always for the recalculation's errors), else one by one.
  const size_t length = (d.negative ? 1 : 0) + static_cast<size_t>(d.exponent > 0 ? d.exponent : 1) +
                        (decimals > 0 ? 1 + static_cast<size_t>(decimals) : 0);
  char local[64];
  std::string large;
  char* p = local;
  if (length > sizeof local) {
    large.resize(length);
    p = large.data();
  }
  char* const begin = p;
  if (d.negative) *p++ = '-';
  int next = 0;  // next digit of d.digits to write
  if (d.exponent <= 0) {
    *p++ = '0';
  } else {
    for (; next < d.exponent; ++next) *p++ = next < d.count ? d.digits[next] : '0';
  }
  if (decimals > 0) {
    if (separator != '\0') *p++ = separator;
    int written = 0;
    if (d.exponent < 0) {
      const int zeros = std::min(-d.exponent, decimals);
      std::memset(p, '0', static_cast<size_t>(zeros));
      p += zeros;
      written = zeros;
    }
    for (; written < decimals; ++written, ++next) *p++ = next < d.count ? d.digits[next] : '0';
  }
  out.append(begin, static_cast<size_t>(p - begin));
}

std::string FormatText(std::string_view pattern, std::span<const FormatArg> args) {
  std::string out;
  size_t argIndex = 0;
  size_t i = 0;
  const size_t len = pattern.size();
  while (i < len) {
    if (pattern[i] != '%') {
      size_t next = pattern.find('%', i);
      if (next == std::string_view::npos) next = len;
      out.append(pattern.data() + i, next - i);
      i = next;
      continue;
    }
    if (i + 1 < len && pattern[i + 1] == '%') {
      out.push_back('%');
      i += 2;
      continue;
    }

    DirectiveParser p(pattern, args, i);
    int number = 0;
    bool haveNumber = p.Number(number, argIndex);
    if (haveNumber && p.Peek() == ':') {
      p.Skip();
      if (number < 0) p.Fail(kSArgumentMissing);
      argIndex = static_cast<size_t>(number);
      haveNumber = false;
    }
    bool leftJustify = false;
    if (!haveNumber && p.Peek() == '-') {
      leftJustify = true;
      p.Skip();
    }
    int width = 0;
    if (haveNumber) {
      width = number;
    } else {
      p.Number(width, argIndex);
    }
    int precision = -1;  // none
    if (p.Peek() == '.') {
      p.Skip();
      precision = 0;
      p.Number(precision, argIndex);
    }
    if (p.AtEnd()) p.Fail(kSInvalidFormat);
    const char type = static_cast<char>(p.Peek() & ~0x20);  // upper case
    p.Skip();
    if (type != 'S' && type != 'F' && type != 'D' && type != 'U' && type != 'X') {
      p.Fail(kSInvalidFormat);
    }
    const FormatArg& arg = p.Argument(argIndex);

    const size_t begin = out.size();
    switch (type) {
      case 'S': {
        if (arg.kind() != FormatArg::Kind::kString) p.Fail(kSInvalidFormat);
        std::string_view s = arg.string();
        if (precision >= 0 && static_cast<size_t>(precision) < s.size()) s = s.substr(0, precision);
        out.append(s.data(), s.size());
        break;
      }
      case 'F': {
        if (arg.kind() != FormatArg::Kind::kExtended) p.Fail(kSInvalidFormat);
        constexpr int kDefaultDecimals = 2;
        constexpr int kMaxDecimals = 18;
        const int decimals = precision >= 0 && precision <= kMaxDecimals ? precision : kDefaultDecimals;
        AppendFixed(out, arg.extended(), decimals, LocaleFormats.DecimalSeparator);
        break;
      }
      case 'D': {
        if (arg.kind() != FormatArg::Kind::kInteger) p.Fail(kSInvalidFormat);
        const int32_t v = arg.integer();
        if (v < 0) out.push_back('-');
        const uint32_t magnitude = v < 0 ? 0u - static_cast<uint32_t>(v) : static_cast<uint32_t>(v);
        AppendUnsigned(out, magnitude, precision, 10);
        break;
      }
      case 'U':
      case 'X':
        if (arg.kind() != FormatArg::Kind::kInteger) p.Fail(kSInvalidFormat);
        AppendUnsigned(out, static_cast<uint32_t>(arg.integer()), precision, type == 'U' ? 10 : 16);
        break;
    }
    const size_t converted = out.size() - begin;
    if (width > 0 && static_cast<size_t>(width) > converted) {
      const size_t pad = static_cast<size_t>(width) - converted;
      if (leftJustify) {
        out.append(pad, ' ');
      } else {
        out.insert(begin, pad, ' ');
      }
    }
    i = p.pos();
  }
  return out;
}
