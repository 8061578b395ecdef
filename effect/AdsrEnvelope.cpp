#include "effect/AdsrEnvelope.h"

#include <algorithm>

#include "framework/SaturatingCast.h"

namespace quorvel {
namespace {

// Table entry for a position or level in 0 … 1, scaled by 8191.
float At(const CurveTable& table, double x) {
  const std::int32_t i = plugkit::SaturateTruncate<std::int32_t>(x * (kCurveTableSize - 1));
  return table[static_cast<std::size_t>(std::clamp(i, 0, kCurveTableSize - 1))];
}

}  // namespace

AdsrEnvelope::AdsrEnvelope() : curves_(EnvelopeCurves::Get()) {}

void AdsrEnvelope::Configure(double attackMs, double decayMs, double sustain, double releaseMs) {
  attack_ = attackMs;
  decay_ = decayMs;
  sustain_ = sustain;
  release_ = releaseMs;
  const double f = sampleRate_ * 0.001;
  if (attackMs == 0.0 && decayMs == 0.0) {
    // No attack and no decay: a short 4 ms rise straight to the sustain level.
    attackStep_ = 0.0;
    decayStep_ = 0.0;
    shortStep_ = sustain != 0.0 ? 1.0 / (4.0 * f) : 0.0;
  } else {
    attackStep_ = 1.0 / (std::max(4.0, attackMs) * f);
    decayStep_ = 1.0 / (std::max(4.0, decayMs) * f);
    shortStep_ = 0.0;
  }
  releaseStep_ = 1.0 / (std::max(4.0, releaseMs) * f);
  if (sustaining_) level_ = sustain;
}

void AdsrEnvelope::NoteOn() {
  amount_ = 1.0;
  active_ = true;
  sustaining_ = false;
  decayPos_ = decayStep_ > 0.0 ? 1.0 : 0.0;
  shortPos_ = shortStep_ > 0.0 ? 1.0 : 0.0;
  releasePos_ = 0.0;
  releaseStart_ = 0.0;
  if (attackStep_ == 0.0)
    attackPos_ = 0.0;
  else if (level_ == 0.0)
    attackPos_ = 1.0;
  else
    attackPos_ = At(curves_.inverse, level_);
}

void AdsrEnvelope::NoteOff() {
  sustaining_ = false;
  attackPos_ = 0.0;
  decayPos_ = 0.0;
  shortPos_ = 0.0;
  amount_ = 0.0;
  if (releaseStep_ > 0.0 && level_ > 0.0) {
    releasePos_ = 1.0;
  } else {
    active_ = false;
    releasePos_ = 0.0;
  }
  releaseStart_ = level_;
}

double AdsrEnvelope::Tick() {
  if (!active_) return 0.0;
  if (sustaining_) return level_;
  if (attackPos_ > 0.0) {
    level_ = At(curves_.up, attackPos_) * amount_;
    attackPos_ -= attackStep_;
  } else if (decayPos_ > 0.0) {
    const double c = At(curves_.down, decayPos_);
    decayPos_ -= decayStep_;
    level_ = ((1.0 - c) * sustain_ + c) * amount_;
  } else if (shortPos_ > 0.0) {
    level_ = At(curves_.up, shortPos_) * amount_ * sustain_;
    shortPos_ -= shortStep_;
  } else if (releasePos_ > 0.0) {
    level_ = At(curves_.down, releasePos_) * releaseStart_;
    releasePos_ -= releaseStep_;
    if (releasePos_ <= 0.0) {
      level_ = 0.0;
      active_ = false;
    }
  } else if (sustain_ > 0.0) {
    sustaining_ = true;
    level_ = sustain_ * amount_;
  } else {
    active_ = false;
    level_ = 0.0;
  }
  return level_;
}

void AdsrEnvelope::Reset(double sampleRate) {
  sampleRate_ = sampleRate;
  attackPos_ = decayPos_ = shortPos_ = releasePos_ = 0.0;
  level_ = 0.0;
  releaseStart_ = 0.0;
  amount_ = 0.0;
  active_ = false;
  sustaining_ = false;
  Configure(attack_, decay_, sustain_, release_);
}

}  // namespace quorvel
