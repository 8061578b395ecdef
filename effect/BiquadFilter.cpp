#include "effect/BiquadFilter.h"

#include <algorithm>

namespace quorvel {

void BiquadFilter::SetFrequency(double hz) {
  if (hz != frequency) {
    frequency = std::max(1.0, hz);
    ComputeCoefficients();
  }
}

void BiquadFilter::SetQ(double value) {
  const double limited = std::max(0.001, value);
  if (limited != q) {
    q = limited;
    ComputeCoefficients();
  }
}

void BiquadFilter::SetSampleRate(double rate) {
  sampleRate = rate;
  ComputeCoefficients();
  state = {};
}

double BiquadFilter::Process(double x) {
  return Step(state, x, CurrentCoefficients());
}

HPF::HPF() {
  ComputeCoefficients();
}

void HPF::ComputeCoefficients() {
  const CoefficientLanes<StereoPair> c = CoefficientsAt(Splat(frequency));
  b0 = c.b0[0];
  b1 = c.b1[0];
  b2 = c.b2[0];
  a1 = c.a1[0];
  a2 = c.a2[0];
}

StereoBiquad::StereoBiquad(BiquadFilter& l, BiquadFilter& r) : left(l), right(r) {
  const auto& a = left.state;
  const auto& b = right.state;
  state = {Pack(a.x1, b.x1), Pack(a.x2, b.x2), Pack(a.y1, b.y1), Pack(a.y2, b.y2)};
}

StereoBiquad::~StereoBiquad() {
  const auto& p = state;
  left.state = {p.x1[0], p.x2[0], p.y1[0], p.y2[0]};
  right.state = {p.x1[1], p.x2[1], p.y1[1], p.y2[1]};
  right.sampleRate = left.sampleRate;
  right.frequency = left.frequency;
  right.q = left.q;
  right.b0 = left.b0;
  right.b1 = left.b1;
  right.b2 = left.b2;
  right.a1 = left.a1;
  right.a2 = left.a2;
}

}  // namespace quorvel
