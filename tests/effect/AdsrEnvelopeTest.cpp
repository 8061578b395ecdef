#include "effect/AdsrEnvelope.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace quorvel {
namespace {

TEST(EnvelopeCurves, CurveTablesAndMonotoneInverse)
{
    EXPECT_EQ(EnvelopeCurve(0.0), 0.0);
    EXPECT_NEAR(EnvelopeCurve(0.5), 0.19008, 1e-5);
    EXPECT_DOUBLE_EQ(EnvelopeCurve(0.875), 0.75);
    EXPECT_DOUBLE_EQ(EnvelopeCurve(1.0), 1.0);
    const double h = 1e-7; // slope 4 on both sides of the joint
    EXPECT_NEAR((EnvelopeCurve(0.875) - EnvelopeCurve(0.875 - h)) / h, 4.0, 1e-4);
    EXPECT_NEAR((EnvelopeCurve(0.875 + h) - EnvelopeCurve(0.875)) / h, 4.0, 1e-4);

    const EnvelopeCurves& c = EnvelopeCurves::Get();
    EXPECT_EQ(c.down[0], 0.0f);
    EXPECT_NEAR(c.down[8191], 0.9999998, 1e-7);
    EXPECT_LT(c.down[8191], 1.0f);
    EXPECT_EQ(c.up[0], 1.0f);
    EXPECT_EQ(c.inverse[0], 1.0f);
    EXPECT_EQ(c.inverse[8191], 0.0f);
    for (int i = 1; i < kCurveTableSize; ++i) {
        ASSERT_EQ(c.up[i], c.down[kCurveTableSize - i]);
        ASSERT_LE(c.inverse[i], c.inverse[i - 1]) << i; // no dips: retriggers never jump
        // The attack position found for a level plays that level again.
        ASSERT_NEAR(c.up[static_cast<std::size_t>(c.inverse[i] * 8191.0)], i / 8191.0, 0.002);
    }
    for (const CurveTable* t : {&c.down, &c.up, &c.inverse})
        ASSERT_TRUE(std::all_of(t->begin(), t->end(), [](float v) { return v >= 0 && v <= 1; }));
}

std::vector<double> TickFor(AdsrEnvelope& adsr, int count)
{
    std::vector<double> out(static_cast<std::size_t>(count));
    for (double& v : out)
        v = adsr.Tick();
    return out;
}

TEST(AdsrEnvelope, StagesTakeTheirTimes)
{
    AdsrEnvelope adsr;
    adsr.Reset(48000.0);
    adsr.Configure(100.0, 200.0, 0.5, 300.0);
    EXPECT_EQ(adsr.Tick(), 0.0); // silent until triggered
    adsr.NoteOn();
    const auto attack = TickFor(adsr, 4800);
    EXPECT_TRUE(std::is_sorted(attack.begin(), attack.end()));
    EXPECT_NEAR(attack.back(), 1.0, 1e-3);
    EXPECT_LT(attack[2399], 0.25);
    const auto decay = TickFor(adsr, 9601);
    EXPECT_NEAR(decay[9599], 0.5, 1e-3);
    EXPECT_EQ(decay[9600], 0.5);
    EXPECT_TRUE(adsr.IsSustaining());
    adsr.Configure(100.0, 200.0, 0.6, 300.0); // applies at once while sustaining
    EXPECT_EQ(adsr.Tick(), 0.6);
    adsr.NoteOff();
    const auto release = TickFor(adsr, 14400);
    EXPECT_NEAR(release[7199], 0.6 * EnvelopeCurve(0.5), 1e-3);
    EXPECT_GT(release[14398], 0.0);
    EXPECT_EQ(release[14399], 0.0);
    EXPECT_FALSE(adsr.IsActive());

    // No attack and no decay: a 4 ms rise to the sustain level, which then holds.
    adsr.Reset(48000.0);
    adsr.Configure(0.0, 0.0, 0.75, 10.0);
    adsr.NoteOn();
    const auto rise = TickFor(adsr, 193);
    EXPECT_NEAR(rise[191], 0.75, 1e-3);
    EXPECT_EQ(rise[192], 0.75);
    // Tiny times last 4 ms; sustain 0 ends the envelope with the gate still open.
    adsr.Reset(48000.0);
    adsr.Configure(0.5, 0.0, 0.0, 1.0);
    adsr.NoteOn();
    EXPECT_NEAR(TickFor(adsr, 192).back(), 1.0, 1e-3);
    EXPECT_EQ(TickFor(adsr, 193).back(), 0.0);
    EXPECT_FALSE(adsr.IsActive());
}

TEST(AdsrEnvelope, RetriggerDuringReleaseResumesFromTheCurrentLevel)
{
    for (int releaseTicks : {1, 50, 700, 2000, 4000, 6000, 9000, 11000, 13000, 14000}) {
        AdsrEnvelope adsr;
        adsr.Reset(48000.0);
        adsr.Configure(400.0, 1000.0, 0.8, 300.0);
        adsr.NoteOn();
        TickFor(adsr, 70000);
        adsr.NoteOff();
        const double before = TickFor(adsr, releaseTicks).back();
        adsr.NoteOn();
        // One attack step at the steepest point moves about 4 / (0.4 · 48000).
        const double after = adsr.Tick();
        EXPECT_NEAR(after, before, 4e-3) << releaseTicks;
        EXPECT_GE(after, before - 1e-4) << releaseTicks;
        const auto rest = TickFor(adsr, 19200);
        EXPECT_NEAR(*std::max_element(rest.begin(), rest.end()), 1.0, 1e-3);
    }
}

} // namespace
} // namespace quorvel
