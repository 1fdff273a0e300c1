// FormatText with an arbitrary pattern and up to four arguments of any kind:
// it returns a text or raises one of its two documented errors, nothing else,
// and never overruns memory (AddressSanitizer watches).
//
// Input: the decimal separator (1 byte); the argument kinds (1 byte, four
// 2-bit fields from the lowest: 0 string, 1 integer, 2 extended, 3 no more
// arguments); each argument's bytes (a string: its length byte and its
// characters; an integer: 4 bytes; an extended: 10 bytes); the rest is the
// pattern. Missing bytes read as zeros.
#include <algorithm>
#include <cfloat>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "FuzzSupport.h"
#include "calc/LocaleFormats.h"
#include "calc/NumberText.h"

static_assert(LDBL_MANT_DIG == 64, "the extended arguments are x87 80-bit values");

namespace {

constexpr int kMaxArguments = 4;
constexpr int kKindBits = 2;
enum ArgumentKind : unsigned { kStringArgument, kIntegerArgument, kExtendedArgument, kNoMoreArguments };
constexpr size_t kExtendedBytes = 10;

// Hands out the input's bytes in order; zeros past its end.
class InputReader {
 public:
  InputReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  void Bytes(void* out, size_t count) {
    auto* bytes = static_cast<uint8_t*>(out);
    for (size_t i = 0; i < count; ++i) bytes[i] = Byte();
  }
  std::string_view Text(size_t count) {
    count = std::min(count, size_ - pos_);
    const std::string_view text(reinterpret_cast<const char*>(data_ + pos_), count);
    pos_ += count;
    return text;
  }
  std::string_view Rest() { return Text(size_ - pos_); }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

// Any valid extended value, from its 80 bits: the explicit integer bit is
// set exactly when the exponent is not zero. The other patterns are formats
// the x87 no longer supports, which no computation produces.
long double Extended(InputReader& in) {
  uint8_t bits[kExtendedBytes];
  in.Bytes(bits, sizeof bits);
  constexpr uint8_t kIntegerBit = 0x80;  // bit 63 of the mantissa
  const bool exponentZero = bits[8] == 0 && (bits[9] & 0x7F) == 0;
  bits[7] = exponentZero ? bits[7] & ~kIntegerBit : bits[7] | kIntegerBit;
  long double value = 0;
  std::memcpy(&value, bits, sizeof bits);
  return value;
}

std::vector<FormatArg> Arguments(InputReader& in) {
  std::vector<FormatArg> args;
  const uint8_t kinds = in.Byte();
  for (int i = 0; i < kMaxArguments; ++i) {
    const unsigned kind = (kinds >> (i * kKindBits)) & ((1u << kKindBits) - 1);
    if (kind == kNoMoreArguments) break;
    if (kind == kStringArgument) {
      args.emplace_back(in.Text(in.Byte()));
    } else if (kind == kIntegerArgument) {
      int32_t value = 0;
      in.Bytes(&value, sizeof value);
      args.emplace_back(value);
    } else {
      args.emplace_back(Extended(in));
    }
  }
  return args;
}

// Widths and precisions have no limit (digits up to 99999999, "*" any
// integer), so a few directives can ask for gigabytes of padding: legitimate,
// but it would measure only the allocator. The most padding the pattern's
// numbers could ask for, in all.
constexpr uint64_t kMaxPadding = uint64_t{1} << 20;
uint64_t MostPadding(std::string_view pattern, const std::vector<FormatArg>& args) {
  uint64_t total = 0;
  uint64_t run = 0;
  for (const char c : pattern) {
    if (c >= '0' && c <= '9') {
      run = std::min(run * 10 + static_cast<uint64_t>(c - '0'), kMaxPadding + 1);
    } else {
      total += run;
      run = 0;
    }
  }
  total += run;
  uint64_t largest = 0;
  for (const FormatArg& arg : args) {
    if (arg.kind() == FormatArg::Kind::kInteger) {
      largest = std::max(largest, static_cast<uint64_t>(std::abs(static_cast<int64_t>(arg.integer()))));
    }
  }
  return total + largest * static_cast<uint64_t>(std::count(pattern.begin(), pattern.end(), '*'));
}

// The text of a pattern without directives: itself with every "%%" as "%";
// nothing when the pattern has a directive.
std::optional<std::string> PlainText(std::string_view pattern) {
  std::string out;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%') {
      if (i + 1 >= pattern.size() || pattern[i + 1] != '%') return std::nullopt;
      ++i;
    }
    out += pattern[i];
  }
  return out;
}

// Whether `message` is one of FormatText's two errors, naming a directive of
// `pattern` (its text from the "%", at most 31 characters).
bool IsFormatError(const std::string& message, std::string_view pattern) {
  constexpr size_t kMaxShown = 31;
  const std::pair<std::string_view, std::string_view> forms[] = {
      {"Format '", "' ung\xFC" "ltig oder nicht kompatibel mit Argument"},
      {"Kein Argument f\xFCr Format '", "'"}};
  for (const auto& [head, tail] : forms) {
    const std::string_view m = message;
    if (m.size() < head.size() + tail.size() || !m.starts_with(head) || !m.ends_with(tail)) continue;
    const std::string_view directive = m.substr(head.size(), m.size() - head.size() - tail.size());
    if (directive.starts_with('%') && directive.size() <= kMaxShown &&
        pattern.find(directive) != std::string_view::npos) {
      return true;
    }
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  InputReader in(data, size);
  LocaleFormats.DecimalSeparator = static_cast<char>(in.Byte());
  const std::vector<FormatArg> args = Arguments(in);
  const std::string_view pattern = in.Rest();
  if (MostPadding(pattern, args) > kMaxPadding) return -1;
  try {
    const std::string text = FormatText(pattern, args);
    const std::optional<std::string> plain = PlainText(pattern);
    Expect(!plain || text == *plain, "pattern ", Quoted(pattern), " gave ", Quoted(text));
  } catch (const EConvertError& e) {
    Expect(IsFormatError(e.Message(), pattern), "pattern ", Quoted(pattern), " raised ",
           Quoted(e.Message()));
  } catch (...) {
    EscapedError("pattern " + Quoted(pattern));
  }
  return 0;
}
