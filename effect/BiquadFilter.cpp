#include "effect/BiquadFilter.h"

#include <algorithm>

namespace quorvel {

void BiquadFilter::SetFrequency(double hz) {
  if (hz != frequency_) {
    frequency_ = std::max(1.0, hz);
    ComputeCoefficients();
  }
}

void BiquadFilter::SetQ(double value) {
  const double limited = std::max(0.001, value);
  if (limited != q_) {
    q_ = limited;
    ComputeCoefficients();
  }
}

void BiquadFilter::SetSampleRate(double rate) {
  sampleRate_ = rate;
  ComputeCoefficients();
  state_ = {};
}

double BiquadFilter::Process(double x) { return Step(state_, x, CurrentCoefficients()); }

HPF::HPF() { ComputeCoefficients(); }

void HPF::ComputeCoefficients() {
  const CoefficientLanes<StereoPair> c = CoefficientsAt(Splat(frequency_));
  b0_ = c.b0[0];
  b1_ = c.b1[0];
  b2_ = c.b2[0];
  a1_ = c.a1[0];
  a2_ = c.a2[0];
}

void BiquadFilter::TakeSettingsOf(const BiquadFilter& other) {
  sampleRate_ = other.sampleRate_;
  frequency_ = other.frequency_;
  q_ = other.q_;
  b0_ = other.b0_;
  b1_ = other.b1_;
  b2_ = other.b2_;
  a1_ = other.a1_;
  a2_ = other.a2_;
}

}  // namespace quorvel
