#include "effect/ModulationSlot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace quorvel {
namespace {

constexpr std::size_t kN = 4;
const std::array<double, kN> kEnv{0.0, 0.25, 0.5, 1.0};
const std::array<double, kN> kAdsr{1.0, 0.5, 0.0, 0.75};
const std::array<double, kN> kLfo1{-0.5, -0.25, 0.25, 0.5};
const std::array<double, kN> kLfo2{0.5, 0.0, -0.5, 0.125};
const SourceBuffers kSources{kEnv.data(), kAdsr.data(), kLfo1.data(), kLfo2.data()};

TEST(ModulationSlot, LinearEvaluation)
{
    ModulationSlot slot;
    EXPECT_EQ(slot.Source(), ModSource::NoModulation);
    // No modulation: exactly the base, whatever the strength.
    slot.ApplySettings(2.0, 1.0);
    for (double v : slot.ModulatedLinear(0.0, 2.0, 2.5, kSources, kN))
        EXPECT_EQ(v, 2.5);

    // Output 1 pulled down by the ADSR at strength -0.5 (source 0.5 rounds away from 0).
    slot.ApplySettings(0.5, -0.5);
    EXPECT_EQ(slot.Source(), ModSource::Adsr);
    const auto out = slot.ModulatedLinear(0.0, 2.0, 1.0, kSources, kN);
    EXPECT_EQ(out[0], 0.0);
    EXPECT_EQ(out[1], 0.5);
    EXPECT_EQ(out[3], 0.25);
    EXPECT_EQ(slot.LastNormalized(), 0.125);

    // Each source picks its own buffer; results are limited to the range.
    slot.ApplySettings(2.5, 1.0);
    EXPECT_EQ(slot.ModulatedLinear(0.0, 1.0, 0.5, kSources, kN)[1], 0.75);
    slot.ApplySettings(-7.0, 1.0);
    EXPECT_EQ(slot.ModulatedLinear(0.0, 1.0, 0.5, kSources, kN)[0], 0.0);
    slot.ApplySettings(1e300, 1.0);
    const auto lfo2 = slot.ModulatedLinear(0.0, 1.0, 0.8, kSources, kN);
    EXPECT_EQ(lfo2[0], 1.0);
    EXPECT_DOUBLE_EQ(lfo2[3], 0.925);

    // Phaser frequency signal: 2 · strength · s in -1 … 1, shown as (m + 1) / 2.
    slot.ApplySettings(4.0, 0.25);
    const auto m = slot.ModulatedLinear(-1.0, 1.0, 0.0, kSources, kN);
    EXPECT_EQ(m[0], 0.25);
    EXPECT_EQ(m[2], -0.25);
    EXPECT_DOUBLE_EQ(slot.LastNormalized(), (m[3] + 1.0) / 2.0);

    // An empty block leaves the knob where it was.
    EXPECT_TRUE(slot.ModulatedLinear(0.0, 1.0, 0.0, kSources, 0).empty());
    EXPECT_DOUBLE_EQ(slot.LastNormalized(), (m[3] + 1.0) / 2.0);
}

TEST(ModulationSlot, CurveEvaluationMovesTheNormalizedPosition)
{
    ModulationSlot slot;
    // Cutoff at the top, LFO 1 at strength 1: down to normalized 0.5, resting at the top.
    slot.ApplySettings(0.0, 1.0);
    const auto f = slot.ModulatedCurve(10.0, 18000.0, 18000.0, kSources, kN, 2.5);
    EXPECT_NEAR(f[0], 3190.3, 0.1);
    EXPECT_DOUBLE_EQ(f[1], 10.0 + 17990.0 * std::pow(0.75, 2.5));
    EXPECT_EQ(f[2], 18000.0);
    EXPECT_EQ(slot.LastNormalized(), 1.0);

    // The follower lifts the chorus delay (exponent 1.5) by up to the full travel.
    slot.ApplySettings(3.0, 0.5);
    const double g = std::pow(12.5 / 50.0, 1.0 / 1.5);
    const auto d = slot.ModulatedCurve(0.0, 50.0, 12.5, kSources, kN, 1.5);
    EXPECT_NEAR(d[0], 12.5, 1e-12);
    EXPECT_DOUBLE_EQ(d[2], std::pow(g + 0.25, 1.5) * 50.0);
    EXPECT_NEAR(slot.LastNormalized(), g + 0.5, 1e-12);

    // Unmodulated: the base exactly; a base below the range cannot hand the knob a NaN.
    slot.ApplySettings(2.0, 1.0);
    EXPECT_EQ(slot.ModulatedCurve(10.0, 18000.0, 440.0, kSources, kN, 2.5)[3], 440.0);
    EXPECT_NEAR(slot.LastNormalized(), std::pow(430.0 / 17990.0, 0.4), 1e-12);
    slot.ModulatedCurve(10.0, 18000.0, 5.0, kSources, kN, 2.5);
    EXPECT_EQ(slot.LastNormalized(), 0.0);
}

TEST(ModulationSlot, SlotsReadTheirOwnPairs)
{
    EXPECT_EQ(std::string(PairOf(ModSlot::Output).target), "output");
    EXPECT_EQ(std::string(PairOf(ModSlot::ChorusDelay).target), "chorus delay");
    EXPECT_EQ(std::string(PairOf(ModSlot::PhaserWet).target), "phaser wet");
    EXPECT_EQ(std::string(PairOf(ModSlot::PhaserFreq3).target), "phaser frequency 3");

    std::array<double, kParamCount> values{};
    values[ToIndex(ParamIndex::OutputModSource)] = 1.0;
    values[ToIndex(ParamIndex::OutputModStrength)] = -0.5;
    values[ToIndex(ParamIndex::PhaserFrequency2ModSource)] = 4.0;
    values[ToIndex(ParamIndex::CutoffFilterModSource)] = 2.0;
    ModulationSlots slots;
    ApplySlotSettings(slots, values);
    EXPECT_EQ(slots[static_cast<int>(ModSlot::Output)].Source(), ModSource::Adsr);
    EXPECT_EQ(slots[static_cast<int>(ModSlot::Output)].Strength(), -0.5);
    EXPECT_EQ(slots[static_cast<int>(ModSlot::PhaserFreq2)].Source(), ModSource::Lfo2);
    EXPECT_EQ(slots[static_cast<int>(ModSlot::Cutoff)].Source(), ModSource::NoModulation);
    EXPECT_EQ(slots[static_cast<int>(ModSlot::Drive)].Source(), ModSource::Lfo1);
}

} // namespace
} // namespace quorvel
