#include "effect/AllpassStage.h"

#include <limits>

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

StereoAllpass::StereoAllpass(AllpassStage& l, AllpassStage& r)
    : left(l),
      right(r),
      memory{Pack(l.memory.state, r.memory.state), Pack(l.memory.output, r.memory.output)},
      lastScale(Splat(std::numeric_limits<double>::quiet_NaN())),
      lastGain(Splat(0.0)) {}

StereoAllpass::~StereoAllpass() {
  left.memory = {memory.state[0], memory.output[0]};
  right.memory = {memory.state[1], memory.output[1]};
}

}  // namespace quorvel
