#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "effect/DriveStage.h"
#include "tests/effect/SingleSample.h"

namespace quorvel {
namespace {

using testSupport::ProcessSample;

TEST(DriveStageTest, CurveValuesSlopesAndContinuity) {
  EXPECT_NEAR(DriveCurve(-2.0), -1.041667, 1e-6);
  EXPECT_EQ(DriveCurve(-1.0), -1.0);
  EXPECT_NEAR(DriveCurve(-0.5), -0.839348, 1e-6);
  EXPECT_EQ(DriveCurve(0.0), 0.0);
  EXPECT_NEAR(DriveCurve(0.5), 0.741561, 1e-6);
  EXPECT_EQ(DriveCurve(1.0), 0.875);
  EXPECT_NEAR(DriveCurve(2.0), 0.914948, 1e-6);
  const double h = 1e-7;
  EXPECT_NEAR((DriveCurve(h) - DriveCurve(0.0)) / h, 3.875, 1e-4);
  EXPECT_NEAR((DriveCurve(0.0) - DriveCurve(-h)) / h, 3.875, 1e-4);
  for (const double edge : {-1.0, 1.0})
    EXPECT_NEAR(DriveCurve(edge - 1e-12), DriveCurve(edge + 1e-12), 1e-9);
  double previous = DriveCurve(-4.0);
  for (double x = -4.0 + 1e-3; x < 4.0; x += 1e-3) {
    const double y = DriveCurve(x);
    ASSERT_GT(y, previous) << x;
    previous = y;
  }
}

TEST(DriveStageTest, AmountZeroLeavesTheInputUntouched) {
  DriveStage drive;
  drive.Reset(48000.0);
  drive.SetFeedback(true);
  drive.SetAmount(0.0);
  std::mt19937 random(1);
  std::uniform_real_distribution<double> noise(-1.5, 1.5);
  for (int i = 0; i < 5000; ++i) {
    const double x = noise(random), y = noise(random);
    double l = x, r = y;
    ProcessSample(drive, l, r);
    ASSERT_EQ(l, x);
    ASSERT_EQ(r, y);
  }
}

TEST(DriveStageTest, WithoutFeedbackTheEnvelopeWeighsTheDryInput) {
  DriveStage drive;
  drive.Reset(48000.0);
  drive.SetFeedback(false);
  drive.SetAmount(1.0);
  LadderFilter ladder;  // the stage's own low-pass, rebuilt
  ladder.Reset(48000.0);
  ladder.SetCutoff(7800.0);
  ladder.SetResonance(0.3);
  const double target = 2.0 * DriveCurve(0.2);
  const double coefficient = std::exp(-1.0 / (48000.0 * 0.0005));
  double envelope = 0.0;
  for (int i = 0; i < 2000; ++i) {
    double l = 0.1, r = 0.1;
    ProcessSample(drive, l, r);
    envelope = (envelope - target) * coefficient + target;
    const double added = ladder.Process(std::abs(envelope) * 0.1);
    ASSERT_DOUBLE_EQ(l, added + 0.1) << i;
    ASSERT_EQ(l, r);
  }
  EXPECT_NEAR(drive.Envelope(), target, 1e-12);
}

TEST(DriveStageTest, FeedbackReturnsHalfThePreviousOutputSum) {
  DriveStage drive;
  drive.Reset(44100.0);
  drive.SetFeedback(true);
  drive.SetAmount(0.5);
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
    ProcessSample(drive, l, r);
    const double sL = DriveCurve(x * 1.5), sR = DriveCurve(y * 1.5);
    const double f = sL + sR + 0.5 * feedback;
    envelope = (envelope - f) * coefficient + f;
    const double uL = ladderL.Process(sL * std::abs(envelope));
    const double uR = ladderR.Process(sR * std::abs(envelope));
    feedback = std::clamp(uL + uR, -1.0, 1.0);
    ASSERT_DOUBLE_EQ(l, uL * 0.5 + x) << i;
    ASSERT_DOUBLE_EQ(r, uR * 0.5 + y) << i;
  }
  drive.Reset(44100.0);
  EXPECT_EQ(drive.Envelope(), 0.0);
}

}  // namespace
}  // namespace quorvel
