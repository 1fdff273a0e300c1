// LoadLocaleFormats through a fake item reader, and the host reader.
#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "CalcTestSupport.h"
#include "calc/LocaleFormats.h"
#include "calc/NumberText.h"

namespace {

// A reader with the contract of GetLocaleInfoA over a table of values: fails
// (0) for a missing item and for a value that does not fit the buffer.
class FakeLocale {
 public:
  std::map<uint32_t, std::string> items;
  std::vector<std::pair<uint32_t, int>> reads;  // item, buffer size

  LocaleItemReader Reader() {
    return [this](uint32_t item, char* buffer, int size) {
      reads.emplace_back(item, size);
      const auto it = items.find(item);
      if (it == items.end()) return 0;
      const std::string& value = it->second;
      if (value.size() + 1 > static_cast<size_t>(size)) return 0;
      std::memcpy(buffer, value.c_str(), value.size() + 1);
      return static_cast<int>(value.size() + 1);
    };
  }
};

void ExpectDefaults(const TLocaleFormats& f) {
  EXPECT_EQ(f.DecimalSeparator, '.');
  EXPECT_EQ(f.ThousandSeparator, ',');
  EXPECT_EQ(f.CurrencyString, "");
  EXPECT_EQ(f.CurrencyFormat, 0);
  EXPECT_EQ(f.NegCurrFormat, 0);
  EXPECT_EQ(f.CurrencyDecimals, 0);
  EXPECT_EQ(f.ListSeparator, ',');
}

TEST(LoadLocaleFormats, StartsWithTheDefaults) {
  // No test in this executable loads before this one runs in a fresh process;
  // a default-constructed record holds the same values.
  ExpectDefaults(TLocaleFormats{});
}

TEST(LoadLocaleFormats, GermanValues) {
  LocaleFormatsGuard guard;
  FakeLocale locale;
  locale.items = {{kLocaleSDecimal, ","},   {kLocaleSThousand, "."}, {kLocaleSCurrency, "\x80"},
                  {kLocaleICurrency, "3"},  {kLocaleINegCurr, "8"},  {kLocaleICurrDigits, "2"},
                  {kLocaleSList, ";"}};
  LoadLocaleFormats(locale.Reader());
  EXPECT_EQ(LocaleFormats.DecimalSeparator, ',');
  EXPECT_EQ(LocaleFormats.ThousandSeparator, '.');
  EXPECT_EQ(LocaleFormats.CurrencyString, "\x80");
  EXPECT_EQ(LocaleFormats.CurrencyFormat, 3);
  EXPECT_EQ(LocaleFormats.NegCurrFormat, 8);
  EXPECT_EQ(LocaleFormats.CurrencyDecimals, 2);
  EXPECT_EQ(LocaleFormats.ListSeparator, ';');
  EXPECT_EQ(FormatText("%f%%", {0.15625}), "0,16%");
}

TEST(LoadLocaleFormats, EveryItemFailingGivesTheDefaults) {
  LocaleFormatsGuard guard(',');
  LocaleFormats.CurrencyString = "EUR";
  LocaleFormats.CurrencyDecimals = 2;
  FakeLocale locale;
  LoadLocaleFormats(locale.Reader());
  ExpectDefaults(LocaleFormats);
  EXPECT_EQ(FormatText("%f%%", {0.15625}), "0.16%");
}

TEST(LoadLocaleFormats, BufferSizes) {
  LocaleFormatsGuard guard;
  FakeLocale locale;
  LoadLocaleFormats(locale.Reader());
  std::map<uint32_t, int> sizes(locale.reads.begin(), locale.reads.end());
  EXPECT_EQ(sizes[kLocaleSDecimal], 2);
  EXPECT_EQ(sizes[kLocaleSThousand], 2);
  EXPECT_EQ(sizes[kLocaleSList], 2);
  EXPECT_EQ(sizes[kLocaleSCurrency], 256);
  EXPECT_EQ(sizes[kLocaleICurrency], 256);
  EXPECT_EQ(sizes[kLocaleINegCurr], 256);
  EXPECT_EQ(sizes[kLocaleICurrDigits], 256);
}

TEST(LoadLocaleFormats, TwoCharacterSeparatorDoesNotFitAndTakesTheDefault) {
  LocaleFormatsGuard guard;
  FakeLocale locale;
  locale.items = {{kLocaleSDecimal, ",,"}, {kLocaleSThousand, "  "}, {kLocaleSList, ";;"}};
  LoadLocaleFormats(locale.Reader());
  EXPECT_EQ(LocaleFormats.DecimalSeparator, '.');
  EXPECT_EQ(LocaleFormats.ThousandSeparator, ',');
  EXPECT_EQ(LocaleFormats.ListSeparator, ',');
}

TEST(LoadLocaleFormats, EmptyCharacterItemGivesNul) {
  // A call that succeeds with an empty value returns 1: the NUL is the value.
  LocaleFormatsGuard guard;
  FakeLocale locale;
  locale.items = {{kLocaleSDecimal, ""}};
  LoadLocaleFormats(locale.Reader());
  EXPECT_EQ(LocaleFormats.DecimalSeparator, '\0');
  EXPECT_EQ(FormatText("%f", {1.5}), "150");
}

TEST(LoadLocaleFormats, NumericItemsFollowTheIntegerRules) {
  LocaleFormatsGuard guard;
  FakeLocale locale;
  locale.items = {{kLocaleICurrency, " 2"}, {kLocaleINegCurr, "x"}, {kLocaleICurrDigits, "$10"}};
  LoadLocaleFormats(locale.Reader());
  EXPECT_EQ(LocaleFormats.CurrencyFormat, 2);
  EXPECT_EQ(LocaleFormats.NegCurrFormat, 0);   // does not convert
  EXPECT_EQ(LocaleFormats.CurrencyDecimals, 16);
  locale.items = {{kLocaleICurrency, "2 "}, {kLocaleINegCurr, "-1"}, {kLocaleICurrDigits, "300"}};
  LoadLocaleFormats(locale.Reader());
  EXPECT_EQ(LocaleFormats.CurrencyFormat, 0);
  EXPECT_EQ(LocaleFormats.NegCurrFormat, 255);     // low byte
  EXPECT_EQ(LocaleFormats.CurrencyDecimals, 44);   // 300 in a byte
}

TEST(LoadLocaleFormats, StringItemUpTo255Characters) {
  LocaleFormatsGuard guard;
  FakeLocale locale;
  locale.items = {{kLocaleSCurrency, std::string(255, 'c')}};
  LoadLocaleFormats(locale.Reader());
  EXPECT_EQ(LocaleFormats.CurrencyString, std::string(255, 'c'));
  locale.items = {{kLocaleSCurrency, std::string(256, 'c')}};
  LoadLocaleFormats(locale.Reader());
  EXPECT_EQ(LocaleFormats.CurrencyString, "");
}

TEST(LoadLocaleFormats, ReloadRewritesEverything) {
  LocaleFormatsGuard guard;
  FakeLocale locale;
  locale.items = {{kLocaleSDecimal, ","}, {kLocaleSCurrency, "EUR"}};
  LoadLocaleFormats(locale.Reader());
  EXPECT_EQ(LocaleFormats.DecimalSeparator, ',');
  locale.items = {};
  LoadLocaleFormats(locale.Reader());
  ExpectDefaults(LocaleFormats);
}

TEST(HostLocaleItemReader, CLocaleGivesFullStop) {
  LocaleFormatsGuard guard(',');
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  std::setlocale(LC_ALL, "C");
  LoadLocaleFormats(HostLocaleItemReader);
  EXPECT_EQ(LocaleFormats.DecimalSeparator, '.');
  // The C locale has no thousands separator and no currency symbol: defaults.
  EXPECT_EQ(LocaleFormats.ThousandSeparator, ',');
  EXPECT_EQ(LocaleFormats.CurrencyString, "");
  std::setlocale(LC_ALL, saved.c_str());
}

TEST(HostLocaleItemReader, FollowsTheGetLocaleInfoContract) {
  std::setlocale(LC_ALL, "C");
  char buffer[2] = {'x', 'x'};
  EXPECT_EQ(HostLocaleItemReader(kLocaleSDecimal, buffer, 2), 2);
  EXPECT_EQ(buffer[0], '.');
  EXPECT_EQ(buffer[1], '\0');
  EXPECT_EQ(HostLocaleItemReader(kLocaleSDecimal, buffer, 1), 0);  // does not fit
  EXPECT_EQ(HostLocaleItemReader(kLocaleSList, buffer, 2), 0);     // not offered
}

}  // namespace
