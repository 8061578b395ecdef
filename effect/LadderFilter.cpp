#include "effect/LadderFilter.h"

#include <algorithm>
#include <cmath>

namespace quorvel {

LadderFilter::LadderFilter() { ComputeCoefficients(); }

void LadderFilter::SetCutoff(double hz) {
  if (hz != settings_.cutoff) {
    settings_.cutoff = hz;
    ComputeCoefficients();
  }
}

void LadderFilter::SetResonance(double amount) {
  if (amount != settings_.resonance) {
    settings_.resonance = amount;
    ComputeCoefficients();
  }
}

void LadderFilter::Reset(double rate) {
  settings_.sampleRate = rate;
  state_ = {};
  ComputeCoefficients();
}

void LadderFilter::ComputeCoefficients() {
  const CoefficientLanes<StereoPair> c = CoefficientsAt(Splat(settings_.cutoff));
  settings_.normalizedCutoff = c.normalizedCutoff[0];
  settings_.tuning = c.tuning[0];
  settings_.resonanceScale = c.resonanceScale[0];
  settings_.gain = c.gain[0];
}

double LadderFilter::Process(double x) { return Step(state_, x, CurrentCoefficients()); }

StereoLadder::StereoLadder(LadderFilter& l, LadderFilter& r) : left_(l), right_(r) {
  const auto& a = left_.state_;
  const auto& b = right_.state_;
  state_ = {Pack(a.s0, b.s0),
            Pack(a.s1, b.s1),
            Pack(a.s2, b.s2),
            Pack(a.s3, b.s3),
            Pack(a.s3Previous, b.s3Previous),
            Pack(a.output, b.output),
            Pack(a.t0, b.t0),
            Pack(a.t1, b.t1),
            Pack(a.t2, b.t2)};
}

StereoLadder::~StereoLadder() {
  const auto& p = state_;
  left_.state_ = {p.s0[0],     p.s1[0], p.s2[0], p.s3[0], p.s3Previous[0],
                  p.output[0], p.t0[0], p.t1[0], p.t2[0]};
  right_.state_ = {p.s0[1],     p.s1[1], p.s2[1], p.s3[1], p.s3Previous[1],
                   p.output[1], p.t0[1], p.t1[1], p.t2[1]};
  right_.settings_ = left_.settings_;
}

}  // namespace quorvel
