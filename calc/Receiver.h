// Whether a receiver copes with a baud-rate error: the USART receiver samples
// each bit in the middle of its 16 (normal speed) or 8 (double speed) clock
// ticks and resynchronises only on the start bit, so the error it tolerates
// shrinks with the number of bits in a frame.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "calc/Usart.h"

// A character frame such as "8N1": data bits 5..9, parity N, E or O, stop
// bits 1 or 2. Only the data and parity bits count for the receiver: it reads
// the first stop bit and then waits for the next start bit.
struct TFrame {
  int dataBits = 8;
  char parity = 'N';
  int stopBits = 1;

  // Data bits plus the parity bit.
  int SampledBits() const { return dataBits + (parity == 'N' ? 0 : 1); }
  // Every bit of a frame: the start bit, the sampled bits and the stop bits.
  int Bits() const { return 1 + SampledBits() + stopBits; }
  std::string Text() const;
};

// "8N1" and the like, upper case, nothing else; false leaves `frame` as it was.
bool ParseFrame(std::string_view text, TFrame& frame);

// The ratio of the incoming rate to the receiver's rate that the receiver
// still accepts, slow <= ratio <= fast, as exact fractions.
struct TReceiverRange {
  int64_t slowNumerator, slowDenominator;
  int64_t fastNumerator, fastDenominator;
};
TReceiverRange ReceiverRange(const TFrame& frame, bool doubleSpeed);

// The largest |error| in percent that leaves the receiver a safe margin for
// the other side's error and for noise.
double RecommendedMaxError(const TFrame& frame, bool doubleSpeed);

// Per mode: kOk when |error| is within the recommended maximum, kMarginal
// when the actual rate over the wanted rate is still inside the receiver's
// range, kFails beyond it; kNone when the mode has no register value.
enum class TVerdict { kNone, kOk, kMarginal, kFails };
TVerdict ReceiverVerdict(const TFrame& frame, bool doubleSpeed, int32_t rate, const TUsartMode& mode);

// "ok", "marginal", "fails", or "-" for kNone.
const char* VerdictText(TVerdict verdict);
