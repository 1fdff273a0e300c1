#include "support/TestForm.h"

TTestForm::TTestForm(int clientWidth, int clientHeight) : form_(CreateForm<TForm>(nullptr)) {
  form_->SetCaption("Test");
  form_->SetClientSize(clientWidth, clientHeight);
  form_->Show();
  PumpMessages();
}

TTestForm::~TTestForm() {
  delete form_;
  PumpMessages();
}

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}
