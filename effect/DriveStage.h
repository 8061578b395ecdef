#pragma once

#include <algorithm>
#include <cmath>

#include "effect/LadderFilter.h"
#include "effect/StereoPair.h"

namespace quorvel {

// Quadratic Bézier through (x0, y0), (x1, y1), (x2, y2), solved for its parameter at x.
inline double BezierAt(double x, double x0, double x1, double x2, double y0, double y1,
                       double y2) {
  if (x <= x0)
    return y0;
  if (x >= x2)
    return y2;
  const double h = x0 - 2.0 * x1 + x2;
  double u;
  if (h != 0.0) {
    const double b = x1 - x0;
    u = (std::sqrt(b * b - (x0 - x) * h) - b) / h;
  } else {
    u = x0 != x2 ? (x - x0) / (x2 - x0) : 0.0;
  }
  return ((1.0 - u) * 2.0 * y1 + u * y2) * u + (1.0 - u) * (1.0 - u) * y0;
}

// Asymmetric waveshaper: slope 3.875 around 0, saturating towards 0.875 above and −1 below,
// continuing with a small linear slope beyond ±1.
inline double DriveCurve(double x) {
  if (x <= -1.0)
    return -1.0 - (x + 1.0) / 0.75 * -0.03125;
  if (x < 0.0)
    return BezierAt(x, -1.0, -0.25, 0.0, -1.0, -0.96875, 0.0);
  if (x < 1.0)
    return BezierAt(x, 0.0, 0.21774193548387, 1.0, 0.0, 0.84375, 0.875);
  return (x - 1.0) / 0.78225806451613 * 0.03125 + 0.875;
}

// Adds a saturated, envelope-weighted component to both channels, always low-passed by
// its two ladders.
class DriveStage {
 public:
  DriveStage();

  void SetAmount(double amount);              // [audio-thread] 0 … 1, per sample
  void SetFeedback(bool on);                  // [audio-thread] per block
  void Reset(double sampleRate);              // [audio-thread] clears envelope, feedback, ladders
  void Process(double& left, double& right);  // [audio-thread] in place

  double Envelope() const { return envelope; }

 private:
  friend class StereoDrive;

  double amount = 0.5;
  double envelope = 0.0;
  double coefficient;
  double feedback = 0.0;
  bool feedbackOn = false;
  LadderFilter ladderL;
  LadderFilter ladderR;
};

// Runs a drive stage on both channels sample by sample for the length of a block: its state is
// taken over on construction and handed back, with the last amount, on destruction.
// [audio-thread]
class StereoDrive {
 public:
  explicit StereoDrive(DriveStage& stage);
  ~StereoDrive();
  StereoDrive(const StereoDrive&) = delete;
  StereoDrive& operator=(const StereoDrive&) = delete;

  StereoPair Process(StereoPair x, double amount);

 private:
  DriveStage& stage;
  StereoLadder ladders;
  const double coefficient;
  const bool feedbackOn;
  double envelope;
  double feedback;
  double lastAmount;
};

inline StereoPair StereoDrive::Process(StereoPair x, double amount) {
  lastAmount = amount;
  const double gain = amount + 1.0;
  const double shapedL = DriveCurve(x[0] * gain);
  const double shapedR = DriveCurve(x[1] * gain);
  const double sum = shapedL + shapedR;
  StereoPair u;
  if (feedbackOn) {
    const double f = sum + 0.5 * feedback;
    envelope = (envelope - f) * coefficient + f;
    u = Pack(shapedL, shapedR) * std::abs(envelope);
  } else {
    // Without feedback the shaped signals only steer the envelope.
    envelope = (envelope - sum) * coefficient + sum;
    u = std::abs(envelope) * x;
  }
  u = ladders.Process(u);
  feedback = std::clamp(u[0] + u[1], -1.0, 1.0);
  return u * amount + x;
}

}  // namespace quorvel
