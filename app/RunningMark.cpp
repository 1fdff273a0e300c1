#include "app/RunningMark.h"

#include <algorithm>

namespace {
constexpr wchar_t kNamePrefix[] = L"Global\\Baudix ";
}  // namespace

std::wstring TRunningMark::NameFor(std::wstring folder) {
  CharUpperBuffW(folder.data(), static_cast<DWORD>(folder.size()));
  std::replace(folder.begin(), folder.end(), L'\\', L'/');
  return kNamePrefix + folder;
}

TRunningMark::TRunningMark() {
  std::wstring path(MAX_PATH, L'\0');
  DWORD length = 0;
  while ((length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) ==
         path.size())
    path.resize(path.size() * 2);
  path.resize(length);
  mutex_ = CreateMutexW(nullptr, FALSE, NameFor(path.substr(0, path.find_last_of(L'\\'))).c_str());
}

TRunningMark::~TRunningMark() {
  if (mutex_) CloseHandle(mutex_);
}
