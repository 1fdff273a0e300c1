// The printed forms of baudix-table. A report is a list of lines, each one
// rate at one frequency with both column groups' cells as the window shows
// them for one model, the numbers behind them and the receiver's verdict for
// a frame: either the window's 18 rows, or one rate at each common crystal
// (a survey). The same writers print both, as an aligned text table, CSV or
// JSON; a line also becomes a C header with the register values for a
// firmware build. Groups and registers are named as the model's family names
// them (AvrModels.h, BaudGenerators.h).
//
// Texts are code page 1252 like the cells; error cells carry the decimal
// separator they were computed with ("." for the CSV, JSON and header forms).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "calc/Receiver.h"
#include "calc/UsartTable.h"

// One column group of one line.
struct TReportMode {
  std::string ubbr;   // the register cell ("UBBR" and its kin), "-" when there is no value
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
  TReportMode modes[2];  // the groups: U2X = 0, U2X = 1 on the ATmega128
};

struct TUsartReport {
  const TAvrModel* model = &DefaultAvrModel();
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
TUsartReport CrystalSurvey(const std::string& baudRateText, const TFrame& frame,
                           const TAvrModel& model = DefaultAvrModel());

// The aligned text table: the family's group captions ("U2X = 0", "U2X = 1")
// over the grid's headers, one line per report line, after each error a mark
// ("*" exact, "!" marginal, "x" fails), then a legend. With `hex` register
// values read "0x067". Lines end in "\n".
std::string ReportText(const TUsartReport& report, bool hex);

// CSV: "row,rate" (a survey: "frequency"), then per group the cells and the
// exact flag (0/1) as the window's columns, then per group the register
// fields after the first (UBRRH, UBRRL) and the verdict word ("-" where the
// window shows "-"). Columns are named after the field and the group key
// ("ubrrh_u2x0"), a register column after its header ("ubbr_u2x0",
// "bsel_bscale_clk2x0"). With `hex` the register values read "0x067", "0x0",
// "0x67".
std::string ReportCsv(const TUsartReport& report, bool hex);

// One JSON document: the model and its family, the inputs as typed and as
// numbers, the frame, and the lines ("rows" or "crystals") with per group
// (under its key, "u2x0") "register" (the cell), the register fields ("ubbr",
// "ubrrh", "ubrrl"; null without a value), "error" (the cell),
// "error_percent" (the number, null without a value), "exact", "verdict" and
// "actual_rate" (both null without a value).
std::string ReportJson(const TUsartReport& report);

// The mode a header uses for `line`: normal speed when its verdict is ok and
// double speed's is not, double speed in the opposite case, and when both
// are ok the smaller |error| (normal speed on a tie); -1 when neither is ok.
int HeaderMode(const TReportLine& line);

// A C header for `line` of `report` with group `group` (from HeaderMode):
// the clock (BAUDIX_F_OSC, or BAUDIX_F_PER where the generator runs from the
// peripheral clock), the rate (BAUDIX_BAUD, or BAUDIX_BAUDRATE where BAUD is
// the register), the family's register fields (BAUDIX_UBRR, BAUDIX_UBRRH,
// BAUDIX_UBRRL) and its double-speed bit (BAUDIX_U2X), with the model, the
// error, the verdict and the frame in a comment.
std::string ReportHeader(const TUsartReport& report, const TReportLine& line, int group);

// Why `line` has no group for a header: each group's error and verdict.
std::string NoHeaderReason(const TUsartReport& report, const TReportLine& line);
