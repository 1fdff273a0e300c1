// The recalculation: for 18 baud rates, the baud-rate register value and
// the baud-rate error in two column groups, for the model the view names.
// On the ATmega128 ("UBBR") the groups are normal speed (U2X = 0, 16 clock
// cycles per bit) and double speed (U2X = 1, 8 cycles per bit); the other
// families' groups are in BaudGenerators.h.
#pragma once

#include <cstdint>
#include <string>

#include "calc/AvrModels.h"

// One group of one row, for frequency f and rate b. The fields x and the
// rules beside n and valid are the classic USART's, for sample factor k
// (16 or 8); the other families fill n, scale, valid, actual and error.
struct TUsartMode {
  double x = -1.0;     // f / (k * b) - 1, or -1 for b <= 0
  int32_t n = 0;       // x + 0.5 truncated, low 32 bits: the register value
  int32_t scale = 0;   // BSCALE on the XMEGA, LBT on the LIN/UART, else 0
  bool valid = false;  // n >= 0, x >= 0 and n below the register limit (4096)
  int32_t actual = 0;  // f div (k * (n + 1)), when valid: the rate, truncated
  double error = 0.0;  // ((actual - b) * 100) / b, when valid
};

// The character frame of the window, 8N1: start, 8 data and stop bit.
inline constexpr int kWindowFrameBits = 10;

// What CalcUSART reads and writes: the window implements it with its two
// entry fields and its result grid; tests, the benchmark and baudix-table
// with plain data (UsartTable.h).
class TUsartTableView {
 public:
  virtual ~TUsartTableView() = default;
  // The text of QelMaskEdit1, "Frequenz [Hz]" (code page 1252).
  virtual std::string FrequencyText() = 0;
  // The text of QelMaskEdit2, "Baudrate [bps]".
  virtual std::string BaudRateText() = 0;
  // The model computed for, and the bits of the frame it must carry (they
  // bound the XMEGA's scale).
  virtual const TAvrModel& Model() { return DefaultAvrModel(); }
  virtual int FrameBits() { return kWindowFrameBits; }
  // Sets the text of grid cell (col 0..4, row 1..18) of StringGrid_USART.
  virtual void SetCell(int col, int row, const std::string& text) = 0;
  // The numbers behind row `row` (1..18), after its five cells: frequency f,
  // the row's rate b and the two modes (normal, double speed). The window
  // only shows texts and ignores them; baudix-table judges them.
  virtual void SetRowValues(int /*row*/, int32_t /*f*/, int32_t /*b*/, const TUsartMode& /*normal*/,
                            const TUsartMode& /*fast*/) {}
};

inline constexpr int kUsartRateCount = 18;   // grid rows 1 to 18
inline constexpr int kUsartFlagCount = 20;   // entries 18 and 19 stay false
inline constexpr int kUsartColumnCount = 5;

// Exact-match flags: entry i belongs to grid row i + 1. The first group (normal
// speed): the absolute error is below 0.01 percent; the second (double
// speed): the error is zero.
extern bool ExactU2X0[kUsartFlagCount];
extern bool ExactU2X1[kUsartFlagCount];

// The sixteen standard rates of grid rows 2 to 17.
inline constexpr int32_t kStandardBaudRates[16] = {
    2400,   4800,   9600,   14400,  19200,   28800,   38400,   57600,
    76800,  115200, 230400, 250000, 500000,  1000000, 2000000, 2500000};

// Rebuilds grid rows 1 to 18 and the flags for the view's model. Reads the
// model and the frame, then the baud-rate text, then clears the flags, then reads the frequency
// text, then writes the rows in order, each row's columns 0 to 4 and then its
// values (SetRowValues). A text that
// TextToInteger rejects raises EConvertError: after the baud-rate text
// nothing has changed; after the frequency text the flags are cleared and no
// cell is rewritten. A rate whose product k * rate wraps to 0 in 32 bits
// (only from texts longer than the fields' 8 characters) raises EZeroDivide,
// or EInvalidOp for a frequency of 0, as the x87 with the control word $1332
// would; the families in exact integers raise nothing.
void CalcUSART(TUsartTableView& view);

// The classic USART's arithmetic for sample factor k, with register values
// below `registerLimit`.
TUsartMode ComputeUsartMode(int32_t f, int32_t b, int32_t k, int32_t registerLimit = 4096);

// n := x + 0.5 truncated toward zero; the sum is formed with a 64-bit
// mantissa and not rounded to a double: 0.49999999999999994 gives 0. Only
// the low 32 bits of the truncated value are kept.
int32_t TruncateHalfUp(double x);
