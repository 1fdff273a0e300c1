// The generic "Anwendungsfehler" box: for an error that escapes the program
// block, and for an error object that is not an Exception. Its text is
// "Exception <class> in Modul <module> bei <offset>.\r\n<message><.>\r\n".
#pragma once

#include <exception>
#include <string>

inline constexpr const char kSApplicationError[] = "Anwendungsfehler";

// The box text for `error`.
std::string ProgramErrorText(std::exception_ptr error);
// Shows the box (no owner, task-modal, stop icon).
void ShowProgramError(std::exception_ptr error);
