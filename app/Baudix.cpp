// The program block.
#include <windows.h>

#include "Unit1.h"
#include "app/Application.h"
#include "app/ProgramError.h"
#include "app/RunningMark.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // For the whole run: the installer and the uninstaller wait for its end.
  const TRunningMark running;
  try {
    TProgramSetup program;
    Application->StartUp();
    Application->CreateMainForm(Form1);
    Application->RunLoop();
  } catch (...) {
    ShowProgramError(std::current_exception());
    return 1;
  }
  return 0;
}
