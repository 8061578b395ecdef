#include <gtest/gtest.h>

#include <cmath>

#include "effect/EnvelopeFollower.h"
#include "effect/GateDetector.h"

namespace quorvel {
namespace {

TEST(EnvelopeFollower, AttackAndReleaseCoefficients) {
  EnvelopeFollower f;
  f.SetSampleRate(48000.0);
  f.SetAttack(10.0);
  f.SetRelease(100.0);
  const double a = std::exp(-1.0 / 480.0);
  const double r = std::exp(-1.0 / 4800.0);
  EXPECT_DOUBLE_EQ(f.AttackCoefficient(), a);
  EXPECT_DOUBLE_EQ(f.ReleaseCoefficient(), r);

  // Rectified input; rising uses the attack, falling the release.
  EXPECT_DOUBLE_EQ(f.Process(-1.0), 1.0 - a);
  double expected = 1.0 - a;
  for (int i = 0; i < 479; ++i) expected = 1.0 + (expected - 1.0) * a;
  for (int i = 0; i < 479; ++i) f.Process(1.0);
  EXPECT_NEAR(f.Envelope(), expected, 1e-15);
  EXPECT_NEAR(f.Envelope(), 1.0 - std::exp(-1.0), 1e-12);  // one time constant
  EXPECT_DOUBLE_EQ(f.Process(0.0), expected * r);

  // A new sample rate clears the envelope and rescales both coefficients.
  f.SetSampleRate(96000.0);
  EXPECT_EQ(f.Envelope(), 0.0);
  EXPECT_DOUBLE_EQ(f.AttackCoefficient(), std::exp(-1.0 / 960.0));
  EXPECT_DOUBLE_EQ(f.ReleaseCoefficient(), std::exp(-1.0 / 9600.0));
}

TEST(EnvelopeFollower, ZeroOrInvalidTimesAreInstantaneous) {
  EnvelopeFollower f;
  f.SetAttack(0.0);
  f.SetRelease(-5.0);
  EXPECT_EQ(f.Process(0.7), 0.7);
  EXPECT_EQ(f.Process(0.2), 0.2);
  // Still instantaneous after a sample-rate change.
  f.SetAttack(20.0);
  f.SetAttack(0.0);
  f.SetRelease(NAN);
  f.SetSampleRate(48000.0);
  EXPECT_EQ(f.AttackCoefficient(), 0.0);
  EXPECT_EQ(f.ReleaseCoefficient(), 0.0);
  EXPECT_EQ(f.Process(0.5), 0.5);
  EXPECT_EQ(f.Process(0.0), 0.0);
}

// The gate's own follower, to know exactly when its envelope crosses a threshold.
EnvelopeFollower GateReference(double sampleRate) {
  EnvelopeFollower f;
  f.SetAttack(10.0);
  f.SetRelease(100.0);
  f.SetSampleRate(sampleRate);
  return f;
}

class GateFixture : public ::testing::Test {
 protected:
  static constexpr double kRate = 48000.0;
  const double on = std::pow(10.0, -12.0 / 20.0);
  const double off = std::pow(10.0, -15.0 / 20.0);

  GateFixture() {
    gate.SetSampleRate(kRate);
    gate.SetThresholds(on, off);
  }

  bool Step(double x) {
    reference.Process(x);
    lastOpen = gate.Process(x);
    return lastOpen;
  }

  // Feeds x until the reference envelope meets pred (called after the gate's step).
  template <typename Pred>
  void FeedUntil(double x, Pred pred) {
    while (true) {
      const double e = reference.Process(x);
      lastOpen = gate.Process(x);
      if (pred(e)) return;
    }
  }

  GateDetector gate;
  EnvelopeFollower reference = GateReference(kRate);
  bool lastOpen = false;
};

TEST_F(GateFixture, OpensAboveOnAndClosesBelowOffWithoutHold) {
  EXPECT_NEAR(on, 0.2512, 1e-4);
  EXPECT_NEAR(off, 0.1778, 1e-4);
  EXPECT_FALSE(gate.IsOpen());

  // Below the on threshold nothing happens, however long.
  for (int i = 0; i < 20000; ++i) ASSERT_FALSE(Step(0.24));

  FeedUntil(1.0, [&](double e) {
    EXPECT_EQ(lastOpen, e > on);
    return e > on;
  });

  // Between the thresholds it stays open (hysteresis).
  for (int i = 0; i < 40000; ++i) ASSERT_TRUE(Step(0.2));

  // The first sample below off closes it.
  FeedUntil(0.0, [&](double e) {
    EXPECT_EQ(gate.IsOpen(), e >= off);
    return e < off;
  });
  EXPECT_FALSE(lastOpen);
}

TEST_F(GateFixture, HoldKeepsTheGateOpenForItsSamplesAndIsCancelledByLevel) {
  gate.SetHold(10.0);
  EXPECT_EQ(gate.HoldSamples(), 480);
  FeedUntil(1.0, [&](double e) { return e > on; });
  FeedUntil(0.0, [&](double e) { return e < off; });
  EXPECT_TRUE(gate.IsHolding());
  // 479 more samples below still hold; the 481st below closes.
  for (int i = 2; i <= 480; ++i) ASSERT_TRUE(Step(0.0)) << i;
  EXPECT_FALSE(Step(0.0));
  EXPECT_FALSE(gate.IsHolding());

  // A level at the off threshold during the hold cancels it.
  FeedUntil(1.0, [&](double e) { return e > on; });
  FeedUntil(0.0, [&](double e) { return e < off; });
  for (int i = 0; i < 400; ++i) Step(0.0);
  EXPECT_TRUE(Step(10.0));
  EXPECT_FALSE(gate.IsHolding());
  EXPECT_TRUE(gate.IsOpen());
}

TEST_F(GateFixture, ShorterHoldOrNewRateTakesEffectAtOnce) {
  gate.SetHold(500.0);
  FeedUntil(1.0, [&](double e) { return e > on; });
  FeedUntil(0.0, [&](double e) { return e < off; });
  ASSERT_TRUE(gate.IsHolding());
  gate.SetHold(0.0);
  EXPECT_FALSE(Step(0.0));

  gate.SetHold(500.0);
  EXPECT_EQ(gate.HoldSamples(), 24000);
  FeedUntil(1.0, [&](double e) { return e > on; });
  gate.SetSampleRate(44100.0);
  EXPECT_FALSE(gate.IsOpen());
  EXPECT_EQ(gate.Envelope(), 0.0);
  EXPECT_EQ(gate.HoldSamples(), 22050);

  // Absurd hold times saturate instead of overflowing.
  gate.SetHold(1e300);
  EXPECT_EQ(gate.HoldSamples(), 2147483647);
  gate.SetHold(-3.0);
  EXPECT_EQ(gate.HoldSamples(), 0);
}

}  // namespace
}  // namespace quorvel
