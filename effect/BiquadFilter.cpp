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

StereoBiquad::StereoBiquad(BiquadFilter& l, BiquadFilter& r) : left_(l), right_(r) {
  const auto& a = left_.state_;
  const auto& b = right_.state_;
  state_ = {Pack(a.x1, b.x1), Pack(a.x2, b.x2), Pack(a.y1, b.y1), Pack(a.y2, b.y2)};
}

StereoBiquad::~StereoBiquad() {
  const auto& p = state_;
  left_.state_ = {p.x1[0], p.x2[0], p.y1[0], p.y2[0]};
  right_.state_ = {p.x1[1], p.x2[1], p.y1[1], p.y2[1]};
  right_.sampleRate_ = left_.sampleRate_;
  right_.frequency_ = left_.frequency_;
  right_.q_ = left_.q_;
  right_.b0_ = left_.b0_;
  right_.b1_ = left_.b1_;
  right_.b2_ = left_.b2_;
  right_.a1_ = left_.a1_;
  right_.a2_ = left_.a2_;
}

}  // namespace quorvel
