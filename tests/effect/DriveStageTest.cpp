#include "effect/DriveStage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace quorvel {
namespace {

TEST(DriveStageTest, CurveValuesAndSlope) {
  const double in[] = {-2.0, -1.0, -0.5, 0.0, 0.5, 1.0, 2.0};
  const double out[] = {-1.041667, -1.0, -0.839348, 0.0, 0.741561, 0.875, 0.914948};
  for (int i = 0; i < 7; ++i) EXPECT_NEAR(DriveCurve(in[i]), out[i], 1e-6) << in[i];
  EXPECT_NEAR(DriveCurve(1e-7) / 1e-7, 3.875, 1e-4);
  EXPECT_NEAR(DriveCurve(-1e-7) / -1e-7, 3.875, 1e-4);
}

// The stage rebuilt from its parts: waveshaper, 0.5 ms envelope, ladders at 7800 Hz.
void CompareWithReference(bool feedbackOn, double amount) {
  DriveStage drive;
  drive.Reset(44100.0);
  drive.SetFeedback(feedbackOn);
  drive.SetAmount(amount);
  LadderFilter ladderL, ladderR;
  for (LadderFilter* ladder : {&ladderL, &ladderR}) {
    ladder->Reset(44100.0);
    ladder->SetCutoff(7800.0);
    ladder->SetResonance(0.3);
  }
  const double coefficient = std::exp(-1.0 / (44100.0 * 0.0005));
  double envelope = 0.0, feedback = 0.0;
  for (int i = 0; i < 500; ++i) {
    const double x = 0.8 * std::sin(0.03 * i), y = -0.6 * std::sin(0.05 * i);
    double l = x, r = y;
    drive.Process(l, r);
    const double sL = DriveCurve(x * (amount + 1.0)), sR = DriveCurve(y * (amount + 1.0));
    const double f = sL + sR + (feedbackOn ? 0.5 * feedback : 0.0);
    envelope = (envelope - f) * coefficient + f;
    // Without feedback the envelope weighs the unshaped input.
    const double uL = ladderL.Process(std::abs(envelope) * (feedbackOn ? sL : x));
    const double uR = ladderR.Process(std::abs(envelope) * (feedbackOn ? sR : y));
    feedback = std::clamp(uL + uR, -1.0, 1.0);
    ASSERT_DOUBLE_EQ(l, uL * amount + x) << i;
    ASSERT_DOUBLE_EQ(r, uR * amount + y) << i;
  }
}

TEST(DriveStageTest, MatchesTheReferenceWithAndWithoutFeedback) {
  CompareWithReference(true, 0.5);
  CompareWithReference(false, 1.0);
  DriveStage drive;  // amount 0 leaves the input exactly as it was
  drive.SetAmount(0.0);
  double l = 0.37, r = -1.3;
  drive.Process(l, r);
  EXPECT_EQ(l, 0.37);
  EXPECT_EQ(r, -1.3);
}

TEST(DriveStageTest, ConstantInputSettlesTheEnvelope) {
  DriveStage drive;
  drive.Reset(48000.0);
  drive.SetFeedback(false);
  drive.SetAmount(1.0);
  for (int i = 0; i < 2000; ++i) {
    double l = 0.1, r = 0.1;
    drive.Process(l, r);
  }
  EXPECT_NEAR(drive.Envelope(), 2.0 * DriveCurve(0.2), 1e-12);
  drive.Reset(48000.0);
  EXPECT_EQ(drive.Envelope(), 0.0);
}

}  // namespace
}  // namespace quorvel
