// A screen reader's view of a running Baudix, from a process of its own: the
// end-to-end test runs it beside the program. Output is UTF-8, one element
// per line, fields separated by "|".
//
//   msaa_reader tree        every control window's object and its simple
//                           children: role|name|value|description|action|state
//   msaa_reader watch FILE  value changes and refreshes while the user types,
//                           "value|name|value" and "reorder|name", until FILE
//                           exists; prints "ready" once the hook is set
//   msaa_reader press NAME  the default action of the simple child NAME
//   msaa_reader clipboard   the clipboard's Unicode text, then "ansi same" or
//                           "ansi differs" for its code page 1252 text
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <oleacc.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& text) {
  std::string out(text.size() * 3 + 1, '\0');
  out.resize(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                 out.data(), static_cast<int>(out.size()), nullptr, nullptr));
  return out;
}

// A text read from an object, on one line.
std::string Text(BSTR text) {
  std::wstring wide = text ? text : L"";
  SysFreeString(text);
  for (wchar_t& c : wide)
    if (c == L'\r' || c == L'\n' || c == L'|') c = L' ';
  return Utf8(wide);
}

const char* RoleName(long role) {
  switch (role) {
    case ROLE_SYSTEM_CLIENT: return "CLIENT";
    case ROLE_SYSTEM_TEXT: return "TEXT";
    case ROLE_SYSTEM_COMBOBOX: return "COMBOBOX";
    case ROLE_SYSTEM_TABLE: return "TABLE";
    case ROLE_SYSTEM_CELL: return "CELL";
    case ROLE_SYSTEM_COLUMNHEADER: return "COLUMNHEADER";
    case ROLE_SYSTEM_STATICTEXT: return "STATICTEXT";
    case ROLE_SYSTEM_GRAPHIC: return "GRAPHIC";
    case ROLE_SYSTEM_PUSHBUTTON: return "PUSHBUTTON";
    case ROLE_SYSTEM_STATUSBAR: return "STATUSBAR";
    case ROLE_SYSTEM_SEPARATOR: return "SEPARATOR";
    default: return "OTHER";
  }
}

std::string Describe(IAccessible& object, long id) {
  VARIANT child;
  child.vt = VT_I4;
  child.lVal = id;
  VARIANT number;
  VariantInit(&number);
  std::string line = object.get_accRole(child, &number) == S_OK ? RoleName(number.lVal) : "?";
  BSTR text = nullptr;
  object.get_accName(child, &text);
  line += "|" + Text(text);
  text = nullptr;
  object.get_accValue(child, &text);
  line += "|" + Text(text);
  text = nullptr;
  object.get_accDescription(child, &text);
  line += "|" + Text(text);
  text = nullptr;
  object.get_accDefaultAction(child, &text);
  line += "|" + Text(text);
  const bool invisible = object.get_accState(child, &number) == S_OK &&
                         (number.lVal & STATE_SYSTEM_INVISIBLE);
  return line + (invisible ? "|invisible" : "|");
}

HWND BaudixWindow() {
  HWND found = nullptr;
  EnumWindows(
      [](HWND window, LPARAM result) -> BOOL {
        wchar_t title[64] = {};
        GetWindowTextW(window, title, 64);
        static constexpr wchar_t kTitleStart[] = L"Baudix - ";
        if (wcsncmp(title, kTitleStart, wcslen(kTitleStart)) != 0) return TRUE;
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

IAccessible* ObjectOf(HWND window) {
  IAccessible* object = nullptr;
  AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                             reinterpret_cast<void**>(&object));
  return object;
}

// Runs `visit` for every control window's object and each simple child.
template <class F>
void ForEachElement(F visit) {
  std::vector<HWND> windows{BaudixWindow()};
  EnumChildWindows(
      windows[0],
      [](HWND window, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  for (HWND window : windows) {
    IAccessible* object = ObjectOf(window);
    if (!object) continue;
    visit(*object, CHILDID_SELF, false);
    long count = 0;
    object->get_accChildCount(&count);
    std::vector<VARIANT> children(static_cast<size_t>(count));
    long obtained = 0;
    AccessibleChildren(object, 0, count, children.data(), &obtained);
    for (long i = 0; i < obtained; ++i) {
      if (children[i].vt == VT_I4) visit(*object, children[i].lVal, true);
      VariantClear(&children[i]);
    }
    object->Release();
  }
}

int Tree() {
  ForEachElement([](IAccessible& object, long id, bool child) {
    std::printf("%s%s\n", child ? "  " : "", Describe(object, id).c_str());
  });
  return 0;
}

int Press(const std::string& name) {
  int pressed = 0;
  ForEachElement([&](IAccessible& object, long id, bool child) {
    VARIANT which;
    which.vt = VT_I4;
    which.lVal = id;
    BSTR text = nullptr;
    object.get_accName(which, &text);
    if (child && Text(text) == name && object.accDoDefaultAction(which) == S_OK) ++pressed;
  });
  std::printf("pressed %d\n", pressed);
  return pressed == 1 ? 0 : 1;
}

void CALLBACK Heard(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                    DWORD) {
  IAccessible* source = nullptr;
  VARIANT id;
  VariantInit(&id);
  if (AccessibleObjectFromEvent(window, object, child, &source, &id) != S_OK) return;
  BSTR name = nullptr;
  source->get_accName(id, &name);
  if (event == EVENT_OBJECT_REORDER) {
    std::printf("reorder|%s\n", Text(name).c_str());
  } else {
    BSTR value = nullptr;
    source->get_accValue(id, &value);
    std::printf("value|%s|%s\n", Text(name).c_str(), Text(value).c_str());
  }
  std::fflush(stdout);
  source->Release();
}

int Watch(const char* stopFile) {
  DWORD process = 0;
  GetWindowThreadProcessId(BaudixWindow(), &process);
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

int Clipboard() {
  if (!OpenClipboard(nullptr)) return 1;
  std::wstring unicode, ansi;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    unicode = static_cast<const wchar_t*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    const char* bytes = static_cast<const char*>(GlobalLock(data));
    ansi.resize(MultiByteToWideChar(1252, 0, bytes, -1, nullptr, 0));
    MultiByteToWideChar(1252, 0, bytes, -1, ansi.data(), static_cast<int>(ansi.size()));
    ansi.pop_back();  // the terminator
    GlobalUnlock(data);
  }
  CloseClipboard();
  std::printf("%s\nansi %s\n", Utf8(unicode).c_str(), unicode == ansi ? "same" : "differs");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // Lines end in "\n" alone, as the test's tools expect.
  _setmode(_fileno(stdout), _O_BINARY);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const std::string command = argc > 1 ? argv[1] : "";
  int status = 64;
  if (!BaudixWindow()) {
    std::printf("no Baudix window\n");
    status = 1;
  } else if (command == "tree") {
    status = Tree();
  } else if (command == "watch" && argc > 2) {
    status = Watch(argv[2]);
  } else if (command == "press" && argc > 2) {
    status = Press(argv[2]);
  } else if (command == "clipboard") {
    status = Clipboard();
  }
  CoUninitialize();
  return status;
}
