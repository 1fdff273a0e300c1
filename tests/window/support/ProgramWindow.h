// The program's window for a test, made and shown as the program makes it
// (the application object, Form1) with "." as the decimal separator
// whatever the system's, its message boxes closed, all freed at the end.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include "Unit1.h"
#include "app/Application.h"
#include "calc/LocaleFormats.h"
#include "support/MessageBoxCloser.h"
#include "support/TestForm.h"

class ProgramWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setup_ = std::make_unique<TProgramSetup>();
    savedSeparator_ = std::exchange(LocaleFormats.DecimalSeparator, '.');
    Application->CreateMainForm(Form1);
    Form1->SetVisible(true);
    PumpMessages();
  }
  void TearDown() override {
    setup_.reset();
    LocaleFormats.DecimalSeparator = savedSeparator_;
  }

  static TStringGrid& Grid() { return *Form1->StringGrid_USART; }
  // Handles what is waiting through the program's own loop, where the key
  // preview, the shortcuts and the dialog keys are.
  static void RunLoop() {
    while (Application->ProcessOneMessage()) {
    }
  }

  TMessageBoxCloser closer_;
  std::unique_ptr<TProgramSetup> setup_;
  char savedSeparator_ = '.';
};
