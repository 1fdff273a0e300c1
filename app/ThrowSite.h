// Where the last C++ exception of this thread was thrown: the executable is
// linked with --wrap=__cxa_throw, and the wrapper notes its caller. The
// "Anwendungsfehler" box names the module and the offset of that place.
#pragma once

#include <string>

struct TThrowSite {
  std::string module;      // file name without directory; the executable when unknown
  unsigned long offset = 0;  // the throwing code's offset within the module
};

TThrowSite LastThrowSite();
