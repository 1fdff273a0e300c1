#include "support/TestForm.h"

#include <cstdio>

namespace {

// Test processes run side by side on one Wine desktop, where a window that
// one of them shows takes the activation and the focus from the others.
// Each process that uses test forms puts its thread on a desktop of its own.
const bool ownDesktop = [] {
  char name[64];
  std::snprintf(name, sizeof name, "baudix-test-%lu", GetCurrentProcessId());
  HDESK desktop = CreateDesktopA(name, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  return desktop && SetThreadDesktop(desktop);
}();

}  // namespace

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
