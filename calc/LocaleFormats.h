// The user's number conventions: the process-wide record
// LocaleFormats and its loader. Only the decimal separator changes any text
// this program shows.
//
// LoadLocaleFormats reads the items through a LocaleItemReader, so that this
// file needs no Windows header. The reader has the contract of
// GetLocaleInfoA: write the item `item` (one of the kLocale* numbers below,
// equal to the LOCALE_* constants) with its terminating NUL into `buffer` of
// `size` characters and return the number of characters written including
// the NUL, or 0 when the item cannot be read or does not fit.
//
// The Windows reader, for the application shell (app/):
//
//   const LCID lcid = GetThreadLocale();
//   LoadLocaleFormats([lcid](uint32_t item, char* buffer, int size) {
//     return GetLocaleInfoA(lcid, item, buffer, size);
//   });
//
// On a settings notification the shell first calls
// SetThreadLocale(LOCALE_USER_DEFAULT), then runs the same lines.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Locale item numbers (the values of the platform's LOCALE_* constants).
inline constexpr uint32_t kLocaleSList = 0x0C;         // LOCALE_SLIST
inline constexpr uint32_t kLocaleSDecimal = 0x0E;      // LOCALE_SDECIMAL
inline constexpr uint32_t kLocaleSThousand = 0x0F;     // LOCALE_STHOUSAND
inline constexpr uint32_t kLocaleSCurrency = 0x14;     // LOCALE_SCURRENCY
inline constexpr uint32_t kLocaleICurrDigits = 0x19;   // LOCALE_ICURRDIGITS
inline constexpr uint32_t kLocaleICurrency = 0x1B;     // LOCALE_ICURRENCY
inline constexpr uint32_t kLocaleINegCurr = 0x1C;      // LOCALE_INEGCURR

// Buffer sizes of the reads of LoadLocaleFormats: a
// character item has room for one character and the NUL, so a longer value
// does not fit and takes the default.
inline constexpr int kLocaleStringBufferSize = 256;
inline constexpr int kLocaleCharBufferSize = 2;

struct TLocaleFormats {
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  std::string CurrencyString;
  uint8_t CurrencyFormat = 0;
  uint8_t NegCurrFormat = 0;
  uint8_t CurrencyDecimals = 0;
  char ListSeparator = ',';
};

// Written only by LoadLocaleFormats (and by tests), read by the conversions.
// Holds the defaults until the first load.
extern TLocaleFormats LocaleFormats;

using LocaleItemReader = std::function<int(uint32_t item, char* buffer, int size)>;

// Rewrites all of LocaleFormats from `read`; every item that cannot be read
// takes its default. Never fails. The date and time conventions are not read:
// nothing in this program uses them.
void LoadLocaleFormats(const LocaleItemReader& read);

// A reader from the C library's current locale (localeconv): the decimal
// separator, the thousands separator and the currency symbol when the locale
// has them; every other item, and an empty value, cannot be read. The caller
// chooses the locale first, e.g. setlocale(LC_ALL, "").
int HostLocaleItemReader(uint32_t item, char* buffer, int size);
