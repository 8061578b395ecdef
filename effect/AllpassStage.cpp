#include "effect/AllpassStage.h"

#include <cmath>

#include "effect/Saturation.h"

namespace quorvel {

namespace {
// The state runs 56250 times larger than the signal; the input scale and the gain scale
// cancel for ordinary signal sizes.
constexpr double kInputScale = -1.77777778e-5;
constexpr double kGainScale = 112500.0;
constexpr double kSilence = 1e-10;
}  // namespace

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

double AllpassStage::Step(double stageGain, double x) {
  const double in = x == 0.0 ? kSilence : x;
  const double v = (in + output) * kInputScale;
  state = state + stageGain * Saturate(v);
  output = in + state;
  return output;
}

double AllpassStage::Process(double x) {
  return Step(gain, x);
}

double AllpassStage::ProcessScaled(double scale, double x) {
  return Step((1.0 - std::exp(scale * exponent)) * kGainScale, x);
}

void AllpassStage::ClearIfNotFinite() {
  if (!std::isfinite(state) || !std::isfinite(output)) {
    state = 0.0;
    output = 0.0;
  }
}

}  // namespace quorvel
