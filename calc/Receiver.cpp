#include "calc/Receiver.h"

#include <cmath>

namespace {

constexpr int kMinDataBits = 5;
constexpr int kMaxDataBits = 9;

// Clock ticks per bit (S) and the ticks of the first (SF) and the middle (SM)
// of the three samples that decide a bit: a slow frame must still show its
// stop bit at the first, a fast one must not show the next start bit at the
// middle one.
struct TSampling {
  int64_t ticks, firstSample, middleSample;
};
constexpr TSampling kNormalSampling = {16, 8, 9};
constexpr TSampling kDoubleSampling = {8, 4, 5};

// Recommended maximum error in percent for 5..10 sampled bits.
constexpr double kRecommendedNormal[] = {3.0, 2.5, 2.0, 2.0, 1.5, 1.5};
constexpr double kRecommendedDouble[] = {2.5, 2.0, 1.5, 1.5, 1.5, 1.0};

}  // namespace

std::string TFrame::Text() const {
  return std::to_string(dataBits) + parity + std::to_string(stopBits);
}

bool ParseFrame(std::string_view text, TFrame& frame) {
  if (text.size() != 3) return false;
  const int data = text[0] - '0';
  const char parity = text[1];
  const int stop = text[2] - '0';
  if (data < kMinDataBits || data > kMaxDataBits) return false;
  if (parity != 'N' && parity != 'E' && parity != 'O') return false;
  if (stop != 1 && stop != 2) return false;
  frame = {data, parity, stop};
  return true;
}

TReceiverRange ReceiverRange(const TFrame& frame, bool doubleSpeed) {
  const TSampling s = doubleSpeed ? kDoubleSampling : kNormalSampling;
  const int64_t d = frame.SampledBits();
  return {(d + 1) * s.ticks, s.ticks - 1 + d * s.ticks + s.firstSample,
          (d + 2) * s.ticks, (d + 1) * s.ticks + s.middleSample};
}

double RecommendedMaxError(const TFrame& frame, bool doubleSpeed) {
  const double* table = doubleSpeed ? kRecommendedDouble : kRecommendedNormal;
  return table[frame.SampledBits() - kMinDataBits];
}

TVerdict ReceiverVerdict(const TFrame& frame, bool doubleSpeed, int32_t rate, const TUsartMode& mode) {
  if (!mode.valid) return TVerdict::kNone;
  if (std::fabs(mode.error) <= RecommendedMaxError(frame, doubleSpeed)) return TVerdict::kOk;
  // actual / rate inside slow..fast, compared in integers so that a ratio on
  // a bound counts as inside.
  const TReceiverRange r = ReceiverRange(frame, doubleSpeed);
  const int64_t actual = mode.actual;
  const bool inside = actual * r.slowDenominator >= r.slowNumerator * rate &&
                      actual * r.fastDenominator <= r.fastNumerator * rate;
  return inside ? TVerdict::kMarginal : TVerdict::kFails;
}

const char* VerdictText(TVerdict verdict) {
  switch (verdict) {
    case TVerdict::kOk: return "ok";
    case TVerdict::kMarginal: return "marginal";
    case TVerdict::kFails: return "fails";
    case TVerdict::kNone: break;
  }
  return "-";
}
