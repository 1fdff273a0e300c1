// Runs one Windows command line exactly as given, waits for it and returns
// its exit code: wine itself would quote each argument again, which spoils
// the installer's "/D=" and the uninstaller's "_?=" when the folder holds a
// space. With --limited the program gets the limited token linked to this
// process's elevated one, as an administrator's programs do unless started
// "as administrator"; Wine starts every program elevated.
// Usage: run_command.exe [--limited] "COMMAND LINE"
#include <windows.h>
#include <shellapi.h>

int main(void) {
  int count;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  const int limited = count == 3 && lstrcmpW(args[1], L"--limited") == 0;
  if (count != 2 + limited) return 125;

  HANDLE token = NULL;
  if (limited) {
    HANDLE own;
    TOKEN_LINKED_TOKEN linked;
    DWORD size;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &own)) return 125;
    const BOOL found = GetTokenInformation(own, TokenLinkedToken, &linked, sizeof linked, &size);
    CloseHandle(own);
    if (!found) return 125;
    token = linked.LinkedToken;
  }
  STARTUPINFOW startup = {sizeof startup};
  PROCESS_INFORMATION process;
  const BOOL started =
      token ? CreateProcessAsUserW(token, NULL, args[count - 1], NULL, NULL, FALSE, 0, NULL, NULL,
                                   &startup, &process)
            : CreateProcessW(NULL, args[count - 1], NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                             &process);
  if (token) CloseHandle(token);
  if (!started) return 126;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 127;
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return (int)status;
}
