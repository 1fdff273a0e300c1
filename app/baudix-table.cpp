// baudix-table: the result table of the recalculation on the command line,
// for build scripts, firmware sources and choosing a crystal. The options
// and exit statuses are listed in kHelp below.
//
// The arguments FREQUENCY and BAUDRATE are the entry fields' texts as typed
// ("" is an empty field). Output is UTF-8 with "\n" line ends on every
// platform.
#include <clocale>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "calc/Cp1252.h"
#include "calc/Exceptions.h"
#include "calc/LocaleFormats.h"
#include "calc/Receiver.h"
#include "calc/Usart.h"
#include "calc/UsartReport.h"
#include "calc/UsartTable.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace {

constexpr int kExitConversionError = 2;
constexpr int kExitNoHeaderSetting = 3;
constexpr int kExitUsage = 64;  // EX_USAGE
constexpr char kUsage[] =
    "usage: baudix-table [--csv | --json] [--hex] [--frame FRAME] FREQUENCY BAUDRATE\n"
    "       baudix-table [--csv | --json] [--hex] [--frame FRAME] --crystals BAUDRATE\n"
    "       baudix-table [--frame FRAME] --header FREQUENCY BAUDRATE\n"
    "       baudix-table --help\n";
constexpr char kHelp[] =
    "\n"
    "The USART baud-rate register value (UBBR) and the baud-rate error for a\n"
    "frequency in Hz and a rate in bps, at normal speed (U2X = 0) and double\n"
    "speed (U2X = 1), for that rate, 16 standard rates and the highest one.\n"
    "FREQUENCY and BAUDRATE are read as the window reads its fields (\"\" is 0).\n"
    "\n"
    "  (no option)       aligned text table; after an error * marks an exact\n"
    "                    setting, ! a marginal one and x one that fails\n"
    "  --csv             CSV with \".\" as decimal separator, UBRRH, UBRRL and the\n"
    "                    verdict per mode as extra columns\n"
    "  --json            the same as one JSON document, errors also as numbers\n"
    "  --hex             register values in hexadecimal (0x067) in text and CSV\n"
    "  --frame FRAME     the character frame the receiver must read: data bits\n"
    "                    5-9, parity N/E/O, stop bits 1/2 (default 8N1)\n"
    "  --crystals RATE   the rate at each common crystal from 1 to 20 MHz\n"
    "  --header          a C header with BAUDIX_UBRR, BAUDIX_UBRRH, BAUDIX_UBRRL\n"
    "                    and BAUDIX_U2X for the rate; normal speed unless only\n"
    "                    double speed is ok or is better\n"
    "\n"
    "Verdict per mode: ok when |error| is within the recommended maximum for the\n"
    "frame, marginal when the receiver still samples every bit of a frame\n"
    "correctly, fails beyond that.\n"
    "\n"
    "Exit status: 0; 2 when a text is not an integer (the message on standard\n"
    "error); 3 when --header finds no mode that is ok; 64 on wrong usage.\n"
    "\n"
    "Examples:\n"
    "  baudix-table 16000000 115200\n"
    "  baudix-table --json --frame 8E1 16000000 115200 > usart.json\n"
    "  baudix-table --header 14745600 115200 > usart_baud.h || exit 1\n"
    "  baudix-table --crystals 115200\n";

enum class TForm { kText, kCsv, kJson, kHeader };

struct TOptions {
  TForm form = TForm::kText;
  bool hex = false;
  bool crystals = false;
  bool help = false;
  TFrame frame;
  std::vector<std::string> texts;  // FREQUENCY BAUDRATE, or BAUDRATE
};

// Options come first, each starting with "--"; then the field texts, which
// may start with "-". False on any unknown, repeated or conflicting option or
// a wrong number of texts.
bool ParseArguments(int argc, char** argv, TOptions& options) {
  int i = 1;
  bool formGiven = false;
  const auto setForm = [&](TForm form) {
    if (formGiven) return false;
    formGiven = true;
    options.form = form;
    return true;
  };
  for (; i < argc && std::string_view(argv[i]).starts_with("--"); ++i) {
    const std::string_view option = argv[i];
    bool ok = true;
    if (option == "--csv") {
      ok = setForm(TForm::kCsv);
    } else if (option == "--json") {
      ok = setForm(TForm::kJson);
    } else if (option == "--header") {
      ok = setForm(TForm::kHeader);
    } else if (option == "--hex") {
      ok = !options.hex;
      options.hex = true;
    } else if (option == "--crystals") {
      ok = !options.crystals;
      options.crystals = true;
    } else if (option == "--help") {
      options.help = true;
    } else if (option == "--frame") {
      ok = ++i < argc && ParseFrame(argv[i], options.frame);
    } else {
      ok = false;
    }
    if (!ok) return false;
  }
  if (options.help) return argc == 2;
  options.texts.assign(argv + i, argv + argc);
  const bool textForms = options.form == TForm::kText || options.form == TForm::kCsv;
  if (options.hex && !textForms) return false;
  if (options.crystals && options.form == TForm::kHeader) return false;
  return options.texts.size() == (options.crystals ? 1u : 2u);
}

void Write(std::FILE* stream, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

// "\n" stays "\n" on Windows too, from the first line written.
void UseBinaryOutput() {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#endif
}

void LoadLocale() {
#ifdef _WIN32
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
std::string FieldText(const std::string& argument) {
#ifdef _WIN32
  return argument;  // already in the ANSI code page
#else
  return Utf8ToCp1252(argument);
#endif
}

TUsartReport MakeReport(const TOptions& options) {
  if (options.crystals) return CrystalSurvey(FieldText(options.texts[0]), options.frame);
  TUsartTable table(FieldText(options.texts[0]), FieldText(options.texts[1]));
  CalcUSART(table);
  return RateReport(table, ExactU2X0, ExactU2X1, options.frame);
}

}  // namespace

int main(int argc, char** argv) {
  UseBinaryOutput();
  TOptions options;
  if (!ParseArguments(argc, argv, options)) {
    Write(stderr, kUsage);
    return kExitUsage;
  }
  if (options.help) {
    Write(stdout, std::string(kUsage) + kHelp);
    return 0;
  }
  LoadLocale();
  // The machine-readable forms do not depend on the user's locale.
  if (options.form != TForm::kText) LocaleFormats.DecimalSeparator = '.';

  TUsartReport report;
  try {
    report = MakeReport(options);
  } catch (const Exception& error) {
    Write(stderr, Cp1252ToUtf8(ErrorBoxText(error.Message())) + "\n");
    return kExitConversionError;
  }
  std::string out;
  switch (options.form) {
    case TForm::kText: out = ReportText(report, options.hex); break;
    case TForm::kCsv: out = ReportCsv(report, options.hex); break;
    case TForm::kJson: out = ReportJson(report); break;
    case TForm::kHeader: {
      // Row 1 holds the typed rate.
      const TReportLine& line = report.lines.front();
      const int u2x = HeaderMode(line);
      if (u2x < 0) {
        Write(stderr, "baudix-table: " + NoHeaderReason(line, options.frame) + "\n");
        return kExitNoHeaderSetting;
      }
      out = ReportHeader(line, options.frame, u2x);
      break;
    }
  }
  Write(stdout, Cp1252ToUtf8(out));
  return 0;
}
