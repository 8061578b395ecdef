#include "effect/EnvelopeFollower.h"
#include "effect/GateDetector.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quorvel {
namespace {

TEST(EnvelopeFollower, AttackReleaseAndInstantTimes)
{
    EnvelopeFollower f;
    f.SetSampleRate(48000.0);
    f.SetAttack(10.0);
    f.SetRelease(100.0);
    const double a = std::exp(-1.0 / 480.0);
    EXPECT_DOUBLE_EQ(f.AttackCoefficient(), a);
    EXPECT_DOUBLE_EQ(f.ReleaseCoefficient(), std::exp(-1.0 / 4800.0));
    EXPECT_DOUBLE_EQ(f.Process(-1.0), 1.0 - a); // rectified
    for (int i = 1; i < 480; ++i)
        f.Process(1.0);
    EXPECT_NEAR(f.Envelope(), 1.0 - std::exp(-1.0), 1e-12); // one time constant

    // 0 (or a time that is not positive) is instantaneous, also after a new sample rate.
    f.SetAttack(0.0);
    f.SetRelease(-5.0);
    f.SetSampleRate(44100.0);
    EXPECT_EQ(f.Envelope(), 0.0);
    EXPECT_EQ(f.Process(0.7), 0.7);
    EXPECT_EQ(f.Process(0.2), 0.2);
}

// Drives a gate and a copy of its fixed follower (10 ms / 100 ms) side by side, to know
// exactly where the envelope crosses the thresholds.
struct GateProbe {
    static constexpr double kRate = 48000.0;
    const double on = std::pow(10.0, -12.0 / 20.0);
    const double off = std::pow(10.0, -15.0 / 20.0);
    GateDetector gate;
    EnvelopeFollower reference;
    double envelope = 0.0;

    GateProbe()
    {
        gate.SetSampleRate(kRate);
        gate.SetThresholds(on, off);
        reference.SetAttack(10.0);
        reference.SetRelease(100.0);
        reference.SetSampleRate(kRate);
    }
    bool Step(double x)
    {
        envelope = reference.Process(x);
        return gate.Process(x);
    }
    void OpenThenFallBelowOff()
    {
        while (!Step(1.0)) {}
        while (envelope >= off)
            Step(0.0);
    }
};

TEST(GateDetector, HysteresisWithoutHold)
{
    GateProbe p;
    EXPECT_NEAR(p.on, 0.2512, 1e-4);
    EXPECT_NEAR(p.off, 0.1778, 1e-4);
    for (int i = 0; i < 20000; ++i)
        ASSERT_FALSE(p.Step(0.24));
    // Opens on the first sample whose envelope is above on.
    for (bool open = false; !open;) {
        open = p.Step(1.0);
        ASSERT_EQ(open, p.envelope > p.on);
    }
    for (int i = 0; i < 40000; ++i)
        ASSERT_TRUE(p.Step(0.2)); // between the thresholds
    // Closes on the first sample below off.
    for (bool open = true; open;) {
        open = p.Step(0.0);
        ASSERT_EQ(open, p.envelope >= p.off);
    }
    EXPECT_FALSE(p.gate.IsOpen());
}

TEST(GateDetector, HoldCountsSamplesAndCanBeCancelled)
{
    GateProbe p;
    p.gate.SetHold(10.0);
    EXPECT_EQ(p.gate.HoldSamples(), 480);
    p.OpenThenFallBelowOff();
    EXPECT_TRUE(p.gate.IsHolding());
    for (int i = 2; i <= 480; ++i)
        ASSERT_TRUE(p.Step(0.0)) << i;
    EXPECT_FALSE(p.Step(0.0)); // the 481st sample below
    EXPECT_FALSE(p.gate.IsHolding());

    // A level at or above off during the hold cancels it.
    p.OpenThenFallBelowOff();
    EXPECT_TRUE(p.Step(10.0));
    EXPECT_FALSE(p.gate.IsHolding());

    // Shortening the hold while holding closes at the next sample below.
    p.gate.SetHold(500.0);
    p.OpenThenFallBelowOff();
    p.gate.SetHold(0.0);
    EXPECT_FALSE(p.Step(0.0));

    p.gate.SetHold(500.0);
    p.gate.SetSampleRate(44100.0);
    EXPECT_EQ(p.gate.HoldSamples(), 22050);
    p.gate.SetHold(1e300);
    EXPECT_EQ(p.gate.HoldSamples(), 2147483647);
    p.gate.SetHold(-3.0);
    EXPECT_EQ(p.gate.HoldSamples(), 0);
}

} // namespace
} // namespace quorvel
