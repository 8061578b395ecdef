#pragma once

#include <cstdint>

#include "effect/EnvelopeFollower.h"

namespace quorvel {

// Level gate with hysteresis and hold, listening through its own fixed follower (10 ms
// attack, 100 ms release). Starts closed. Audio thread only.
class GateDetector {
 public:
  GateDetector();

  // Closes the gate and clears the follower.
  void SetSampleRate(double sampleRate);
  // Linear amplitudes: opens above on, closes below off.
  void SetThresholds(double on, double off);
  // Time in milliseconds that the level must stay below the off threshold before closing.
  void SetHold(double ms);

  // Returns whether the gate is open after this sample.
  bool Process(double x);

  bool IsOpen() const { return open_; }
  bool IsHolding() const { return holding_; }
  double Envelope() const { return follower_.Envelope(); }
  std::int32_t HoldSamples() const { return holdSamples_; }

 private:
  void UpdateHoldSamples();

  EnvelopeFollower follower_;
  double sampleRate_ = 44100.0;
  double onThreshold_ = 0.0;
  double offThreshold_ = 0.0;
  double holdMs_ = 0.0;
  std::int32_t holdSamples_ = 0;
  std::int32_t holdCounter_ = 0;
  bool holding_ = false;
  bool open_ = false;
};

}  // namespace quorvel
