// TQelCustomMaskEdit and TQelMaskEdit: the entry field with mask types.
//
// In mask type meInteger the field holds an optional leading "-" and digits
// of NumberBase: the character filter lets only those be typed (never a
// digit in front of a leading "-"), the insertion filter takes a pasted or
// dropped text whole when it is an optional "-" followed by digits and
// refuses it otherwise, and a lone "-" is emptied when the field loses the
// focus. The text itself is never reformatted.
//
// The other mask types are accepted as values, but the field edits their
// text unfiltered and unformatted; Decimals, CurrencySettings, DateSettings
// and DateTime are kept for them and change nothing in meInteger.
#pragma once

#include <string>

#include "widgets/QelBaseEdit.h"
#include "widgets/QelCurrencySettings.h"
#include "widgets/QelDateFormat.h"

enum TQelMaskType {
  meInteger, meWord, meFloat, meFloatFixed, meFloatNumber,
  meCurrency, meDate, meTime, meMask, meNone
};

class TQelCustomMaskEdit : public TQelCustomEdit {
 public:
  static constexpr int kMinNumberBase = 2;
  static constexpr int kMaxNumberBase = 36;

  explicit TQelCustomMaskEdit(TComponent* owner) : TQelCustomEdit(owner) {}

  // Changing it to meInteger replaces the text by "0".
  TQelMaskType MaskType() const { return maskType_; }
  void SetMaskType(TQelMaskType value);
  // The digits are the first NumberBase characters of 0-9, A-Z (2..36).
  int NumberBase() const { return numberBase_; }
  void SetNumberBase(int value);
  // A change reports a text change with At = 1.
  int Decimals() const { return decimals_; }
  void SetDecimals(int value);
  bool ForceMaskCheck() const { return forceMaskCheck_; }
  void SetForceMaskCheck(bool value) { forceMaskCheck_ = value; }
  const std::string& Suffix() const { return suffix_; }
  void SetSuffix(const std::string& value) { suffix_ = value; }
  TQelCurrencySettings& CurrencySettings() { return currencySettings_; }
  void SetCurrencySettings(const TQelCurrencySettings& value) { currencySettings_.Assign(value); }
  TQelDateFormat& DateSettings() { return dateSettings_; }
  void SetDateSettings(const TQelDateFormat& value) { dateSettings_.Assign(value); }
  double DateTime() const { return dateTime_; }
  void SetDateTime(double value) { dateTime_ = value; }

 protected:
  bool CharacterAllowed(char c) const override;
  void FilterInsertion(int position, std::string& text) override;
  void CheckOnExit() override;

 private:
  bool IsDigit(char c) const;

  TQelMaskType maskType_ = meMask;
  int numberBase_ = 10;
  int decimals_ = 1;
  bool forceMaskCheck_ = false;
  std::string suffix_;
  TQelCurrencySettings currencySettings_;
  TQelDateFormat dateSettings_;
  double dateTime_ = 0.0;
};

class TQelMaskEdit : public TQelCustomMaskEdit {
 public:
  explicit TQelMaskEdit(TComponent* owner) : TQelCustomMaskEdit(owner) {}
};
