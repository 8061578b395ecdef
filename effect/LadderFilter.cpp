#include "effect/LadderFilter.h"

#include <algorithm>
#include <cmath>

#include "effect/Saturation.h"

namespace quorvel {

namespace {
// Stage states are kept 20000 times larger than the signal, so the saturation input is
// scaled back down and the stage gain scaled up to match.
constexpr double kStateScale = 5e-5;
constexpr double kGainScale = 40000.0;
constexpr double kSilence = 1e-10;
}  // namespace

LadderFilter::LadderFilter() {
  ComputeCoefficients();
}

void LadderFilter::SetCutoff(double hz) {
  if (hz != cutoff) {
    cutoff = hz;
    ComputeCoefficients();
  }
}

void LadderFilter::SetResonance(double amount) {
  if (amount != resonance) {
    resonance = amount;
    ComputeCoefficients();
  }
}

void LadderFilter::Reset(double rate) {
  sampleRate = rate;
  s0 = s1 = s2 = s3 = 0.0;
  s3Previous = 0.0;
  output = 0.0;
  t0 = t1 = t2 = 0.0;
  ComputeCoefficients();
}

void LadderFilter::ComputeCoefficients() {
  double f = cutoff / sampleRate;
  if (resonance != 0.0) {
    // Resonance near the top of the range would run away close to Nyquist.
    const double limit = resonance < 0.25 ? 0.5 - resonance : 0.25;
    f = std::min(f, limit);
  }
  normalizedCutoff = f;
  const double x = 2.0 * f;
  const double x2 = x * x;
  tuning = 1.873 * (x2 * x) + 0.4955 * x2 - 0.649 * x + 0.9988;
  resonanceScale = (-3.9364 * x2 + 1.8409 * x + 0.9968) * 4.0 * resonance;
  gain = (1.0 - std::exp(-6.28318530717959 * tuning * f)) * kGainScale;
}

double LadderFilter::Process(double x) {
  if (x == 0.0)
    x = kSilence;
  const double a = Saturate((x - resonanceScale * output) * kStateScale);
  s0 = s0 + (a - t0) * gain;
  t0 = Saturate(s0 * kStateScale);
  s1 = s1 + (t0 - t1) * gain;
  t1 = Saturate(s1 * kStateScale);
  s2 = s2 + (t1 - t2) * gain;
  t2 = Saturate(s2 * kStateScale);
  s3 = s3 + (t2 - Saturate(s3 * kStateScale)) * gain;
  output = (s3 + s3Previous) * 0.5;
  s3Previous = s3;
  return output;
}

}  // namespace quorvel
