#pragma once

#include "effect/EnvelopeCurves.h"

namespace quorvel {

// Attack-decay-sustain-release envelope on the shared curve tables, triggered by the gate.
// Every segment lasts at least 4 ms. Audio thread only (construction builds the tables).
class AdsrEnvelope {
 public:
  AdsrEnvelope();

  // Times in milliseconds, sustain level 0 … 1.
  void Configure(double attackMs, double decayMs, double sustain, double releaseMs);
  // Starts the attack from the current level, so a retrigger during the release is smooth.
  void NoteOn();
  void NoteOff();
  // Advances one sample; returns the level.
  double Tick();
  // Silences the envelope and reapplies the stored settings at the new rate.
  void Reset(double sampleRate);

  double Level() const { return level_; }
  bool IsActive() const { return active_; }
  bool IsSustaining() const { return sustaining_; }

 private:
  const EnvelopeCurves& curves_;
  double sampleRate_ = 44100.0;
  double attack_ = 0.0;
  double decay_ = 0.0;
  double sustain_ = 0.0;
  double release_ = 0.0;
  double attackPos_ = 0.0;
  double decayPos_ = 0.0;
  double shortPos_ = 0.0;
  double releasePos_ = 0.0;
  double attackStep_ = 0.0;
  double decayStep_ = 0.0;
  double shortStep_ = 0.0;
  double releaseStep_ = 0.0;
  double releaseStart_ = 0.0;
  double level_ = 0.0;
  double amount_ = 0.0;
  bool active_ = false;
  bool sustaining_ = false;
};

}  // namespace quorvel
