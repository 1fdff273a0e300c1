// The printed forms of baudix-table. A report is a list of lines, each one
// rate at one frequency with both modes' cells as the window shows them, the
// numbers behind them and the receiver's verdict for a frame: either the
// window's 18 rows, or one rate at each common crystal (a survey). The same
// writers print both, as an aligned text table, CSV or JSON; a line also
// becomes a C header with the register values for a firmware build.
//
// Texts are code page 1252 like the cells; error cells carry the decimal
// separator they were computed with ("." for the CSV, JSON and header forms).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "calc/Receiver.h"
#include "calc/UsartTable.h"

// One mode of one line.
struct TReportMode {
  std::string ubbr;   // the register cell, "-" when there is no value
  std::string error;  // the error cell, "-" likewise
  bool exact = false;
  TUsartMode values;
  TVerdict verdict = TVerdict::kNone;
};

struct TReportLine {
  int row = 0;        // the grid row; 0 in a survey
  std::string label;  // the rate cell ("2000000 MAX"), or the crystal in Hz
  int32_t frequency = 0;
  int32_t rate = 0;
  TReportMode modes[2];  // U2X = 0, U2X = 1
};

struct TUsartReport {
  bool survey = false;        // lines are crystals rather than rates
  std::string frequencyText;  // as typed; empty in a survey
  std::string baudRateText;   // as typed
  TFrame frame;
  std::vector<TReportLine> lines;
};

// The common oscillator frequencies in Hz, the baud-rate crystals among them.
inline constexpr int32_t kCrystalFrequencies[] = {1000000, 1843200,  2000000,  3686400,  4000000,  7372800,
                                                  8000000, 11059200, 14745600, 16000000, 18432000, 20000000};

// Rows 1 to 18 of a recalculated table with its exact-match flags.
TUsartReport RateReport(const TUsartTable& table, const bool* exact0, const bool* exact1,
                        const TFrame& frame);

// The rate typed as `baudRateText` at every crystal: row 1 of the table that
// CalcUSART makes for it, so cells and marks are the window's. Raises what
// CalcUSART raises.
TUsartReport CrystalSurvey(const std::string& baudRateText, const TFrame& frame);

// The aligned text table: the captions "U2X = 0" and "U2X = 1" over the
// grid's headers, one line per report line, after each error a mark ("*"
// exact, "!" marginal, "x" fails), then a legend. With `hex` register values
// read "0x067". Lines end in "\n".
std::string ReportText(const TUsartReport& report, bool hex);

// CSV: "row,rate" (a survey: "frequency"), then per mode the cells and the
// exact flag (0/1) as the window's columns, then per mode UBRRH, UBRRL and
// the verdict word ("-" where the window shows "-"). With `hex` the register
// values read "0x067", "0x0", "0x67".
std::string ReportCsv(const TUsartReport& report, bool hex);

// One JSON document: the inputs as typed and as numbers, the frame, and the
// lines ("rows" or "crystals") with per mode "ubbr", "ubrrh", "ubrrl" (null
// without a value), "error" (the cell), "error_percent" (the number, null
// without a value), "exact" and "verdict" (null without a value).
std::string ReportJson(const TUsartReport& report);

// The mode a header uses for `line`: normal speed when its verdict is ok and
// double speed's is not, double speed in the opposite case, and when both
// are ok the smaller |error| (normal speed on a tie); -1 when neither is ok.
int HeaderMode(const TReportLine& line);

// A C header for `line` with mode `u2x` (from HeaderMode): BAUDIX_F_OSC,
// BAUDIX_BAUD, BAUDIX_UBRR, BAUDIX_UBRRH, BAUDIX_UBRRL and BAUDIX_U2X, with
// the error and the frame in a comment.
std::string ReportHeader(const TReportLine& line, const TFrame& frame, int u2x);

// Why `line` has no mode for a header: both modes' errors and verdicts.
std::string NoHeaderReason(const TReportLine& line, const TFrame& frame);
