#include "effect/BiquadFilter.h"

#include <algorithm>
#include <cmath>

namespace quorvel {

namespace {
constexpr double kSilence = 1e-10;
constexpr double kMaxFrequencyRatio = 0.499;
}  // namespace

void BiquadFilter::SetFrequency(double hz) {
  if (hz != frequency) {
    frequency = std::max(1.0, hz);
    ComputeCoefficients();
  }
}

void BiquadFilter::SetQ(double value) {
  q = std::max(0.001, value);
  ComputeCoefficients();
}

void BiquadFilter::SetSampleRate(double rate) {
  sampleRate = rate;
  ComputeCoefficients();
  x1 = x2 = y1 = y2 = 0.0;
}

double BiquadFilter::EffectiveFrequency() const {
  // The requested corner is kept, so a later higher sample rate gets it back.
  return std::min(frequency, kMaxFrequencyRatio * sampleRate);
}

double BiquadFilter::Process(double x) {
  double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
  if (y > -kSilence)
    y = std::max(kSilence, y);
  x2 = x1;
  x1 = x;
  y2 = y1;
  y1 = y;
  return y;
}

HPF::HPF() {
  ComputeCoefficients();
}

void HPF::ComputeCoefficients() {
  const double w = EffectiveFrequency() / sampleRate * 6.283185307179586;
  const double c = std::cos(w);
  const double alpha = std::sin(w) / (2.0 * q);
  const double k = 1.0 / (1.0 + alpha);
  b0 = (1.0 + c) * 0.5 * k;
  b1 = -(1.0 + c) * k;
  b2 = b0;
  a1 = -2.0 * c * k;
  a2 = (1.0 - alpha) * k;
}

}  // namespace quorvel
