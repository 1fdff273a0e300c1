#include "calc/UsartReport.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

#include "calc/NumberText.h"

namespace {

constexpr char kColumnGap[] = "  ";
constexpr size_t kMarkWidth = 2;  // a blank and the mark
constexpr char kFrequencyHeading[] = "Frequenz [Hz]";
constexpr char kNoValue[] = "-";
constexpr char kHexByte[] = "0x%.2x";  // the header's UBRRH and UBRRL
const char* const kModeKeys[2] = {"u2x0", "u2x1"};
const char* const kCaptions[2] = {kCaptionU2X0, kCaptionU2X1};

TReportMode MakeMode(const TUsartTable& table, int row, int u2x, bool exact, const TFrame& frame) {
  TReportMode mode;
  mode.ubbr = table.Cell(1 + 2 * u2x, row);
  mode.error = table.Cell(2 + 2 * u2x, row);
  mode.exact = exact;
  mode.values = table.Mode(row, u2x);
  mode.verdict = ReceiverVerdict(frame, u2x == 1, table.Rate(row), mode.values);
  return mode;
}

TReportLine MakeLine(const TUsartTable& table, int row, bool exact0, bool exact1, const TFrame& frame) {
  TReportLine line;
  line.row = row;
  line.label = table.Cell(0, row);
  line.frequency = table.Frequency();
  line.rate = table.Rate(row);
  line.modes[0] = MakeMode(table, row, 0, exact0, frame);
  line.modes[1] = MakeMode(table, row, 1, exact1, frame);
  return line;
}

char Mark(const TReportMode& mode) {
  if (mode.exact) return '*';
  if (mode.verdict == TVerdict::kMarginal) return '!';
  if (mode.verdict == TVerdict::kFails) return 'x';
  return ' ';
}

// The register UBBR holds 12 bits: UBRRH gets the high 4, UBRRL the low 8.
enum TRegisterPart { kWhole, kHigh, kLow };
constexpr int kLowBits = 8;
constexpr int32_t kLowMask = 0xFF;
// In hexadecimal, per part: the register with 3 digits, the bytes with 1 and 2.
constexpr const char* kHexPatterns[] = {"0x%.3x", "0x%x", "0x%.2x"};

int32_t RegisterPart(int32_t n, TRegisterPart part) {
  if (part == kHigh) return n >> kLowBits;
  return part == kLow ? n & kLowMask : n;
}

// A register value or one of its bytes as the text and CSV forms show it.
std::string RegisterText(const TReportMode& mode, TRegisterPart part, bool hex) {
  if (!mode.values.valid) return kNoValue;
  const int32_t value = RegisterPart(mode.values.n, part);
  return hex ? FormatText(kHexPatterns[part], {value}) : IntegerToText(value);
}

// The shortest text that reads back as the same double.
std::string ShortestNumber(double value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20) {
      out += FormatText("\\u%.4x", {static_cast<int32_t>(u)});
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string JsonMode(const TReportMode& mode) {
  const bool valid = mode.values.valid;
  const auto number = [&](TRegisterPart part) {
    return valid ? IntegerToText(RegisterPart(mode.values.n, part)) : "null";
  };
  return std::string("{\"ubbr\": ") + number(kWhole) + ", \"ubrrh\": " + number(kHigh) +
         ", \"ubrrl\": " + number(kLow) + ", \"error\": " + JsonString(mode.error) +
         ", \"error_percent\": " + (valid ? ShortestNumber(mode.values.error) : "null") +
         ", \"exact\": " + (mode.exact ? "true" : "false") +
         ", \"verdict\": " + (valid ? JsonString(VerdictText(mode.verdict)) : "null") + "}";
}

void AppendAligned(std::string& line, const std::string& text, size_t width, bool right) {
  const size_t pad = width > text.size() ? width - text.size() : 0;
  if (right) line.append(pad, ' ');
  line += text;
  if (!right) line.append(pad, ' ');
}

void EndLine(std::string& out, std::string& line) {
  line.erase(line.find_last_not_of(' ') + 1);
  out += line;
  out += '\n';
  line.clear();
}

std::string Percent(double value) {
  std::string text;
  AppendFixed(text, value, 1, '.');
  return text + "%";
}

}  // namespace

TUsartReport RateReport(const TUsartTable& table, const bool* exact0, const bool* exact1,
                        const TFrame& frame) {
  TUsartReport report;
  report.frequencyText = table.TypedFrequency();
  report.baudRateText = table.TypedBaudRate();
  report.frame = frame;
  for (int row = 1; row < TUsartTable::kRows; ++row) {
    report.lines.push_back(MakeLine(table, row, exact0[row - 1], exact1[row - 1], frame));
  }
  return report;
}

TUsartReport CrystalSurvey(const std::string& baudRateText, const TFrame& frame) {
  TUsartReport report;
  report.survey = true;
  report.baudRateText = baudRateText;
  report.frame = frame;
  for (const int32_t crystal : kCrystalFrequencies) {
    TUsartTable table(IntegerToText(crystal), baudRateText);
    CalcUSART(table);
    TReportLine line = MakeLine(table, 1, ExactU2X0[0], ExactU2X1[0], frame);
    line.row = 0;
    line.label = IntegerToText(crystal);
    report.lines.push_back(std::move(line));
  }
  return report;
}

std::string ReportText(const TUsartReport& report, bool hex) {
  // Column texts: the heading row, then one row per line.
  std::vector<std::array<std::string, kUsartColumnCount>> cells;
  cells.push_back({report.survey ? kFrequencyHeading : kUsartHeaders[0], kUsartHeaders[1], kUsartHeaders[2],
                   kUsartHeaders[3], kUsartHeaders[4]});
  for (const TReportLine& line : report.lines) {
    cells.push_back({line.label, RegisterText(line.modes[0], kWhole, hex), line.modes[0].error,
                     RegisterText(line.modes[1], kWhole, hex), line.modes[1].error});
  }
  size_t widths[kUsartColumnCount] = {};
  for (const auto& row : cells) {
    for (int col = 0; col < kUsartColumnCount; ++col) widths[col] = std::max(widths[col], row[col].size());
  }
  const size_t gap = std::strlen(kColumnGap);
  // A group: UBBR, gap, ERROR and its mark, at least as wide as its caption.
  size_t groupWidth[2];
  for (int g = 0; g < 2; ++g) {
    groupWidth[g] = widths[1 + 2 * g] + gap + widths[2 + 2 * g] + kMarkWidth;
    const size_t caption = std::strlen(kCaptions[g]);
    if (caption > groupWidth[g]) {
      widths[2 + 2 * g] += caption - groupWidth[g];
      groupWidth[g] = caption;
    }
  }

  std::string out;
  std::string text;
  // The captions, centred over their groups.
  text.append(widths[0], ' ');
  for (int g = 0; g < 2; ++g) {
    const size_t caption = std::strlen(kCaptions[g]);
    const size_t left = (groupWidth[g] - caption) / 2;
    text += kColumnGap;
    text.append(left, ' ');
    text += kCaptions[g];
    text.append(groupWidth[g] - caption - left, ' ');
  }
  EndLine(out, text);

  for (size_t row = 0; row < cells.size(); ++row) {
    AppendAligned(text, cells[row][0], widths[0], false);
    for (int g = 0; g < 2; ++g) {
      const int col = 1 + 2 * g;
      text += kColumnGap;
      AppendAligned(text, cells[row][col], widths[col], true);
      text += kColumnGap;
      AppendAligned(text, cells[row][col + 1], widths[col + 1], true);
      text += ' ';
      text += row > 0 ? Mark(report.lines[row - 1].modes[g]) : ' ';
    }
    EndLine(out, text);
  }
  if (report.survey) out += "Baudrate " + IntegerToText(report.lines.front().rate) + " bps, ";
  out += "frame " + report.frame.Text() + ": * exact, ! marginal, x fails\n";
  return out;
}

std::string ReportCsv(const TUsartReport& report, bool hex) {
  std::string out = report.survey ? "frequency" : "row,rate";
  out +=
      ",ubbr_u2x0,error_u2x0,exact_u2x0,ubbr_u2x1,error_u2x1,exact_u2x1"
      ",ubrrh_u2x0,ubrrl_u2x0,verdict_u2x0,ubrrh_u2x1,ubrrl_u2x1,verdict_u2x1\n";
  for (const TReportLine& line : report.lines) {
    out += report.survey ? line.label : std::to_string(line.row) + "," + line.label;
    for (const TReportMode& mode : line.modes) {
      out += "," + RegisterText(mode, kWhole, hex) + "," + mode.error + (mode.exact ? ",1" : ",0");
    }
    for (const TReportMode& mode : line.modes) {
      out += "," + RegisterText(mode, kHigh, hex) + "," + RegisterText(mode, kLow, hex) + "," +
             VerdictText(mode.verdict);
    }
    out += '\n';
  }
  return out;
}

std::string ReportJson(const TUsartReport& report) {
  const TReportLine& first = report.lines.front();
  std::string out = "{\n";
  if (!report.survey) {
    out += "  \"frequency_text\": " + JsonString(report.frequencyText) + ",\n";
  }
  out += "  \"baud_rate_text\": " + JsonString(report.baudRateText) + ",\n";
  if (!report.survey) out += "  \"frequency\": " + IntegerToText(first.frequency) + ",\n";
  out += "  \"baud_rate\": " + IntegerToText(first.rate) + ",\n";
  out += "  \"frame\": " + JsonString(report.frame.Text()) + ",\n";
  out += report.survey ? "  \"crystals\": [\n" : "  \"rows\": [\n";
  for (size_t i = 0; i < report.lines.size(); ++i) {
    const TReportLine& line = report.lines[i];
    out += report.survey
               ? "    {\"frequency\": " + IntegerToText(line.frequency)
               : "    {\"row\": " + std::to_string(line.row) + ", \"rate\": " + JsonString(line.label);
    for (int u2x = 0; u2x < 2; ++u2x) {
      out += ",\n     \"" + std::string(kModeKeys[u2x]) + "\": " + JsonMode(line.modes[u2x]);
    }
    out += i + 1 < report.lines.size() ? "},\n" : "}\n";
  }
  return out + "  ]\n}\n";
}

int HeaderMode(const TReportLine& line) {
  const bool ok0 = line.modes[0].verdict == TVerdict::kOk;
  const bool ok1 = line.modes[1].verdict == TVerdict::kOk;
  if (ok0 && ok1) {
    return std::fabs(line.modes[1].values.error) < std::fabs(line.modes[0].values.error) ? 1 : 0;
  }
  if (ok0) return 0;
  return ok1 ? 1 : -1;
}

std::string ReportHeader(const TReportLine& line, const TFrame& frame, int u2x) {
  const TReportMode& mode = line.modes[u2x];
  const int32_t n = mode.values.n;
  std::string out = "/* Baud-rate register for " + IntegerToText(line.frequency) + " Hz and " +
                    IntegerToText(line.rate) + " bps, frame " + frame.Text() + " (baudix-table).\n";
  out += "   U2X = " + std::to_string(u2x) + ": error " + mode.error + ", receiver verdict " +
         VerdictText(mode.verdict) + ". */\n";
  out += "#ifndef BAUDIX_USART_H\n#define BAUDIX_USART_H\n\n";
  out += "#define BAUDIX_F_OSC " + IntegerToText(line.frequency) + "UL\n";
  out += "#define BAUDIX_BAUD " + IntegerToText(line.rate) + "UL\n";
  out += "#define BAUDIX_UBRR " + IntegerToText(n) + "\n";
  out += "#define BAUDIX_UBRRH " + FormatText(kHexByte, {RegisterPart(n, kHigh)}) + "\n";
  out += "#define BAUDIX_UBRRL " + FormatText(kHexByte, {RegisterPart(n, kLow)}) + "\n";
  out += "#define BAUDIX_U2X " + std::to_string(u2x) + "\n";
  return out + "\n#endif\n";
}

std::string NoHeaderReason(const TReportLine& line, const TFrame& frame) {
  std::string out = "no setting for " + IntegerToText(line.rate) + " bps at " +
                    IntegerToText(line.frequency) + " Hz keeps the error within the recommended ";
  out += Percent(RecommendedMaxError(frame, false)) + " (U2X = 0) or " +
         Percent(RecommendedMaxError(frame, true)) + " (U2X = 1) for frame " + frame.Text() + ":";
  for (int u2x = 0; u2x < 2; ++u2x) {
    const TReportMode& mode = line.modes[u2x];
    out += u2x == 0 ? " " : ", ";
    out += "U2X = " + std::to_string(u2x) + " ";
    out += mode.values.valid ? mode.error + " (" + VerdictText(mode.verdict) + ")" : "has no register value";
  }
  return out;
}
