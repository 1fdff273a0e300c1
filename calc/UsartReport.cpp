#include "calc/UsartReport.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

#include "calc/BaudGenerators.h"
#include "calc/NumberText.h"

namespace {

constexpr char kColumnGap[] = "  ";
constexpr size_t kMarkWidth = 2;  // a blank and the mark
constexpr char kNoValue[] = "-";
constexpr int kHexByteDigits = 2;  // a header's register bytes

TBaudFamily FamilyOf(const TUsartReport& report) { return report.model->family; }

TReportMode MakeMode(const TUsartTable& table, int row, int group, bool exact, const TFrame& frame) {
  TReportMode mode;
  mode.ubbr = table.Cell(1 + 2 * group, row);
  mode.error = table.Cell(2 + 2 * group, row);
  mode.exact = exact;
  mode.values = table.Mode(row, group);
  const bool doubleSpeed = JudgedAsDoubleSpeed(table.Device().family, group, mode.values);
  mode.verdict = ReceiverVerdict(frame, doubleSpeed, table.Rate(row), mode.values);
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

// A register field as the text and CSV forms show it.
std::string FieldText(const TReportMode& mode, const TRegisterField& field, bool hex) {
  if (!mode.values.valid) return kNoValue;
  return hex && field.hexDigits > 0 ? HexText(field.value, field.hexDigits) : IntegerToText(field.value);
}

// The register fields after the first: the first is the register cell.
std::vector<TRegisterField> ExtraFields(TBaudFamily family, const TReportMode& mode) {
  std::vector<TRegisterField> fields = RegisterFields(family, mode.values);
  fields.erase(fields.begin());
  return fields;
}

// A header as a CSV column name: "BSEL/BSCALE" is "bsel_bscale".
std::string ColumnKey(const char* header) {
  std::string key = header;
  for (char& c : key) c = c == '/' ? '_' : c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  return key;
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

std::string JsonMode(TBaudFamily family, const TReportMode& mode) {
  const bool valid = mode.values.valid;
  std::string out = "{\"register\": " + JsonString(mode.ubbr);
  for (const TRegisterField& field : RegisterFields(family, mode.values)) {
    out += ", \"" + std::string(field.key) + "\": " + (valid ? IntegerToText(field.value) : "null");
  }
  return out + ", \"error\": " + JsonString(mode.error) +
         ", \"error_percent\": " + (valid ? ShortestNumber(mode.values.error) : "null") +
         ", \"exact\": " + (mode.exact ? "true" : "false") +
         ", \"verdict\": " + (valid ? JsonString(VerdictText(mode.verdict)) : "null") +
         ", \"actual_rate\": " + (valid ? IntegerToText(mode.values.actual) : "null") + "}";
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
  report.model = &table.Device();
  report.frequencyText = table.TypedFrequency();
  report.baudRateText = table.TypedBaudRate();
  report.frame = frame;
  for (int row = 1; row < TUsartTable::kRows; ++row) {
    report.lines.push_back(MakeLine(table, row, exact0[row - 1], exact1[row - 1], frame));
  }
  return report;
}

TUsartReport CrystalSurvey(const std::string& baudRateText, const TFrame& frame,
                           const TAvrModel& model) {
  TUsartReport report;
  report.model = &model;
  report.survey = true;
  report.baudRateText = baudRateText;
  report.frame = frame;
  for (const int32_t crystal : kCrystalFrequencies) {
    TUsartTable table(IntegerToText(crystal), baudRateText, model, frame.Bits());
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
  const TBaudFamily family = FamilyOf(report);
  const TBaudFamilyInfo& info = FamilyInfo(family);
  std::vector<std::array<std::string, kUsartColumnCount>> cells;
  cells.push_back({report.survey ? info.frequencyLabel : UsartHeader(family, 0), UsartHeader(family, 1),
                   UsartHeader(family, 2), UsartHeader(family, 3), UsartHeader(family, 4)});
  for (const TReportLine& line : report.lines) {
    cells.push_back({line.label, RegisterCellText(family, 0, line.modes[0].values, hex), line.modes[0].error,
                     RegisterCellText(family, 1, line.modes[1].values, hex), line.modes[1].error});
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
    const size_t caption = std::strlen(info.captions[g]);
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
    const size_t caption = std::strlen(info.captions[g]);
    const size_t left = (groupWidth[g] - caption) / 2;
    text += kColumnGap;
    text.append(left, ' ');
    text += info.captions[g];
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
  const TBaudFamily family = FamilyOf(report);
  const TBaudFamilyInfo& info = FamilyInfo(family);
  std::string out = report.survey ? "frequency" : "row,rate";
  // Each field after the first is appended with its comma; texts put in
  // front of a temporary string make GCC 12 warn wrongly of overlapping
  // copies.
  const auto field = [&out](const std::string& text, const char* group = nullptr) {
    out += ',';
    out += text;
    if (group != nullptr) (out += '_') += group;
  };
  for (int g = 0; g < 2; ++g) {
    field(ColumnKey(info.registerHeaders[g]), info.groupKeys[g]);
    field("error", info.groupKeys[g]);
    field("exact", info.groupKeys[g]);
  }
  for (int g = 0; g < 2; ++g) {
    for (const TRegisterField& extra : ExtraFields(family, {})) field(extra.key, info.groupKeys[g]);
    field("verdict", info.groupKeys[g]);
  }
  out += '\n';
  for (const TReportLine& line : report.lines) {
    if (!report.survey) out += std::to_string(line.row) + ",";
    out += line.label;
    for (int g = 0; g < 2; ++g) {
      const TReportMode& mode = line.modes[g];
      field(RegisterCellText(family, g, mode.values, hex));
      field(mode.error);
      field(mode.exact ? "1" : "0");
    }
    for (const TReportMode& mode : line.modes) {
      for (const TRegisterField& extra : ExtraFields(family, mode)) field(FieldText(mode, extra, hex));
      field(VerdictText(mode.verdict));
    }
    out += '\n';
  }
  return out;
}

std::string ReportJson(const TUsartReport& report) {
  const TReportLine& first = report.lines.front();
  const TBaudFamily family = FamilyOf(report);
  const TBaudFamilyInfo& info = FamilyInfo(family);
  std::string out = "{\n";
  out += "  \"device\": " + JsonString(report.model->name) + ",\n";
  out += "  \"family\": " + JsonString(info.key) + ",\n";
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
    for (int g = 0; g < 2; ++g) {
      out += ",\n     \"" + std::string(info.groupKeys[g]) + "\": " + JsonMode(family, line.modes[g]);
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

std::string ReportHeader(const TUsartReport& report, const TReportLine& line, int group) {
  const TBaudFamily family = FamilyOf(report);
  const TBaudFamilyInfo& info = FamilyInfo(family);
  const TReportMode& mode = line.modes[group];
  const TFrame& frame = report.frame;
  // Where the generator runs from the peripheral clock the define says so;
  // where BAUD is the register, the rate cannot take its name.
  const bool peripheralClock = family == TBaudFamily::kFractional || family == TBaudFamily::kXmega;
  const char* const clockDefine = peripheralClock ? "BAUDIX_F_PER" : "BAUDIX_F_OSC";
  const char* const rateDefine = family == TBaudFamily::kFractional ? "BAUDIX_BAUDRATE" : "BAUDIX_BAUD";
  std::string out = "/* Baud-rate register of the " + std::string(report.model->name) + " for " +
                    IntegerToText(line.frequency) + " Hz and " + IntegerToText(line.rate) + " bps, frame " +
                    frame.Text() + " (baudix-table).\n";
  out += "   " + std::string(info.captions[group]) + ": error " + mode.error + ", receiver verdict " +
         VerdictText(mode.verdict) + ". */\n";
  out += "#ifndef BAUDIX_USART_H\n#define BAUDIX_USART_H\n\n";
  out += "#define " + std::string(clockDefine) + " " + IntegerToText(line.frequency) + "UL\n";
  out += "#define " + std::string(rateDefine) + " " + IntegerToText(line.rate) + "UL\n";
  for (const TRegisterField& field : RegisterFields(family, mode.values)) {
    // A negative value in parentheses, so that it stays one operand.
    std::string value = field.byte ? HexText(field.value, kHexByteDigits) : IntegerToText(field.value);
    if (!field.byte && field.value < 0) value = '(' + value + ')';
    out += "#define BAUDIX_" + std::string(field.define) + " " + value + "\n";
  }
  if (info.speedDefine != nullptr) {
    out += "#define BAUDIX_" + std::string(info.speedDefine) + " " + std::to_string(group) + "\n";
  }
  return out + "\n#endif\n";
}

std::string NoHeaderReason(const TUsartReport& report, const TReportLine& line) {
  const TBaudFamily family = FamilyOf(report);
  const TBaudFamilyInfo& info = FamilyInfo(family);
  const TFrame& frame = report.frame;
  const int groups = info.secondGroup ? 2 : 1;
  std::string out = "no setting for " + IntegerToText(line.rate) + " bps at " +
                    IntegerToText(line.frequency) + " Hz keeps the error within the recommended ";
  for (int g = 0; g < groups; ++g) {
    const bool doubleSpeed = JudgedAsDoubleSpeed(family, g, line.modes[g].values);
    out += g == 0 ? "" : " or ";
    out += Percent(RecommendedMaxError(frame, doubleSpeed)) + " (" + info.captions[g] + ")";
  }
  out += " for frame " + frame.Text() + ":";
  for (int g = 0; g < groups; ++g) {
    const TReportMode& mode = line.modes[g];
    out += g == 0 ? " " : ", ";
    out += std::string(info.captions[g]) + " ";
    out += mode.values.valid ? mode.error + " (" + VerdictText(mode.verdict) + ")" : "has no register value";
  }
  return out;
}
