#include "support/GdiCounter.h"

#include <windows.h>
#include <winternl.h>

#include <cstdint>

namespace {
constexpr size_t kPebGdiSharedHandleTable = 0xF8;
constexpr size_t kEntrySize = 24;
constexpr size_t kTypeOffset = 14;
constexpr size_t kMaxHandles = 0x10000;
}  // namespace

int GdiObjectCount() {
  PROCESS_BASIC_INFORMATION info{};
  if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &info, sizeof info,
                                nullptr) != 0)
    return -1;
  const auto* peb = reinterpret_cast<const uint8_t*>(info.PebBaseAddress);
  const auto* table =
      *reinterpret_cast<const uint8_t* const*>(peb + kPebGdiSharedHandleTable);
  if (!table) return -1;
  int count = 0;
  for (size_t i = 0; i < kMaxHandles; ++i)
    if (table[i * kEntrySize + kTypeOffset] != 0) ++count;
  return count;
}
