#include "calc/UsartTable.h"

#include <algorithm>
#include <cstring>

TUsartTable::TUsartTable(std::string frequency, std::string baudRate)
    : frequency_(std::move(frequency)), baudRate_(std::move(baudRate)) {
  for (int col = 0; col < kUsartColumnCount; ++col) cells_[0][col] = kUsartHeaders[col];
}

void TUsartTable::SetTexts(std::string frequency, std::string baudRate) {
  frequency_ = std::move(frequency);
  baudRate_ = std::move(baudRate);
}

namespace {

constexpr char kColumnGap[] = "  ";
constexpr char kExactMark[] = " *";
constexpr char kNoMark[] = "  ";

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

}  // namespace

std::string UsartTableText(const TUsartTable& table, const bool* exact0, const bool* exact1) {
  size_t widths[kUsartColumnCount] = {};
  for (int col = 0; col < kUsartColumnCount; ++col) {
    for (int row = 0; row < TUsartTable::kRows; ++row) {
      widths[col] = std::max(widths[col], table.Cell(col, row).size());
    }
  }
  const size_t gap = std::strlen(kColumnGap);
  const size_t mark = std::strlen(kExactMark);
  // A group: UBBR, gap, ERROR and its mark.
  size_t groupWidth[2];
  for (int g = 0; g < 2; ++g) {
    groupWidth[g] = widths[1 + 2 * g] + gap + widths[2 + 2 * g] + mark;
    const size_t caption = std::strlen(g == 0 ? kCaptionU2X0 : kCaptionU2X1);
    if (caption > groupWidth[g]) {
      widths[2 + 2 * g] += caption - groupWidth[g];
      groupWidth[g] = caption;
    }
  }

  std::string out;
  std::string line;
  // The captions, centred over their groups.
  line.append(widths[0], ' ');
  for (int g = 0; g < 2; ++g) {
    const std::string caption = g == 0 ? kCaptionU2X0 : kCaptionU2X1;
    const size_t left = (groupWidth[g] - caption.size()) / 2;
    line += kColumnGap;
    line.append(left, ' ');
    line += caption;
    line.append(groupWidth[g] - caption.size() - left, ' ');
  }
  EndLine(out, line);

  for (int row = 0; row < TUsartTable::kRows; ++row) {
    AppendAligned(line, table.Cell(0, row), widths[0], false);
    for (int g = 0; g < 2; ++g) {
      const int col = 1 + 2 * g;
      line += kColumnGap;
      AppendAligned(line, table.Cell(col, row), widths[col], true);
      line += kColumnGap;
      AppendAligned(line, table.Cell(col + 1, row), widths[col + 1], true);
      const bool* exact = g == 0 ? exact0 : exact1;
      line += row > 0 && exact[row - 1] ? kExactMark : kNoMark;
    }
    EndLine(out, line);
  }
  return out;
}

std::string UsartTableCsv(const TUsartTable& table, const bool* exact0, const bool* exact1) {
  std::string out = "row,rate,ubbr_u2x0,error_u2x0,exact_u2x0,ubbr_u2x1,error_u2x1,exact_u2x1\n";
  for (int row = 1; row < TUsartTable::kRows; ++row) {
    out += std::to_string(row);
    for (int col = 0; col < kUsartColumnCount; ++col) {
      out += ',';
      out += table.Cell(col, row);
      if (col == 2) out += exact0[row - 1] ? ",1" : ",0";
    }
    out += exact1[row - 1] ? ",1" : ",0";
    out += '\n';
  }
  return out;
}
