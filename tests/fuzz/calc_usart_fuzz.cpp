// The whole recalculation as the window runs it: CalcUSART through a
// TUsartTableView on two entry texts of at most 8 characters (all a field
// holds), under the application's x87 control word, so that a floating-point
// fault ends the run. A text that TextToInteger rejects may only raise its
// error, at the step where that text is read; for every other pair each
// mode's two cells are both "-" or a register value 0..4095 with its error,
// and the table and flags are what exact arithmetic gives.
//
// Input: the frequency text, "\n", the baud-rate text, and optionally "\n"
// and the decimal separator (else "."). Each text is cut to 8 characters:
// from 9 on, a rate can wrap k * b to 0, which faults by design.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ExactUsart.h"
#include "FuzzSupport.h"
#include "X87ControlWord.h"
#include "calc/LocaleFormats.h"
#include "calc/Usart.h"
#include "calc/UsartTable.h"

namespace {

constexpr size_t kFieldLength = 8;
constexpr char kDefaultSeparator = '.';
constexpr int kMaxRegister = 4095;

struct Fields {
  std::string_view frequency;
  std::string_view baudRate;
  char separator = kDefaultSeparator;
};

Fields ReadFields(std::string_view input) {
  Fields fields;
  const size_t first = input.find('\n');
  fields.frequency = input.substr(0, std::min(first, kFieldLength));
  if (first == std::string_view::npos) return fields;
  const std::string_view rest = input.substr(first + 1);
  const size_t second = rest.find('\n');
  fields.baudRate = rest.substr(0, std::min(second, kFieldLength));
  if (second != std::string_view::npos && second + 1 < rest.size()) fields.separator = rest[second + 1];
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

// A register value as IntegerToText writes one, within 12 bits.
bool IsRegisterValue(const std::string& text) {
  if (text.empty() || text.size() > 4 || (text.size() > 1 && text[0] == '0')) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return std::stoi(text) <= kMaxRegister;
}

// The pairs of register and error cells, each both "-" or both filled.
void CheckModeCells(const TUsartTable& table, const std::string& input) {
  for (int row = 1; row <= kUsartRateCount; ++row) {
    for (const int col : {1, 3}) {
      const std::string& value = table.Cell(col, row);
      const std::string& error = table.Cell(col + 1, row);
      Expect((value == "-") == (error == "-"), input, ": row ", row, " shows ", value, " with ", error);
      Expect(value == "-" || IsRegisterValue(value), input, ": row ", row, " register value ", value);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Fields fields = ReadFields(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string input = Quoted(fields.frequency) + " " + Quoted(fields.baudRate);
  const std::optional<int32_t> f = fields.frequency.empty() ? 0 : ExpectedInteger(fields.frequency);
  const std::optional<int32_t> b = fields.baudRate.empty() ? 0 : ExpectedInteger(fields.baudRate);

  LocaleFormats.DecimalSeparator = fields.separator;
  for (int i = 0; i < kUsartFlagCount; ++i) ExactU2X0[i] = ExactU2X1[i] = true;
  TUsartTable table{std::string(fields.frequency), std::string(fields.baudRate)};
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
  CheckModeCells(table, input);
  const std::string mismatch = exact::TableMismatch(table, ExactU2X0, ExactU2X1, *f, *b, fields.separator);
  Expect(mismatch.empty(), input, ": ", mismatch);
  return 0;
}
