// The error trap's way out. Every window procedure of every windowed control
// and form, every timer callback and a form's OnCreate run inside a try/catch
// that passes whatever escapes, as an exception_ptr, to ReportError with the
// control (or component) as sender, and then returns normally: no C++
// exception ever crosses a Win32 callback.
//
// The application shell installs the real reporter (its message box); until
// one is installed the error goes to stderr and the debugger output. Tests
// install a capturing reporter (tests/support/ErrorCapture.h).
#pragma once

#include <exception>
#include <functional>

#include "framework/Object.h"

using TErrorReporter = std::function<void(TObject* sender, std::exception_ptr error)>;

// Installs `reporter` (empty: back to the default) and returns the previous one.
TErrorReporter SetErrorReporter(TErrorReporter reporter);

// Passes an error to the installed reporter. Never throws: an error escaping
// the reporter itself goes to the default output.
void ReportError(TObject* sender, std::exception_ptr error) noexcept;

// A readable one-line description: the Exception's class and message, a
// std::exception's what(), or "unknown error".
std::string DescribeError(std::exception_ptr error);
