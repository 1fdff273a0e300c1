// A screen reader's view of a running Baudix from a process of its own,
// for the end-to-end test. Output is UTF-8 lines (support/AccessibleReader.h).
//
//   msaa_reader tree        every control's element and its simple children
//   msaa_reader watch FILE  "value|name|value" and "reorder|name" for each
//                           value change and refresh until FILE exists;
//                           "ready" once it listens
//   msaa_reader clipboard   the clipboard's text, then "ansi same" when its
//                           code page 1252 text holds the same characters
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "support/AccessibleReader.h"

namespace {

HWND BaudixWindow() {
  HWND found = nullptr;
  EnumWindows(
      [](HWND window, LPARAM result) -> BOOL {
        static constexpr wchar_t kTitleStart[] = L"Baudix - ";
        wchar_t title[64] = {};
        GetWindowTextW(window, title, 64);
        if (wcsncmp(title, kTitleStart, wcslen(kTitleStart)) != 0) return TRUE;
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// The lines of `top`'s object and of every control window below it, each
// followed by its simple children's lines, indented by two spaces.
std::vector<std::string> ReadControls(HWND top) {
  std::vector<HWND> windows{top};
  EnumChildWindows(
      top,
      [](HWND window, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  std::vector<std::string> lines;
  for (HWND window : windows) {
    IAccessible* object = ClientObject(window);
    if (!object) continue;
    lines.push_back(ElementLine(*object));
    for (long id : SimpleChildren(*object)) lines.push_back("  " + ElementLine(*object, id));
    object->Release();
  }
  return lines;
}

// The element an event names, as a line whose name and value say what changed.
void CALLBACK Heard(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                    DWORD) {
  IAccessible* source = nullptr;
  VARIANT id;
  VariantInit(&id);
  if (AccessibleObjectFromEvent(window, object, child, &source, &id) != S_OK) return;
  const std::string line = ElementLine(*source, id.lVal);
  source->Release();
  // role|name|value|...: keep name and value.
  const size_t name = line.find('|') + 1;
  const size_t value = line.find('|', name) + 1;
  if (event == EVENT_OBJECT_REORDER) {
    std::printf("reorder|%s\n", line.substr(name, value - name - 1).c_str());
  } else {
    std::printf("value|%s\n", line.substr(name, line.find('|', value) - name).c_str());
  }
  std::fflush(stdout);
}

int Watch(HWND program, const char* stopFile) {
  DWORD process = 0;
  GetWindowThreadProcessId(program, &process);
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_VALUECHANGE, nullptr,
                                       Heard, process, 0, WINEVENT_OUTOFCONTEXT);
  if (!hook) return 1;
  std::printf("ready\n");
  std::fflush(stdout);
  while (GetFileAttributesA(stopFile) == INVALID_FILE_ATTRIBUTES) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  UnhookWinEvent(hook);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // Lines end in "\n" alone, as the test's tools expect.
  _setmode(_fileno(stdout), _O_BINARY);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const std::string command = argc > 1 ? argv[1] : "";
  HWND program = BaudixWindow();
  int status = 0;
  if (!program) {
    std::printf("no Baudix window\n");
    status = 1;
  } else if (command == "tree") {
    for (const std::string& line : ReadControls(program)) std::printf("%s\n", line.c_str());
  } else if (command == "watch" && argc > 2) {
    status = Watch(program, argv[2]);
  } else if (command == "clipboard") {
    bool ansiSame = false;
    const std::string text = ClipboardText(ansiSame);
    std::printf("%s\n%s\n", text.c_str(), ansiSame ? "ansi same" : "ansi differs");
  } else {
    status = 64;
  }
  CoUninitialize();
  return status;
}
