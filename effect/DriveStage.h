#pragma once

#include <algorithm>
#include <cmath>

#include "effect/LadderFilter.h"
#include "effect/StereoPair.h"

namespace quorvel {

// Asymmetric waveshaper: slope 3.875 around 0, saturating towards 0.875 above and −1 below,
// continuing with a small linear slope beyond ±1. Between −1 and 1 it follows a quadratic
// Bézier for each sign, solved for its parameter at x. Both lanes are worked out without
// branches: audio changes sign at random, and mispredicted branches would stall the chain.
inline StereoPair DriveCurve(StereoPair x) {
  const StereoMask negative = x < 0.0;
  const auto pick = [negative](double below, double above) {
    return Choose(negative, Splat(below), Splat(above));
  };
  // Control points (x0, y0), (x1, y1), (x2, y2) of the lane's Bézier.
  const StereoPair x0 = pick(-1.0, 0.0);
  const StereoPair x1 = pick(-0.25, 0.21774193548387);
  const StereoPair x2 = pick(0.0, 1.0);
  const StereoPair y0 = pick(-1.0, 0.0);
  const StereoPair y1 = pick(-0.96875, 0.84375);
  const StereoPair y2 = pick(0.0, 0.875);
  const StereoPair h = x0 - 2.0 * x1 + x2;
  const StereoPair b = x1 - x0;
  const StereoPair u = (Sqrt(b * b - (x0 - x) * h) - b) / h;
  StereoPair curve = ((1.0 - u) * 2.0 * y1 + u * y2) * u + (1.0 - u) * (1.0 - u) * y0;
  curve = Choose(x <= x0, y0, Choose(x >= x2, y2, curve));
  const StereoPair low = -1.0 - (x + 1.0) / 0.75 * -0.03125;
  const StereoPair high = (x - 1.0) / 0.78225806451613 * 0.03125 + 0.875;
  // NaN falls through to the upper line, as it fails every comparison.
  return Choose(x <= -1.0, low, Choose(x < 1.0, curve, high));
}

inline double DriveCurve(double x) { return DriveCurve(Splat(x))[0]; }

// Adds a saturated, envelope-weighted component to both channels, always low-passed by
// its two ladders.
class DriveStage {
 public:
  static constexpr double kLadderCutoff = 7800.0;
  static constexpr double kLadderResonance = 0.3;

  DriveStage();

  void SetAmount(double amount);  // [audio-thread] 0 … 1, per sample
  void SetFeedback(bool on);      // [audio-thread] per block
  void Reset(double sampleRate);  // [audio-thread] clears envelope, feedback, ladders
  double Amount() const { return amount_; }

  double Envelope() const { return envelope_; }

 private:
  friend class StereoDrive;

  double amount_ = 0.5;
  double envelope_ = 0.0;
  double coefficient_;
  double feedback_ = 0.0;
  bool feedbackOn_ = false;
  LadderFilter ladderL_;
  LadderFilter ladderR_;
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
  DriveStage& stage_;
  StereoLadder ladders_;
  const double coefficient_;
  const bool feedbackOn_;
  double envelope_;
  double feedback_;
  double lastAmount_;
};

inline StereoPair StereoDrive::Process(StereoPair x, double amount) {
  lastAmount_ = amount;
  const StereoPair shaped = DriveCurve(x * (amount + 1.0));
  const double sum = shaped[0] + shaped[1];
  StereoPair u;
  if (feedbackOn_) {
    const double f = sum + 0.5 * feedback_;
    envelope_ = (envelope_ - f) * coefficient_ + f;
    u = shaped * std::abs(envelope_);
  } else {
    // Without feedback the shaped signals only steer the envelope.
    envelope_ = (envelope_ - sum) * coefficient_ + sum;
    u = std::abs(envelope_) * x;
  }
  u = ladders_.Process(u);
  feedback_ = std::clamp(u[0] + u[1], -1.0, 1.0);
  return u * amount + x;
}

}  // namespace quorvel
