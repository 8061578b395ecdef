#include "effect/EnvelopeFollower.h"

#include <cmath>

namespace quorvel {

void EnvelopeFollower::SetSampleRate(double sampleRate) {
  sampleRate_ = sampleRate;
  envelope_ = 0.0;
  attackCoef_ = Coefficient(attackMs_);
  releaseCoef_ = Coefficient(releaseMs_);
}

void EnvelopeFollower::SetAttack(double ms) {
  if (ms != attackMs_) {
    attackMs_ = ms;
    attackCoef_ = Coefficient(ms);
  }
}

void EnvelopeFollower::SetRelease(double ms) {
  if (ms != releaseMs_) {
    releaseMs_ = ms;
    releaseCoef_ = Coefficient(ms);
  }
}

double EnvelopeFollower::Coefficient(double ms) const {
  // Negative or NaN times would give a coefficient above 1 or NaN and an envelope that
  // never recovers; treat them like 0.
  if (!(ms > 0.0)) return 0.0;
  return std::exp(-1.0 / (ms * 0.001 * sampleRate_));
}

}  // namespace quorvel
