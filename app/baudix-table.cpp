// baudix-table: the result table of the recalculation on the
// command line, for scripts and for checking a table without the window.
//
//   baudix-table FREQUENCY BAUDRATE        aligned text table
//   baudix-table --csv FREQUENCY BAUDRATE  CSV, "." as decimal separator
//
// The arguments are the entry fields' texts as typed ("" is an empty field).
// Exit status: 0, 2 when a text cannot be converted (the error box's text on
// standard error, nothing on standard output), 64 on wrong usage. Output is
// UTF-8 with "\n" line ends on every platform.
#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>

#include "calc/Cp1252.h"
#include "calc/Exceptions.h"
#include "calc/LocaleFormats.h"
#include "calc/Usart.h"
#include "calc/UsartTable.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace {

constexpr int kExitConversionError = 2;
constexpr int kExitUsage = 64;  // EX_USAGE
constexpr char kUsage[] = "usage: baudix-table [--csv] FREQUENCY BAUDRATE\n";

void Write(std::FILE* stream, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

void LoadLocale() {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  const LCID lcid = GetThreadLocale();
  LoadLocaleFormats([lcid](uint32_t item, char* buffer, int size) {
    return GetLocaleInfoA(lcid, item, buffer, size);
  });
#else
  std::setlocale(LC_ALL, "");
  LoadLocaleFormats(HostLocaleItemReader);
#endif
}

// A command-line argument as the entry field would hold it (code page 1252).
std::string FieldText(const char* argument) {
#ifdef _WIN32
  return argument;  // already in the ANSI code page
#else
  return Utf8ToCp1252(argument);
#endif
}

}  // namespace

int main(int argc, char** argv) {
  const bool csv = argc >= 2 && std::strcmp(argv[1], "--csv") == 0;
  if (argc != (csv ? 4 : 3)) {
    Write(stderr, kUsage);
    return kExitUsage;
  }
  LoadLocale();
  if (csv) LocaleFormats.DecimalSeparator = '.';

  const int first = csv ? 2 : 1;
  TUsartTable table(FieldText(argv[first]), FieldText(argv[first + 1]));
  try {
    CalcUSART(table);
  } catch (const Exception& error) {
    Write(stderr, Cp1252ToUtf8(ErrorBoxText(error.Message())) + "\n");
    return kExitConversionError;
  }
  const std::string text = csv ? UsartTableCsv(table, ExactU2X0, ExactU2X1)
                               : UsartTableText(table, ExactU2X0, ExactU2X1);
  Write(stdout, Cp1252ToUtf8(text));
  return 0;
}
