// Runs a command line with the limited token linked to this process's
// elevated one, as an administrator's programs run unless started "as
// administrator". Wine starts every program elevated; the package test
// needs this to see the installer as an ordinary user does.
// Usage: run_limited.exe PROGRAM ARGUMENTS...   Returns the program's exit code.
#include <windows.h>

int main(void) {
  // The command line without this program's own name.
  const wchar_t* rest = GetCommandLineW();
  wchar_t end = *rest == L'"' ? *rest++ : L' ';
  while (*rest && *rest != end) ++rest;
  if (*rest) ++rest;
  while (*rest == L' ') ++rest;

  HANDLE token;
  TOKEN_LINKED_TOKEN linked;
  DWORD size;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) ||
      !GetTokenInformation(token, TokenLinkedToken, &linked, sizeof linked, &size))
    return 125;
  CloseHandle(token);
  wchar_t command[32768];
  lstrcpynW(command, rest, 32768);
  STARTUPINFOW startup = {sizeof startup};
  PROCESS_INFORMATION process;
  if (!CreateProcessAsUserW(linked.LinkedToken, NULL, command, NULL, NULL, FALSE, 0, NULL, NULL,
                            &startup, &process))
    return 126;
  CloseHandle(linked.LinkedToken);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 127;
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return (int)status;
}
