#include "app/ThrowSite.h"

#include <windows.h>

namespace {
thread_local void* lastThrowAddress = nullptr;

std::string BaseName(const char* path) {
  std::string name = path;
  const size_t slash = name.find_last_of("\\/");
  return slash == std::string::npos ? name : name.substr(slash + 1);
}
}  // namespace

extern "C" {
[[noreturn]] void __real___cxa_throw(void* object, void* type, void (*destructor)(void*));

[[noreturn]] void __wrap___cxa_throw(void* object, void* type, void (*destructor)(void*)) {
  lastThrowAddress = __builtin_return_address(0);
  __real___cxa_throw(object, type, destructor);
}
}

TThrowSite LastThrowSite() {
  TThrowSite site;
  HMODULE module = nullptr;
  if (!lastThrowAddress ||
      !GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                              GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          static_cast<LPCSTR>(lastThrowAddress), &module)) {
    module = nullptr;
  }
  char path[MAX_PATH] = {};
  GetModuleFileNameA(module, path, sizeof path);
  site.module = BaseName(path);
  if (module)
    site.offset = static_cast<unsigned long>(static_cast<const char*>(lastThrowAddress) -
                                             reinterpret_cast<const char*>(module));
  return site;
}
