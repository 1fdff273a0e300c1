// Loading the user's number conventions (LoadLocaleFormats).
#include "calc/LocaleFormats.h"

#include <clocale>
#include <cstring>

#include "calc/Exceptions.h"
#include "calc/NumberText.h"

TLocaleFormats LocaleFormats;

namespace {

std::string ReadString(const LocaleItemReader& read, uint32_t item, const char* fallback) {
  char buffer[kLocaleStringBufferSize] = {};
  const int count = read(item, buffer, kLocaleStringBufferSize);
  if (count <= 0 || count > kLocaleStringBufferSize) return fallback;
  return std::string(buffer, static_cast<size_t>(count - 1));  // without the NUL
}

char ReadChar(const LocaleItemReader& read, uint32_t item, char fallback) {
  char buffer[kLocaleCharBufferSize] = {};
  return read(item, buffer, kLocaleCharBufferSize) > 0 ? buffer[0] : fallback;
}

// A numeric item: read as a string (default "0"), converted by the integer
// rules, 0 when it does not convert; stored in a byte.
uint8_t ReadNumber(const LocaleItemReader& read, uint32_t item) {
  try {
    return static_cast<uint8_t>(TextToInteger(ReadString(read, item, "0")));
  } catch (const EConvertError&) {
    return 0;
  }
}

}  // namespace

void LoadLocaleFormats(const LocaleItemReader& read) {
  TLocaleFormats f;
  f.CurrencyString = ReadString(read, kLocaleSCurrency, "");
  f.CurrencyFormat = ReadNumber(read, kLocaleICurrency);
  f.NegCurrFormat = ReadNumber(read, kLocaleINegCurr);
  f.ThousandSeparator = ReadChar(read, kLocaleSThousand, ',');
  f.DecimalSeparator = ReadChar(read, kLocaleSDecimal, '.');
  f.CurrencyDecimals = ReadNumber(read, kLocaleICurrDigits);
  f.ListSeparator = ReadChar(read, kLocaleSList, ',');
  LocaleFormats = std::move(f);
}

int HostLocaleItemReader(uint32_t item, char* buffer, int size) {
  const std::lconv* conventions = std::localeconv();
  const char* value = nullptr;
  if (conventions != nullptr) {
    switch (item) {
      case kLocaleSDecimal: value = conventions->decimal_point; break;
      case kLocaleSThousand: value = conventions->thousands_sep; break;
      case kLocaleSCurrency: value = conventions->currency_symbol; break;
      default: break;
    }
  }
  if (value == nullptr || value[0] == '\0') return 0;
  const size_t length = std::strlen(value);
  if (size <= 0 || length + 1 > static_cast<size_t>(size)) return 0;  // does not fit
  std::memcpy(buffer, value, length + 1);
  return static_cast<int>(length + 1);
}
