// The mark of a running Baudix for its installer and uninstaller.
//
// Windows keeps a running executable locked: an installation over it would
// leave the old program or fail half-way, and a removal would leave files
// behind. So the program holds, for its whole run, a named mutex named after
// the folder it runs from; package/baudix.nsi computes the same name from
// its target folder and refuses to go on while the mutex exists. The name
// is "Global\Baudix " and the folder in upper case with "/" for "\" (object
// names may hold no further "\" and compare with case); the Global namespace
// makes it visible to an installer in another session too.
#pragma once

#include <windows.h>

#include <string>

class TRunningMark {
 public:
  // Creates the mutex for the executable's folder; without it (the name
  // refused, say) the program runs unmarked.
  TRunningMark();
  TRunningMark(const TRunningMark&) = delete;
  TRunningMark& operator=(const TRunningMark&) = delete;
  ~TRunningMark();

  // The mutex name for a program in `folder` (no "\" at the end).
  static std::wstring NameFor(std::wstring folder);

 private:
  HANDLE mutex_ = nullptr;
};
