#include "support/AccessibleReader.h"

namespace {

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

}  // namespace

std::string Utf8(const std::wstring& text) {
  std::string out(text.size() * 3 + 1, '\0');
  out.resize(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                 out.data(), static_cast<int>(out.size()), nullptr, nullptr));
  return out;
}

std::string ElementLine(IAccessible& object, long id) {
  VARIANT child;
  child.vt = VT_I4;
  child.lVal = id;
  VARIANT number;
  VariantInit(&number);
  std::string line = object.get_accRole(child, &number) == S_OK ? RoleName(number.lVal) : "?";
  for (auto read : {&IAccessible::get_accName, &IAccessible::get_accValue,
                    &IAccessible::get_accDescription, &IAccessible::get_accDefaultAction}) {
    BSTR text = nullptr;
    (object.*read)(child, &text);
    line += "|" + Text(text);
  }
  const long state = object.get_accState(child, &number) == S_OK ? number.lVal : 0;
  line += "|";
  if (state & STATE_SYSTEM_FOCUSED) line += "focused";
  if (state & STATE_SYSTEM_INVISIBLE) line += "invisible";
  return line;
}

IAccessible* ClientObject(HWND window) {
  IAccessible* object = nullptr;
  AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                             reinterpret_cast<void**>(&object));
  return object;
}

std::vector<long> SimpleChildren(IAccessible& object) {
  long count = 0;
  object.get_accChildCount(&count);
  std::vector<VARIANT> children(static_cast<size_t>(count));
  long obtained = 0;
  AccessibleChildren(&object, 0, count, children.data(), &obtained);
  std::vector<long> ids;
  for (long i = 0; i < obtained; ++i) {
    if (children[i].vt == VT_I4) ids.push_back(children[i].lVal);
    VariantClear(&children[i]);
  }
  return ids;
}

std::string ClipboardText(bool& ansiSame) {
  std::wstring unicode, ansi;
  if (OpenClipboard(nullptr)) {
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
  }
  ansiSame = unicode == ansi;
  return Utf8(unicode);
}
