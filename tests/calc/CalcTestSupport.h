// Helpers shared by the calculation tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/LocaleFormats.h"
#include "calc/Usart.h"

// Keeps LocaleFormats as it was around a test, and sets the decimal
// separator the test wants.
class LocaleFormatsGuard {
 public:
  explicit LocaleFormatsGuard(char decimalSeparator = '.') : saved_(LocaleFormats) {
    LocaleFormats.DecimalSeparator = decimalSeparator;
  }
  ~LocaleFormatsGuard() { LocaleFormats = saved_; }

 private:
  TLocaleFormats saved_;
};

// A view that records every call of CalcUSART in order.
class RecordingView : public TUsartTableView {
 public:
  RecordingView(std::string frequency, std::string baudRate)
      : frequency_(std::move(frequency)), baudRate_(std::move(baudRate)) {}

  std::string FrequencyText() override {
    calls.push_back("FrequencyText");
    return frequency_;
  }
  std::string BaudRateText() override {
    calls.push_back("BaudRateText");
    return baudRate_;
  }
  void SetCell(int col, int row, const std::string& text) override {
    calls.push_back("SetCell " + std::to_string(col) + " " + std::to_string(row) + " " + text);
    ++cellsSet;
  }

  std::vector<std::string> calls;
  int cellsSet = 0;

 private:
  std::string frequency_;
  std::string baudRate_;
};

// The message of the EConvertError (or other Exception) that `statement`
// raises, or "<no error>".
#define EXPECT_ERROR_MESSAGE(ExceptionClass, statement, expected)            \
  do {                                                                       \
    std::string message_ = "<no error>";                                     \
    try {                                                                    \
      statement;                                                             \
    } catch (const ExceptionClass& e) {                                      \
      message_ = e.Message();                                                \
    }                                                                        \
    EXPECT_EQ(message_, expected) << "for " #statement;                      \
  } while (0)
