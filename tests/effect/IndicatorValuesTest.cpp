#include "effect/IndicatorValues.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace quorvel {
namespace {

TEST(IndicatorValuesTest, StartValues) {
  IndicatorValues values;
  for (int tag = kFirstIndicatorTag; tag <= kLastIndicatorTag; ++tag) {
    const auto t = static_cast<ControlTag>(tag);
    EXPECT_EQ(values.Load(t), t == ControlTag::GateClosedLamp ? 1.0 : 0.0) << tag;
  }
  EXPECT_EQ(kIndicatorCount, 32);
  EXPECT_EQ(static_cast<int>(ControlTag::GateOnMarker), 25);
  EXPECT_EQ(values.Load(ControlTag::ManualHotspot), 0.0);
}

TEST(IndicatorValuesTest, MeterAndActivity) {
  EXPECT_NEAR(MeterPosition(0.06309573444802), 0.0, 1e-15);
  EXPECT_DOUBLE_EQ(MeterPosition(1.0), 1.0);
  EXPECT_NEAR(MeterPosition(std::pow(10.0, -12.0 / 20.0)), 0.200760, 1e-6);
  EXPECT_EQ(MeterPosition(0.01), 0.0);
  EXPECT_EQ(MeterPosition(1.5), 1.0);
  EXPECT_EQ(MeterPosition(std::numeric_limits<double>::quiet_NaN()), 0.0);

  const SourceValues sources{0.2, 0.4, 0.6, 0.8};
  auto activity = [&](ModSource source, double strength, bool on) {
    return ModulationActivity(SlotIndicator{source, strength, 0.0}, on, sources);
  };
  EXPECT_EQ(activity(ModSource::NoModulation, 0.0, true), 1.0);
  EXPECT_EQ(activity(ModSource::NoModulation, 0.0, false), 0.0);
  EXPECT_DOUBLE_EQ(activity(ModSource::EnvFollower, 0.25, true), 0.1);
  EXPECT_DOUBLE_EQ(activity(ModSource::Adsr, -1.0, true), 0.4);
  EXPECT_DOUBLE_EQ(activity(ModSource::Lfo1, 0.64, true), 0.6 * 0.8);
  EXPECT_DOUBLE_EQ(activity(ModSource::Lfo2, -0.09, true), 0.8 * 0.3);
  EXPECT_EQ(activity(ModSource::Lfo2, 1.0, false), 0.0);
}

TEST(IndicatorValuesTest, PublishFillsEveryTagFromItsOwnSource) {
  IndicatorSnapshot s;
  s.cutoffOn = true;
  s.driveOn = false;
  s.chorusOn = true;
  s.phaserOn = true;
  s.limiterIndicator = 1.7;
  // Distinct knob positions reveal any mix-up between slots.
  s.cutoff = {ModSource::Lfo1, 1.0, 0.11};
  s.drive = {ModSource::Adsr, 1.0, 0.12};
  s.output = {ModSource::NoModulation, 0.0, 0.13};
  s.chorusWet = {ModSource::EnvFollower, 0.25, 0.14};
  s.chorusDelay = {ModSource::NoModulation, 0.5, 0.15};
  s.phaserWet = {ModSource::Adsr, 0.25, 0.16};
  s.phaserFrequency1 = {ModSource::Lfo2, 1.0, 0.17};
  s.phaserFrequency2 = {ModSource::Lfo2, 0.25, 0.18};
  s.phaserFrequency3 = {ModSource::Lfo1, 0.04, 0.19};
  s.gateOpen = true;
  s.gateHolding = true;
  s.gateLevel = 1.0;
  s.followerLevel = 0.06309573444802;
  s.envFloor = 0.5;
  s.envCeiling = 2.0;
  s.gateOff = 0.0;
  s.gateOn = std::pow(10.0, -12.0 / 20.0);
  IndicatorValues values;
  values.Publish(s, SourceValues{0.2, 0.4, 0.6, 0.8});

  using T = ControlTag;
  EXPECT_EQ(values.Load(T::CutoffOnLamp), 1.0);
  EXPECT_EQ(values.Load(T::DriveOnLamp), 0.0);
  EXPECT_EQ(values.Load(T::ChorusOnLamp), 1.0);
  EXPECT_EQ(values.Load(T::PhaserOnLamp), 1.0);
  EXPECT_DOUBLE_EQ(values.Load(T::CutoffModLamp), 0.6);
  EXPECT_EQ(values.Load(T::DriveModLamp), 0.0);  // section off
  EXPECT_DOUBLE_EQ(values.Load(T::ChorusWetModLamp), 0.1);
  EXPECT_EQ(values.Load(T::ChorusDelayModLamp), 1.0);
  EXPECT_EQ(values.Load(T::OutputModLamp), 1.0);  // always enabled
  EXPECT_DOUBLE_EQ(values.Load(T::PhaserWetModLamp), 0.2);
  EXPECT_DOUBLE_EQ(values.Load(T::PhaserFrequency1ModLamp), 0.8);
  EXPECT_DOUBLE_EQ(values.Load(T::PhaserFrequency2ModLamp), 0.4);
  EXPECT_DOUBLE_EQ(values.Load(T::PhaserFrequency3ModLamp), 0.12);
  EXPECT_EQ(values.Load(T::LimiterLamp), 1.0);
  EXPECT_DOUBLE_EQ(values.Load(T::GateMeter), 1.0);
  EXPECT_NEAR(values.Load(T::FollowerMeter), 0.0, 1e-15);
  EXPECT_NEAR(values.Load(T::FloorMarker), (0.5 - 0.06309573444802) / 0.93690426555198, 1e-15);
  EXPECT_EQ(values.Load(T::CeilingMarker), 1.0);
  EXPECT_EQ(values.Load(T::GateOffMarker), 0.0);
  EXPECT_NEAR(values.Load(T::GateOnMarker), 0.200760, 1e-6);
  const double knobs[] = {0.11, 0.12, 0.14, 0.15, 0.13, 0.16, 0.17, 0.18, 0.19};
  for (int k = 0; k < 9; ++k) {
    const auto tag = static_cast<T>(static_cast<int>(T::CutoffFrequencyKnob) + k);
    EXPECT_EQ(values.Load(tag), knobs[k]) << static_cast<int>(tag);
  }
  EXPECT_EQ(values.Load(T::GateClosedLamp), 0.0);
  EXPECT_EQ(values.Load(T::GateHoldLamp), 1.0);
  EXPECT_EQ(values.Load(T::GateOpenLamp), 0.0);

  // Exactly one gate lamp is lit in every gate state.
  for (const bool open : {false, true}) {
    for (const bool holding : {false, true}) {
      s.gateOpen = open;
      s.gateHolding = holding;
      s.limiterIndicator = -0.5;
      values.Publish(s, SourceValues{});
      EXPECT_EQ(values.Load(T::GateClosedLamp) + values.Load(T::GateHoldLamp) +
                    values.Load(T::GateOpenLamp),
                1.0);
      EXPECT_EQ(values.Load(T::GateClosedLamp), open ? 0.0 : 1.0);
      EXPECT_EQ(values.Load(T::LimiterLamp), 0.0);
    }
  }
}

}  // namespace
}  // namespace quorvel
