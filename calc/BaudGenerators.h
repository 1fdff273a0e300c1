// The baud-rate generators of the AVR families: from a clock f and a rate b
// to the setting of one column group, and what that setting is called in
// registers.
//
//   classic     UBRR = f/(S b) - 1 rounded, 0..4095; S = 16, or 8 with U2X.
//   uart8/12    the same with S = 16 only, 0..255 or 0..4095; no second group.
//   lin         LDIV = f/(LBT b) - 1 rounded half up, 0..4095; group 1 with
//               LBT = 32, group 2 the LBT of 8..63 whose rate is nearest b
//               (the larger LBT on a tie).
//   fractional  BAUD = 64 f/(S b) rounded half up, 64..65535.
//   xmega       BSEL/BSCALE: for each BSCALE -7..7 the two BSEL around the
//               exact one, legal for the frame, the rate nearest b (on a tie
//               the smaller |BSCALE|, then the smaller BSEL).
//
// The classic and early-UART families keep the ATmega128 table's own
// arithmetic (ComputeUsartMode: an extended quotient, the actual rate in
// 32 bits); the others are exact in 64-bit integers. In every family the
// error is taken against the actual rate truncated to an integer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "calc/AvrModels.h"
#include "calc/Usart.h"

// Group `group` (0 or 1) of family `family` for clock f and rate b. The
// frame bits (start, data, parity, stop) limit the XMEGA's BSCALE. Raises
// what ComputeUsartMode raises, in the families that use it.
TUsartMode ComputeBaudGroup(TBaudFamily family, int group, int32_t f, int32_t b, int frameBits);

// Whether the receiver's double-speed tolerance applies to a group: the one
// sampling 8 times per bit; on the LIN/UART, an LBT below 16.
bool JudgedAsDoubleSpeed(TBaudFamily family, int group, const TUsartMode& mode);

// The register cell: "556", "1047/-6" (BSEL/BSCALE), "2/46" (LDIV/LBT);
// "-" without a valid setting. With `hex` the register value is written
// "0x22C" with as many digits as the register has ("0x417/-6").
std::string RegisterCellText(TBaudFamily family, int group, const TUsartMode& mode, bool hex);

// One value to load for a setting.
struct TRegisterField {
  const char* key;     // "ubrrh": JSON and CSV
  const char* define;  // "UBRRH": the header's BAUDIX_UBRRH
  int32_t value;       // meaningful only for a valid setting
  int hexDigits;       // digits in hexadecimal; 0: always decimal (BSCALE, LBT)
  bool byte;           // an 8-bit register, written in hexadecimal in a header
};

// A setting's fields in register order; the first is the value the register
// cell starts with.
std::vector<TRegisterField> RegisterFields(TBaudFamily family, const TUsartMode& mode);

// "0x22C": `value` in hexadecimal with at least `digits` digits.
std::string HexText(int32_t value, int digits);
