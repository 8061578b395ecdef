#include "effect/AllpassStage.h"

namespace quorvel {

void AllpassStage::SetFrequency(double hz) {
  if (hz != frequency) {
    frequency = hz;
    exponent = hz * radiansPerHz;
    gain = (1.0 - std::exp(exponent)) * kGainScale;
  }
}

void AllpassStage::SetSampleRate(double rate) {
  if (rate != 0.0) {
    sampleRate = rate;
    radiansPerHz = -6.283185307179586 / rate;
    exponent = radiansPerHz * frequency;
    gain = (1.0 - std::exp(exponent)) * kGainScale;
  }
}

double AllpassStage::Process(double x) {
  return Step(memory, gain, x);
}

double AllpassStage::ProcessScaled(double scale, double x) {
  return Step(memory, GainAt(scale), x);
}

void AllpassStage::ClearIfNotFinite() {
  if (!std::isfinite(memory.state) || !std::isfinite(memory.output))
    memory = {};
}

StereoAllpass::StereoAllpass(AllpassStage& l, AllpassStage& r, bool onlyLeft)
    : left(l),
      right(r),
      leftOnly(onlyLeft) {
  const AllpassStage& second = leftOnly ? l : r;
  memory = {Pack(l.memory.state, second.memory.state), Pack(l.memory.output, second.memory.output)};
}

StereoAllpass::~StereoAllpass() {
  left.memory = {memory.state[0], memory.output[0]};
  if (!leftOnly)
    right.memory = {memory.state[1], memory.output[1]};
}

}  // namespace quorvel
