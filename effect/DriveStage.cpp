#include "effect/DriveStage.h"

#include <algorithm>
#include <cmath>

namespace quorvel {

namespace {

constexpr double kEnvelopeSeconds = 0.0005;
constexpr double kLadderCutoff = 7800.0;
constexpr double kLadderResonance = 0.3;

double EnvelopeCoefficient(double sampleRate) {
  return std::exp(-1.0 / (sampleRate * kEnvelopeSeconds));
}

// Quadratic Bézier through (x0, y0), (x1, y1), (x2, y2), solved for its parameter at x.
double BezierAt(double x, double x0, double x1, double x2, double y0, double y1, double y2) {
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

}  // namespace

double DriveCurve(double x) {
  if (x <= -1.0)
    return -1.0 - (x + 1.0) / 0.75 * -0.03125;
  if (x < 0.0)
    return BezierAt(x, -1.0, -0.25, 0.0, -1.0, -0.96875, 0.0);
  if (x < 1.0)
    return BezierAt(x, 0.0, 0.21774193548387, 1.0, 0.0, 0.84375, 0.875);
  return (x - 1.0) / 0.78225806451613 * 0.03125 + 0.875;
}

DriveStage::DriveStage() : coefficient(EnvelopeCoefficient(44100.0)) {
  for (LadderFilter* ladder : {&ladderL, &ladderR}) {
    ladder->SetCutoff(kLadderCutoff);
    ladder->SetResonance(kLadderResonance);
  }
}

void DriveStage::SetAmount(double value) {
  amount = value;
  driveGain = value + 1.0;
}

void DriveStage::SetFeedback(bool on) {
  feedbackOn = on;
}

void DriveStage::Reset(double rate) {
  envelope = 0.0;
  feedback = 0.0;
  coefficient = EnvelopeCoefficient(rate);
  ladderL.Reset(rate);
  ladderR.Reset(rate);
}

void DriveStage::Process(double& left, double& right) {
  const double shapedL = DriveCurve(left * driveGain);
  const double shapedR = DriveCurve(right * driveGain);
  const double sum = shapedL + shapedR;
  double uL;
  double uR;
  if (feedbackOn) {
    const double f = sum + 0.5 * feedback;
    envelope = (envelope - f) * coefficient + f;
    uL = shapedL * std::abs(envelope);
    uR = shapedR * std::abs(envelope);
  } else {
    // Without feedback the shaped signals only steer the envelope.
    envelope = (envelope - sum) * coefficient + sum;
    uL = std::abs(envelope) * left;
    uR = std::abs(envelope) * right;
  }
  uL = ladderL.Process(uL);
  uR = ladderR.Process(uR);
  feedback = std::clamp(uL + uR, -1.0, 1.0);
  left = uL * amount + left;
  right = uR * amount + right;
}

}  // namespace quorvel
