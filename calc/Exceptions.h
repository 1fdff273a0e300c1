// The program's error classes, shared by the calculation core, the framework,
// the widgets and the application shell.
//
// An error is an `Exception` or one of its subclasses, each carrying a message
// text in code page 1252 (the runtime's German messages, for example
// "'12a' ist kein g\xFCltiger Integerwert"). `ClassName()` gives the class's
// own name, which the shell needs for its "Exception %s in Modul %s ..." box.
// The shell's `ReportError` drops `EAbort` silently and shows every other
// `Exception` with its message.
#pragma once

#include <exception>
#include <string>
#include <utility>

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}

  // The message text, code page 1252.
  const std::string& Message() const noexcept { return message_; }
  void SetMessage(std::string message) { message_ = std::move(message); }

  virtual const char* ClassName() const noexcept { return "Exception"; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// Declares `Name`, derived from `Base`, with the base's constructors.
#define BAUDIX_DECLARE_EXCEPTION(Name, Base)                              \
  class Name : public Base {                                              \
   public:                                                                \
    using Base::Base;                                                     \
    const char* ClassName() const noexcept override { return #Name; }     \
  }

// A text that is not a number, a bad FormatText pattern.
BAUDIX_DECLARE_EXCEPTION(EConvertError, Exception);
// The silent error: ReportError drops it.
BAUDIX_DECLARE_EXCEPTION(EAbort, Exception);
// A grid operation on a row or column that does not exist.
BAUDIX_DECLARE_EXCEPTION(EInvalidGridOperation, Exception);
// A platform resource that could not be created, e.g. a window class.
BAUDIX_DECLARE_EXCEPTION(EOutOfResources, Exception);
// The clipboard could not be opened or refused what was put on it.
BAUDIX_DECLARE_EXCEPTION(EClipboardException, Exception);
// Floating-point errors enabled by the control word $1332. They
// share the base EMathError.
BAUDIX_DECLARE_EXCEPTION(EMathError, Exception);
BAUDIX_DECLARE_EXCEPTION(EZeroDivide, EMathError);    // "Gleitkommadivision durch Null"
BAUDIX_DECLARE_EXCEPTION(EInvalidOp, EMathError);     // "Ung\xFCltige Gleitkommaoperation"
BAUDIX_DECLARE_EXCEPTION(EOverflow, EMathError);      // "Gleitkomma\xFCberlauf"

// The runtime's messages for the floating-point errors, code page 1252.
inline constexpr const char kSZeroDivide[] = "Gleitkommadivision durch Null";
inline constexpr const char kSInvalidOp[] = "Ung\xFC" "ltige Gleitkommaoperation";
inline constexpr const char kSOverflow[] = "Gleitkomma\xFC" "berlauf";

// The text of the shell's error box for `message` (ShowError step
// 2): a "." is appended when the message is not empty and its last
// character's code is above that of "." (46). Code page 1252 has no
// double-byte characters, so the last byte is the last character.
inline std::string ErrorBoxText(std::string message) {
  constexpr unsigned char kFullStop = '.';
  if (!message.empty() && static_cast<unsigned char>(message.back()) > kFullStop) message += '.';
  return message;
}
