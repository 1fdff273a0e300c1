// Catches what the error trap reports while it lives, instead of the
// installed reporter.
#pragma once

#include <string>
#include <vector>

#include "framework/ErrorReport.h"

struct TCapturedError {
  TObject* sender = nullptr;
  std::string className;  // "EConvertError", ...; "std::exception"; "unknown"
  std::string message;
};

class TErrorCapture {
 public:
  TErrorCapture();
  TErrorCapture(const TErrorCapture&) = delete;
  TErrorCapture& operator=(const TErrorCapture&) = delete;
  ~TErrorCapture();

  const std::vector<TCapturedError>& Errors() const { return errors_; }

 private:
  TErrorReporter previous_;
  std::vector<TCapturedError> errors_;
};
