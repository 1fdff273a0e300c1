#include "framework/ErrorReport.h"

#include <windows.h>

#include <cstdio>
#include <utility>

#include "calc/Exceptions.h"

namespace {

TErrorReporter& InstalledReporter() {
  static TErrorReporter reporter;
  return reporter;
}

void WriteToDebugOutput(TObject* sender, std::exception_ptr error) noexcept {
  try {
    std::string line = "Baudix: error in ";
    line += sender ? sender->ClassName() : std::string("(no sender)");
    line += ": " + DescribeError(error) + "\n";
    OutputDebugStringA(line.c_str());
    std::fputs(line.c_str(), stderr);
  } catch (...) {
    std::fputs("Baudix: error while reporting an error\n", stderr);
  }
}

}  // namespace

TErrorReporter SetErrorReporter(TErrorReporter reporter) {
  return std::exchange(InstalledReporter(), std::move(reporter));
}

void ReportError(TObject* sender, std::exception_ptr error) noexcept {
  try {
    if (InstalledReporter()) {
      InstalledReporter()(sender, error);
      return;
    }
  } catch (...) {
    WriteToDebugOutput(sender, std::current_exception());
  }
  WriteToDebugOutput(sender, error);
}

std::string DescribeError(std::exception_ptr error) {
  try {
    if (error) std::rethrow_exception(error);
  } catch (const Exception& e) {
    return std::string(e.ClassName()) + ": " + e.Message();
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
  }
  return "unknown error";
}
