#include "widgets/QelMaskEdit.h"

#include <algorithm>

namespace {
constexpr char kDigitAlphabet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr char kMinus = '-';
}  // namespace

void TQelCustomMaskEdit::SetMaskType(TQelMaskType value) {
  if (value == maskType_) return;
  maskType_ = value;
  if (maskType_ == meInteger) SetText("0");
}

void TQelCustomMaskEdit::SetNumberBase(int value) {
  numberBase_ = std::clamp(value, kMinNumberBase, kMaxNumberBase);
}

void TQelCustomMaskEdit::SetDecimals(int value) {
  if (value == decimals_) return;
  decimals_ = value;
  TextChanged(1);
}

bool TQelCustomMaskEdit::IsDigit(char c) const {
  const char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  const char* end = kDigitAlphabet + numberBase_;
  return std::find(kDigitAlphabet, end, upper) != end;
}

bool TQelCustomMaskEdit::CharacterAllowed(char c) const {
  if (maskType_ != meInteger) return true;
  const std::string& text = Text();
  if (IsDigit(c)) {
    // Never a digit in front of a leading minus sign.
    const int cursor = CursorPos();
    return text.empty() || cursor > static_cast<int>(text.size()) || text[cursor - 1] != kMinus;
  }
  if (c != kMinus) return false;
  const bool atStartWithoutMinus = CursorPos() == 1 && text.find(kMinus) == std::string::npos;
  const bool replacesStart = SelStart() == 1 && SelLength() > 0;
  return atStartWithoutMinus || replacesStart;
}

void TQelCustomMaskEdit::FilterInsertion(int /*position*/, std::string& text) {
  if (maskType_ != meInteger || text.empty()) return;
  size_t next = 0;
  if (text[0] == kMinus) {
    if (!Text().empty() && Text()[0] == kMinus) {
      text.clear();
      return;
    }
    next = 1;
  }
  while (next < text.size() && IsDigit(text[next])) ++next;
  if (next < text.size()) text.clear();
}

void TQelCustomMaskEdit::CheckOnExit() {
  if (maskType_ == meInteger && Text() == std::string(1, kMinus)) SetText("");
}
