// The whole recalculation as the window runs it: CalcUSART through a
// TUsartTableView on two entry texts of at most 8 characters (all a field
// holds), for any model and frame, under the application's x87 control word,
// so that a floating-point fault ends the run. A text that TextToInteger
// rejects may only raise its error, at the step where that text is read; for
// every other pair each group's two cells are both "-" or a register value
// within its family's range with its error, and the table and flags are what
// the family's exact arithmetic gives.
//
// Input: the frequency text, "\n", the baud-rate text, and optionally "\n",
// the decimal separator (else "."), a byte choosing the model (its value
// modulo the list's length; else the ATmega128) and one choosing the frame's
// bits, 7 to 13 (else 10). Each text is cut to 8 characters: from 9 on, a
// rate can wrap k * b to 0, which faults by design.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ExactFamilies.h"
#include "FuzzSupport.h"
#include "X87ControlWord.h"
#include "calc/LocaleFormats.h"
#include "calc/Usart.h"
#include "calc/UsartTable.h"

namespace {

constexpr size_t kFieldLength = 8;
constexpr char kDefaultSeparator = '.';
constexpr int kMinFrameBits = 7;   // 5N1
constexpr int kFrameBitChoices = 7;  // up to 9E2: 13

struct Fields {
  std::string_view frequency;
  std::string_view baudRate;
  char separator = kDefaultSeparator;
  const TAvrModel* model = &DefaultAvrModel();
  int frameBits = kWindowFrameBits;
};

Fields ReadFields(std::string_view input) {
  Fields fields;
  const size_t first = input.find('\n');
  fields.frequency = input.substr(0, std::min(first, kFieldLength));
  if (first == std::string_view::npos) return fields;
  const std::string_view rest = input.substr(first + 1);
  const size_t second = rest.find('\n');
  fields.baudRate = rest.substr(0, std::min(second, kFieldLength));
  if (second == std::string_view::npos) return fields;
  const std::string_view options = rest.substr(second + 1);
  if (options.size() > 0) fields.separator = options[0];
  const auto models = AvrModels();
  if (options.size() > 1) fields.model = &models[static_cast<unsigned char>(options[1]) % models.size()];
  if (options.size() > 2) fields.frameBits = kMinFrameBits + static_cast<unsigned char>(options[2]) % kFrameBitChoices;
  return fields;
}

// The application's x87 control word while it lives. Restoring waits for
// the x87, so a fault still pending from the run is raised there at last.
class ApplicationControlWord {
 public:
  ApplicationControlWord() : previous_(LoadX87ControlWord(kApplicationControlWord)) {}
  ~ApplicationControlWord() { LoadX87ControlWord(previous_); }

 private:
  uint16_t previous_;
};

bool AllFlags(bool value) {
  for (int i = 0; i < kUsartFlagCount; ++i) {
    if (ExactU2X0[i] != value || ExactU2X1[i] != value) return false;
  }
  return true;
}

bool NoCellWritten(const TUsartTable& table) {
  for (int row = 1; row <= kUsartRateCount; ++row) {
    for (int col = 0; col < kUsartColumnCount; ++col) {
      if (!table.Cell(col, row).empty()) return false;
    }
  }
  return true;
}

// An integer as IntegerToText writes one, within min..max.
bool IsIntegerIn(std::string_view text, int min, int max) {
  const bool negative = !text.empty() && text[0] == '-';
  const std::string_view digits = negative ? text.substr(1) : text;
  if (digits.empty() || digits.size() > 5 || (digits.size() > 1 && digits[0] == '0')) return false;
  for (const char c : digits) {
    if (c < '0' || c > '9') return false;
  }
  const int value = std::stoi(std::string(text));
  return value >= min && value <= max && !(negative && value == 0);
}

// A register cell within its family's range: "4095", "65535", "1047/-6",
// "2/46".
bool IsRegisterCell(TBaudFamily family, int group, const std::string& text) {
  const size_t slash = text.find('/');
  const std::string_view value = std::string_view(text).substr(0, slash);
  const std::string_view scale = slash == std::string::npos ? "" : std::string_view(text).substr(slash + 1);
  switch (family) {
    case TBaudFamily::kUart8: return group == 0 && slash == std::string::npos && IsIntegerIn(value, 0, 255);
    case TBaudFamily::kFractional: return slash == std::string::npos && IsIntegerIn(value, 64, 65535);
    case TBaudFamily::kXmega: return IsIntegerIn(value, 0, 4095) && IsIntegerIn(scale, -7, 7);
    case TBaudFamily::kLin:
      return IsIntegerIn(value, 0, 4095) && (group == 0 ? slash == std::string::npos : IsIntegerIn(scale, 8, 63));
    case TBaudFamily::kClassic:
    case TBaudFamily::kUart12: return slash == std::string::npos && IsIntegerIn(value, 0, 4095);
  }
  return false;
}

// The pairs of register and error cells, each both "-" or both filled.
void CheckModeCells(const TUsartTable& table, TBaudFamily family, const std::string& input) {
  for (int row = 1; row <= kUsartRateCount; ++row) {
    for (const int group : {0, 1}) {
      const int col = 1 + 2 * group;
      const std::string& value = table.Cell(col, row);
      const std::string& error = table.Cell(col + 1, row);
      Expect((value == "-") == (error == "-"), input, ": row ", row, " shows ", value, " with ", error);
      Expect(value == "-" || IsRegisterCell(family, group, value), input, ": row ", row, " register ", value);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Fields fields = ReadFields(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string input = Quoted(fields.frequency) + " " + Quoted(fields.baudRate) + " on the " +
                            fields.model->name + ", " + std::to_string(fields.frameBits) + " frame bits";
  const std::optional<int32_t> f = fields.frequency.empty() ? 0 : ExpectedInteger(fields.frequency);
  const std::optional<int32_t> b = fields.baudRate.empty() ? 0 : ExpectedInteger(fields.baudRate);

  LocaleFormats.DecimalSeparator = fields.separator;
  for (int i = 0; i < kUsartFlagCount; ++i) ExactU2X0[i] = ExactU2X1[i] = true;
  TUsartTable table{std::string(fields.frequency), std::string(fields.baudRate), *fields.model, fields.frameBits};
  try {
    const ApplicationControlWord controlWord;
    CalcUSART(table);
  } catch (const EConvertError& e) {
    // The rate is read first; its rejection changes nothing, the frequency's
    // clears the flags but writes no cell.
    const std::string_view rejected = !b ? fields.baudRate : fields.frequency;
    Expect(!b || !f, input, " raised ", Quoted(e.Message()));
    Expect(e.Message() == InvalidIntegerMessage(rejected), input, " raised ", Quoted(e.Message()));
    Expect(AllFlags(!b), input, ": flags after the error");
    Expect(NoCellWritten(table), input, ": a cell written before the error");
    return 0;
  } catch (...) {
    EscapedError(input);
  }
  Expect(f && b, input, " accepted");
  const TBaudFamily family = fields.model->family;
  CheckModeCells(table, family, input);
  const std::string mismatch =
      exact::FamilyTableMismatch(table, ExactU2X0, ExactU2X1, family, *f, *b, fields.frameBits, fields.separator);
  Expect(mismatch.empty(), input, ": ", mismatch);
  return 0;
}
