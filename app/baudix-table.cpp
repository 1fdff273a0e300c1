// baudix-table: the result table of the recalculation on the command line,
// for any model of the list, for build scripts, firmware sources and
// choosing a crystal. The options and exit statuses are listed in kHelp
// below.
//
// The arguments FREQUENCY and BAUDRATE are the entry fields' texts as typed
// ("" is an empty field). Output is UTF-8 with "\n" line ends on every
// platform.
#include <clocale>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "calc/AvrModels.h"
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
    "usage: baudix-table [--device NAME] [--csv | --json] [--hex] [--frame FRAME] FREQUENCY BAUDRATE\n"
    "       baudix-table [--device NAME] [--csv | --json] [--hex] [--frame FRAME] --crystals BAUDRATE\n"
    "       baudix-table [--device NAME] [--frame FRAME] --header FREQUENCY BAUDRATE\n"
    "       baudix-table --devices\n"
    "       baudix-table --help\n";
constexpr char kHelp[] =
    "\n"
    "The baud-rate register value and the baud-rate error for a clock frequency\n"
    "in Hz and a rate in bps, in the two column groups of the chosen AVR, for\n"
    "that rate, 16 standard rates and the highest one. FREQUENCY and BAUDRATE\n"
    "are read as the window reads its fields (\"\" is 0).\n"
    "\n"
    "  --device NAME     the AVR model, in any letter case (default ATmega128);\n"
    "                    --devices lists them with their family\n"
    "  (no option)       aligned text table; after an error * marks an exact\n"
    "                    setting, ! a marginal one and x one that fails\n"
    "  --csv             CSV with \".\" as decimal separator, the register fields\n"
    "                    and the verdict per group as extra columns\n"
    "  --json            the same as one JSON document, errors also as numbers,\n"
    "                    with the actual rate per group\n"
    "  --hex             register values in hexadecimal (0x067) in text and CSV\n"
    "  --frame FRAME     the character frame the receiver must read: data bits\n"
    "                    5-9, parity N/E/O, stop bits 1/2 (default 8N1); on the\n"
    "                    XMEGA it also bounds BSCALE\n"
    "  --crystals RATE   the rate at each common crystal from 1 to 20 MHz\n"
    "  --header          a C header with the register values for the rate; the\n"
    "                    first group unless only the second is ok or is better\n"
    "\n"
    "Families and their groups:\n"
    "  classic     megaAVR/tinyAVR USART: UBRR, U2X = 0 and U2X = 1\n"
    "  uart8       early UART, 8-bit UBRR, no double speed\n"
    "  uart12      early UART, 12-bit UBRRHI:UBRR, no double speed\n"
    "  lin         LIN/UART: LDIV with LBT = 32, and LDIV/LBT with the best LBT\n"
    "              of 8..63 (UART mode, LDISR set)\n"
    "  fractional  tinyAVR 0/1/2, megaAVR 0, AVR Dx/Ex: BAUD with 6 fraction bits,\n"
    "              CLK2X = 0 and 1; FREQUENCY is CLK_PER, after the prescaler\n"
    "  xmega       XMEGA: BSEL/BSCALE, CLK2X = 0 and 1; FREQUENCY is fPER\n"
    "Header defines: BAUDIX_UBRR, _UBRRH, _UBRRL, _U2X (UBRR families);\n"
    "BAUDIX_BAUD, _BAUDH, _BAUDL, _CLK2X (fractional, the rate as\n"
    "BAUDIX_BAUDRATE); BAUDIX_BSEL, _BSCALE, _BAUDCTRLA, _BAUDCTRLB, _CLK2X\n"
    "(xmega); BAUDIX_LDIV, _LBT, _LINBRRH, _LINBRRL, _LINBTR (lin).\n"
    "\n"
    "Verdict per group: ok when |error| is within the recommended maximum for\n"
    "the frame, marginal when the receiver still samples every bit of a frame\n"
    "correctly, fails beyond that (the LIN/UART by the double-speed table below\n"
    "16 samples per bit, else by the normal-speed one).\n"
    "\n"
    "Exit status: 0; 2 when a text is not an integer (the message on standard\n"
    "error); 3 when --header finds no group that is ok; 64 on wrong usage or\n"
    "an unknown model.\n"
    "\n"
    "Examples:\n"
    "  baudix-table 16000000 115200\n"
    "  baudix-table --json --frame 8E1 16000000 115200 > usart.json\n"
    "  baudix-table --header 14745600 115200 > usart_baud.h || exit 1\n"
    "  baudix-table --crystals 115200\n"
    "  baudix-table --device AT90S2313 4000000 9600\n"
    "  baudix-table --device AT90S4433 8000000 2400\n"
    "  baudix-table --device ATtiny167 16000000 115200\n"
    "  baudix-table --device ATmega4809 --header 3333333 9600\n"
    "  baudix-table --device ATxmega128A4U --frame 8N1 32000000 115200\n";

enum class TForm { kText, kCsv, kJson, kHeader };

struct TOptions {
  TForm form = TForm::kText;
  bool hex = false;
  bool crystals = false;
  bool help = false;
  bool devices = false;
  bool deviceGiven = false;
  const TAvrModel* model = &DefaultAvrModel();
  std::string unknownModel;  // a --device name not in the list
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
    } else if (option == "--devices") {
      options.devices = true;
    } else if (option == "--device") {
      ok = ++i < argc && !options.deviceGiven;
      options.deviceGiven = true;
      if (ok) {
        const TAvrModel* model = FindAvrModel(argv[i]);
        if (model == nullptr) options.unknownModel = argv[i];
        options.model = model != nullptr ? model : options.model;
      }
    } else if (option == "--frame") {
      ok = ++i < argc && ParseFrame(argv[i], options.frame);
    } else {
      ok = false;
    }
    if (!ok) return false;
  }
  if (options.help || options.devices) return argc == 2;
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

// One line per model: its name, a tab and its family's key.
std::string DeviceList() {
  std::string out;
  for (const TAvrModel& model : AvrModels()) {
    out += std::string(model.name) + "\t" + FamilyInfo(model.family).key + "\n";
  }
  return out;
}

TUsartReport MakeReport(const TOptions& options) {
  if (options.crystals) {
    return CrystalSurvey(FieldText(options.texts[0]), options.frame, *options.model);
  }
  TUsartTable table(FieldText(options.texts[0]), FieldText(options.texts[1]), *options.model,
                    options.frame.Bits());
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
  if (options.devices) {
    Write(stdout, DeviceList());
    return 0;
  }
  if (!options.unknownModel.empty()) {
    Write(stderr, "baudix-table: unknown model '" + Cp1252ToUtf8(FieldText(options.unknownModel)) +
                      "'; baudix-table --devices lists the models\n");
    return kExitUsage;
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
      const int group = HeaderMode(line);
      if (group < 0) {
        Write(stderr, "baudix-table: " + NoHeaderReason(report, line) + "\n");
        return kExitNoHeaderSetting;
      }
      out = ReportHeader(report, line, group);
      break;
    }
  }
  Write(stdout, Cp1252ToUtf8(out));
  return 0;
}
