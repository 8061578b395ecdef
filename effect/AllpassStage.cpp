#include "effect/AllpassStage.h"

namespace quorvel {

void AllpassStage::SetFrequency(double hz) {
  if (hz != frequency_) {
    frequency_ = hz;
    exponent_ = hz * radiansPerHz_;
    gain_ = (1.0 - std::exp(exponent_)) * kGainScale;
  }
}

void AllpassStage::SetSampleRate(double rate) {
  if (rate != 0.0) {
    sampleRate_ = rate;
    radiansPerHz_ = -6.283185307179586 / rate;
    exponent_ = radiansPerHz_ * frequency_;
    gain_ = (1.0 - std::exp(exponent_)) * kGainScale;
  }
}

double AllpassStage::Process(double x) { return Step(memory_, gain_, x); }

double AllpassStage::ProcessScaled(double scale, double x) {
  return Step(memory_, GainAt(scale), x);
}

void AllpassStage::ClearIfNotFinite() {
  if (!std::isfinite(memory_.state) || !std::isfinite(memory_.output)) memory_ = {};
}

StereoAllpass::StereoAllpass(AllpassStage& l, AllpassStage& r, bool onlyLeft)
    : left_(l), right_(r), leftOnly_(onlyLeft) {
  const AllpassStage& second = leftOnly_ ? l : r;
  memory_ = {Pack(l.memory_.state, second.memory_.state),
             Pack(l.memory_.output, second.memory_.output)};
}

StereoAllpass::~StereoAllpass() {
  left_.memory_ = {memory_.state[0], memory_.output[0]};
  if (!leftOnly_) right_.memory_ = {memory_.state[1], memory_.output[1]};
}

}  // namespace quorvel
