#include "support/ErrorCapture.h"

#include "calc/Exceptions.h"

TErrorCapture::TErrorCapture() {
  previous_ = SetErrorReporter([this](TObject* sender, std::exception_ptr error) {
    TCapturedError captured;
    captured.sender = sender;
    try {
      std::rethrow_exception(error);
    } catch (const Exception& e) {
      captured.className = e.ClassName();
      captured.message = e.Message();
    } catch (const std::exception& e) {
      captured.className = "std::exception";
      captured.message = e.what();
    } catch (...) {
      captured.className = "unknown";
    }
    errors_.push_back(captured);
  });
}

TErrorCapture::~TErrorCapture() { SetErrorReporter(previous_); }
