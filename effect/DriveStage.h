#pragma once

#include "effect/LadderFilter.h"

namespace quorvel {

// Asymmetric waveshaper: slope 3.875 around 0, saturating towards 0.875 above and −1 below,
// continuing with a small linear slope beyond ±1.
double DriveCurve(double x);

// Adds a saturated, envelope-weighted component to both channels, always low-passed by
// its two ladders.
class DriveStage {
 public:
  DriveStage();

  void SetAmount(double amount);              // [audio-thread] 0 … 1, per sample
  void SetFeedback(bool on);                  // [audio-thread] per block
  void Reset(double sampleRate);              // [audio-thread] clears envelope, feedback, ladders
  void Process(double& left, double& right);  // [audio-thread] in place
  // [audio-thread] n samples of each channel in place; amounts holds one amount per sample,
  // or nullptr to keep the current one.
  void ProcessBlock(double* left, double* right, const double* amounts, int n);

  double Envelope() const { return envelope; }

 private:
  double amount = 0.5;
  double driveGain = 1.5;
  double envelope = 0.0;
  double coefficient;
  double feedback = 0.0;
  bool feedbackOn = false;
  LadderFilter ladderL;
  LadderFilter ladderR;
};

}  // namespace quorvel
