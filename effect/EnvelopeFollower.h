#pragma once

#include <cmath>

namespace quorvel {

// One-pole peak follower with separate attack and release times. Audio thread only.
class EnvelopeFollower {
 public:
  // Clears the envelope and recomputes both coefficients.
  void SetSampleRate(double sampleRate);
  // Times in milliseconds; 0 (or any time that is not positive) makes that direction
  // instantaneous.
  void SetAttack(double ms);
  void SetRelease(double ms);

  // Follows |x|; returns the new envelope.
  double Process(double x);

  double Envelope() const { return envelope_; }
  double AttackCoefficient() const { return attackCoef_; }
  double ReleaseCoefficient() const { return releaseCoef_; }

 private:
  double Coefficient(double ms) const;

  double sampleRate_ = 44100.0;
  double envelope_ = 0.0;
  double attackMs_ = 0.0;
  double releaseMs_ = 0.0;
  double attackCoef_ = 0.0;
  double releaseCoef_ = 0.0;
};

// Inline: the detectors call it for every sample.
inline double EnvelopeFollower::Process(double x) {
  const double a = std::fabs(x);
  envelope_ = a + (envelope_ - a) * (a > envelope_ ? attackCoef_ : releaseCoef_);
  return envelope_;
}

}  // namespace quorvel
