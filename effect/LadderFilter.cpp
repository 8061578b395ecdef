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

}  // namespace quorvel
