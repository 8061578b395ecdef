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
  ProcessBlock(&left, &right, nullptr, 1);
}

void DriveStage::ProcessBlock(double* left, double* right, const double* amounts, int n) {
  // Locals, so that writing the samples cannot make the compiler reload the members.
  StereoLadder ladders(ladderL, ladderR);
  double env = envelope;
  double back = feedback;
  for (int i = 0; i < n; ++i) {
    const double amountNow = amounts ? amounts[i] : amount;
    const double gainNow = amountNow + 1.0;
    const double l = left[i];
    const double r = right[i];
    const double shapedL = DriveCurve(l * gainNow);
    const double shapedR = DriveCurve(r * gainNow);
    const double sum = shapedL + shapedR;
    StereoPair u;
    if (feedbackOn) {
      const double f = sum + 0.5 * back;
      env = (env - f) * coefficient + f;
      u = Pack(shapedL, shapedR) * std::abs(env);
    } else {
      // Without feedback the shaped signals only steer the envelope.
      env = (env - sum) * coefficient + sum;
      u = std::abs(env) * Pack(l, r);
    }
    u = ladders.Process(u);
    back = std::clamp(u[0] + u[1], -1.0, 1.0);
    left[i] = u[0] * amountNow + l;
    right[i] = u[1] * amountNow + r;
  }
  envelope = env;
  feedback = back;
  if (amounts && n > 0)
    SetAmount(amounts[n - 1]);
}

}  // namespace quorvel
