#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>

#include "effect/ModulationSlot.h"

namespace quorvel {
namespace {

constexpr std::size_t kN = 4;

struct Sources {
  std::array<double, kN> env{0.0, 0.25, 0.5, 1.0};
  std::array<double, kN> adsr{1.0, 0.5, 0.0, 0.75};
  std::array<double, kN> lfo1{-0.5, -0.25, 0.25, 0.5};
  std::array<double, kN> lfo2{0.5, 0.0, -0.5, 0.125};

  SourceBuffers Buffers() const { return {env.data(), adsr.data(), lfo1.data(), lfo2.data()}; }
};

TEST(ModulationSlot, SettingsRoundAndClampTheSource) {
  ModulationSlot slot;
  EXPECT_EQ(slot.Source(), ModSource::NoModulation);
  slot.ApplySettings(0.5, -0.3);
  EXPECT_EQ(slot.Source(), ModSource::Adsr);
  EXPECT_EQ(slot.Strength(), -0.3);
  slot.ApplySettings(2.5, 1.0);
  EXPECT_EQ(slot.Source(), ModSource::EnvFollower);
  slot.ApplySettings(3.49, 1.0);
  EXPECT_EQ(slot.Source(), ModSource::EnvFollower);
  slot.ApplySettings(-7.0, 1.0);
  EXPECT_EQ(slot.Source(), ModSource::Lfo1);
  slot.ApplySettings(1e300, 1.0);
  EXPECT_EQ(slot.Source(), ModSource::Lfo2);
}

TEST(ModulationSlot, LinearEvaluationFollowsTheSelectedSource) {
  const Sources src;
  ModulationSlot slot;

  // No modulation: exactly the base, unclamped, whatever the strength.
  slot.ApplySettings(2.0, 1.0);
  for (double v : slot.ModulatedLinear(0.0, 2.0, 2.5, src.Buffers(), kN)) EXPECT_EQ(v, 2.5);

  // Output gain 1 pulled down by the ADSR at strength -0.5.
  slot.ApplySettings(1.0, -0.5);
  const auto out = slot.ModulatedLinear(0.0, 2.0, 1.0, src.Buffers(), kN);
  EXPECT_DOUBLE_EQ(out[0], 0.0);
  EXPECT_DOUBLE_EQ(out[1], 0.5);
  EXPECT_DOUBLE_EQ(out[2], 1.0);
  EXPECT_DOUBLE_EQ(out[3], 0.25);
  EXPECT_DOUBLE_EQ(slot.LastNormalized(), 0.125);

  // Each source value picks its own buffer; results are limited to the range.
  slot.ApplySettings(3.0, 1.0);
  auto v = slot.ModulatedLinear(0.0, 1.0, 0.5, src.Buffers(), kN);
  EXPECT_EQ(v[1], 0.75);
  EXPECT_EQ(v[3], 1.0);
  slot.ApplySettings(0.0, 1.0);
  v = slot.ModulatedLinear(0.0, 1.0, 0.5, src.Buffers(), kN);
  EXPECT_EQ(v[0], 0.0);
  EXPECT_EQ(v[3], 1.0);
  slot.ApplySettings(4.0, 1.0);
  v = slot.ModulatedLinear(0.0, 1.0, 0.5, src.Buffers(), kN);
  EXPECT_EQ(v[3], 0.625);

  // Phaser frequency slots: the signal is 2 · strength · s in -1 … 1, shown as (m + 1) / 2.
  slot.ApplySettings(4.0, 0.25);
  v = slot.ModulatedLinear(-1.0, 1.0, 0.0, src.Buffers(), kN);
  EXPECT_EQ(v[0], 0.25);
  EXPECT_EQ(v[2], -0.25);
  EXPECT_DOUBLE_EQ(slot.LastNormalized(), (v[3] + 1.0) / 2.0);
  slot.ApplySettings(4.0, 1.0);
  v = slot.ModulatedLinear(-1.0, 1.0, 0.0, src.Buffers(), kN);
  EXPECT_EQ(v[0], 1.0);
  EXPECT_EQ(v[2], -1.0);

  // An empty block leaves the knob where it was.
  const double last = slot.LastNormalized();
  EXPECT_TRUE(slot.ModulatedLinear(0.0, 1.0, 0.0, src.Buffers(), 0).empty());
  EXPECT_EQ(slot.LastNormalized(), last);
}

TEST(ModulationSlot, CurveEvaluationMovesTheNormalizedPosition) {
  const Sources src;
  ModulationSlot slot;

  // Cutoff at the top swung by LFO 1: down to normalized 0.5, resting at the top.
  slot.ApplySettings(0.0, 1.0);
  const auto f = slot.ModulatedCurve(10.0, 18000.0, 18000.0, src.Buffers(), kN, 2.5);
  EXPECT_NEAR(f[0], 10.0 + 17990.0 * std::pow(0.5, 2.5), 1e-9);
  EXPECT_NEAR(f[0], 3190.3, 0.1);
  EXPECT_NEAR(f[1], 10.0 + 17990.0 * std::pow(0.75, 2.5), 1e-9);
  EXPECT_EQ(f[2], 18000.0);
  EXPECT_EQ(f[3], 18000.0);
  EXPECT_DOUBLE_EQ(slot.LastNormalized(), 1.0);

  // The follower lifts the chorus delay (exponent 1.5) by up to the full travel.
  slot.ApplySettings(3.0, 0.5);
  const double base = 12.5;
  const double g = std::pow(base / 50.0, 1.0 / 1.5);
  const auto d = slot.ModulatedCurve(0.0, 50.0, base, src.Buffers(), kN, 1.5);
  EXPECT_NEAR(d[0], base, 1e-12);
  EXPECT_NEAR(d[2], std::pow(g + 0.25, 1.5) * 50.0, 1e-12);
  EXPECT_NEAR(slot.LastNormalized(), std::min(1.0, g + 0.5), 1e-12);

  // No modulation keeps the base exactly; a base outside the range cannot make the knob NaN.
  slot.ApplySettings(2.0, 1.0);
  for (double v : slot.ModulatedCurve(10.0, 18000.0, 440.0, src.Buffers(), kN, 2.5))
    EXPECT_EQ(v, 440.0);
  EXPECT_NEAR(slot.LastNormalized(), std::pow(430.0 / 17990.0, 0.4), 1e-12);
  slot.ModulatedCurve(10.0, 18000.0, 5.0, src.Buffers(), kN, 2.5);
  EXPECT_EQ(slot.LastNormalized(), 0.0);
}

TEST(ModulationSlot, CurvePowersMatchTheGeneralPowerAcrossTheRange) {
  // Positions 0 … 1 in steps of 1/1000 (with both ends exact) for the square-root forms
  // of the two curves in use and for the general power.
  constexpr std::size_t n = 1001;
  std::array<double, n> lfo{};
  for (std::size_t i = 0; i < n; ++i) lfo[i] = static_cast<double>(i) / 1000.0;
  const SourceBuffers sources{nullptr, nullptr, lfo.data(), nullptr};
  for (const double exponent : {2.5, 1.5, 3.0}) {
    ModulationSlot slot;
    slot.ApplySettings(0.0, 1.0);
    const auto v = slot.ModulatedCurve(0.0, 1.0, 0.0, sources, n, exponent);
    for (std::size_t i = 0; i < n; ++i)
      ASSERT_DOUBLE_EQ(v[i], std::pow(lfo[i], exponent)) << exponent << " at " << lfo[i];
    EXPECT_EQ(v[0], 0.0);
    EXPECT_EQ(v[n - 1], 1.0);
  }
}

TEST(ModulationSlot, SlotsReadTheirOwnPairs) {
  EXPECT_EQ(std::string(PairOf(ModSlot::Cutoff).target), "cutoff filter");
  EXPECT_EQ(std::string(PairOf(ModSlot::Drive).target), "drive");
  EXPECT_EQ(std::string(PairOf(ModSlot::Output).target), "output");
  EXPECT_EQ(std::string(PairOf(ModSlot::ChorusWet).target), "chorus wet");
  EXPECT_EQ(std::string(PairOf(ModSlot::ChorusDelay).target), "chorus delay");
  EXPECT_EQ(std::string(PairOf(ModSlot::PhaserWet).target), "phaser wet");
  EXPECT_EQ(std::string(PairOf(ModSlot::PhaserFreq1).target), "phaser frequency 1");
  EXPECT_EQ(std::string(PairOf(ModSlot::PhaserFreq3).target), "phaser frequency 3");

  std::array<double, kParamCount> values{};
  values[ToIndex(ParamIndex::OutputModSource)] = 1.0;
  values[ToIndex(ParamIndex::OutputModStrength)] = -0.5;
  values[ToIndex(ParamIndex::PhaserFrequency2ModSource)] = 4.0;
  values[ToIndex(ParamIndex::PhaserFrequency2ModStrength)] = 1.0;
  values[ToIndex(ParamIndex::CutoffFilterModSource)] = 2.0;
  ModulationSlots slots;
  ApplySlotSettings(slots, values);
  const auto at = [&](ModSlot s) -> const ModulationSlot& {
    return slots[static_cast<std::size_t>(s)];
  };
  EXPECT_EQ(at(ModSlot::Output).Source(), ModSource::Adsr);
  EXPECT_EQ(at(ModSlot::Output).Strength(), -0.5);
  EXPECT_EQ(at(ModSlot::PhaserFreq2).Source(), ModSource::Lfo2);
  EXPECT_EQ(at(ModSlot::PhaserFreq2).Strength(), 1.0);
  EXPECT_EQ(at(ModSlot::Cutoff).Source(), ModSource::NoModulation);
  EXPECT_EQ(at(ModSlot::Drive).Source(), ModSource::Lfo1);
}

}  // namespace
}  // namespace quorvel
