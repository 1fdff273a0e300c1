#include "app/ProgramError.h"

#include <windows.h>

#include <cstdio>

#include "app/ThrowSite.h"
#include "calc/Exceptions.h"
#include "framework/WideText.h"

namespace {

constexpr UINT kProgramErrorFlags = MB_TASKMODAL | MB_ICONSTOP;  // $2010

// The class name and message of any error object.
void Describe(std::exception_ptr error, std::string& className, std::string& message) {
  try {
    std::rethrow_exception(error);
  } catch (const Exception& e) {
    className = e.ClassName();
    message = e.Message();
  } catch (const std::exception& e) {
    className = "std::exception";
    message = e.what();
  } catch (...) {
    className = "unknown";
  }
}

}  // namespace

std::string ProgramErrorText(std::exception_ptr error) {
  std::string className;
  std::string message;
  Describe(error, className, message);
  const TThrowSite site = LastThrowSite();
  char address[16];
  std::snprintf(address, sizeof address, "%08lX", site.offset);
  std::string text = "Exception " + className + " in Modul " + site.module + " bei " + address +
                     ".\r\n" + message;
  if (!message.empty() && message.back() != '.') text += '.';
  return text + "\r\n";
}

void ShowProgramError(std::exception_ptr error) {
  const std::string text = ProgramErrorText(error);
  MessageBoxW(nullptr, WideText(text).c_str(), WideText(kSApplicationError).c_str(),
              kProgramErrorFlags);
}
