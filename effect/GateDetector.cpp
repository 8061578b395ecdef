#include "effect/GateDetector.h"

#include <algorithm>

#include "framework/SaturatingCast.h"

namespace quorvel {

GateDetector::GateDetector() {
  follower_.SetAttack(10.0);
  follower_.SetRelease(100.0);
}

void GateDetector::SetSampleRate(double sampleRate) {
  sampleRate_ = sampleRate;
  follower_.SetSampleRate(sampleRate);
  holdCounter_ = 0;
  holding_ = false;
  open_ = false;
  UpdateHoldSamples();
}

void GateDetector::SetThresholds(double on, double off) {
  onThreshold_ = on;
  offThreshold_ = off;
}

void GateDetector::SetHold(double ms) {
  holdMs_ = ms;
  UpdateHoldSamples();
  holdCounter_ = std::min(holdCounter_, holdSamples_);
}

void GateDetector::UpdateHoldSamples() {
  holdSamples_ = std::max<std::int32_t>(
      0, plugkit::SaturateTruncate<std::int32_t>(holdMs_ * 0.001 * sampleRate_));
}

bool GateDetector::Process(double x) {
  const double e = follower_.Process(x);
  if (!open_) {
    if (e > onThreshold_) open_ = true;
    return open_;
  }
  if (holding_) {
    if (e < offThreshold_) {
      --holdCounter_;
      if (holdCounter_ <= 0) {
        open_ = false;
        holding_ = false;
        return false;
      }
    } else {
      holding_ = false;
    }
    return true;
  }
  if (e < offThreshold_) {
    if (holdSamples_ == 0) {
      open_ = false;
      return false;
    }
    holdCounter_ = holdSamples_;
    holding_ = true;
  }
  return true;
}

}  // namespace quorvel
