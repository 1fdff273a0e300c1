// A shown form for a test to put controls on, freed at the end of the test,
// and a message pump for the messages a test has caused.
#pragma once

#include "framework/Form.h"

class TTestForm {
 public:
  explicit TTestForm(int clientWidth = 320, int clientHeight = 240);
  TTestForm(const TTestForm&) = delete;
  TTestForm& operator=(const TTestForm&) = delete;
  ~TTestForm();

  TForm& Form() { return *form_; }
  TForm* operator->() { return form_; }
  // Creates a control of class C on the form (owned and parented by it).
  template <class C>
  C* Add(int left, int top, int width, int height) {
    auto* control = new C(form_);
    control->SetBounds(left, top, width, height);
    control->SetParent(form_);
    return control;
  }

 private:
  TForm* form_;
};

// Dispatches every message waiting in this thread's queue, paints included.
void PumpMessages();
