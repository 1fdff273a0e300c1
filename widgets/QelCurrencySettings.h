// TQelCurrencySettings: how an entry field of mask type meCurrency writes
// amounts. They have no effect on the other mask types.
#pragma once

#include <string>

#include "framework/Object.h"

class TQelCurrencySettings : public TObject {
 public:
  // The currency symbol ("$", "\x80").
  std::string CurrencyString;
  // Where the symbol goes for positive and for negative amounts, as the
  // platform's LOCALE_ICURRENCY and LOCALE_INEGCURR number them.
  int CurrencyFormat = 0;
  int NegCurrFormat = 0;
  int CurrencyDecimals = 2;

  void Assign(const TQelCurrencySettings& source) {
    CurrencyString = source.CurrencyString;
    CurrencyFormat = source.CurrencyFormat;
    NegCurrFormat = source.NegCurrFormat;
    CurrencyDecimals = source.CurrencyDecimals;
  }
};
