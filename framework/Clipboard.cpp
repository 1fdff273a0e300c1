#include "framework/Clipboard.h"

#include <cstring>
#include <utility>

#include "calc/Cp1252.h"
#include "calc/Exceptions.h"

namespace {

// Movable global memory holding a copy of `size` bytes, freed unless the
// clipboard took it.
class TGlobalCopy {
 public:
  TGlobalCopy(const void* data, size_t size) : memory_(GlobalAlloc(GMEM_MOVEABLE, size)) {
    if (!memory_) throw EClipboardException(kSClipboardRefused);
    std::memcpy(GlobalLock(memory_), data, size);
    GlobalUnlock(memory_);
  }
  TGlobalCopy(const TGlobalCopy&) = delete;
  TGlobalCopy& operator=(const TGlobalCopy&) = delete;
  ~TGlobalCopy() {
    if (memory_) GlobalFree(memory_);
  }
  // Hands the memory to the clipboard as `format`; it owns it from then on.
  bool PutOnClipboard(UINT format) {
    if (!SetClipboardData(format, memory_)) return false;
    memory_ = nullptr;
    return true;
  }

 private:
  HGLOBAL memory_;
};

}  // namespace

void SetClipboardText(HWND owner, const std::string& text) {
  const std::u16string wide = Cp1252ToUtf16(text);
  TGlobalCopy unicode(wide.c_str(), (wide.size() + 1) * sizeof(char16_t));
  TGlobalCopy ansi(text.c_str(), text.size() + 1);
  TClipboardScope clipboard(owner);
  if (!clipboard.Open()) throw EClipboardException(kSClipboardBusy);
  if (!EmptyClipboard() || !unicode.PutOnClipboard(CF_UNICODETEXT) ||
      !ansi.PutOnClipboard(CF_TEXT))
    throw EClipboardException(kSClipboardRefused);
}
