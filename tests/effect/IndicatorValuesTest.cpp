#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "effect/IndicatorValues.h"

namespace quorvel {
namespace {

TEST(IndicatorValuesTest, MeterLimits) {
  EXPECT_NEAR(MeterPosition(0.06309573444802), 0.0, 1e-15);  // −24 dBFS
  EXPECT_EQ(MeterPosition(0.01), 0.0);
  EXPECT_EQ(MeterPosition(1.5), 1.0);
  EXPECT_EQ(MeterPosition(std::numeric_limits<double>::quiet_NaN()), 0.0);
}

TEST(IndicatorValuesTest, PublishFillsEveryTagFromItsOwnSource) {
  using T = ControlTag;
  IndicatorValues values;
  for (int tag = kFirstIndicatorTag; tag <= kLastIndicatorTag; ++tag)
    EXPECT_EQ(values.Load(T(tag)), T(tag) == T::GateClosedLamp ? 1.0 : 0.0) << tag;

  IndicatorSnapshot s;
  s.cutoffOn = s.chorusOn = s.phaserOn = true;
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
  s.gateOpen = s.gateHolding = true;
  s.gateLevel = 1.0;
  s.followerLevel = 0.5;
  s.envCeiling = 2.0;
  s.gateOn = std::pow(10.0, -12.0 / 20.0);
  values.Publish(s, SourceValues{0.2, 0.4, 0.6, 0.8});

  // clang-format off
  const double expected[] = {
      1.0,                                         // limiter, limited
      0.6, 0.0, 0.1, 1.0, 1.0, 0.2, 0.8, 0.4, 0.12,  // activity; drive section off
      0.0, 1.0, 0.0,                               // gate closed, holding, open
      1.0, 0.0, 1.0, 1.0,                          // section lamps
      1.0, (0.5 - 0.06309573444802) / 0.93690426555198, 0.0, 1.0, 0.0, 0.200760,  // meters
      0.11, 0.12, 0.14, 0.15, 0.13, 0.16, 0.17, 0.18, 0.19};                    // knobs
  // clang-format on
  for (int tag = kFirstIndicatorTag; tag <= kLastIndicatorTag; ++tag)
    EXPECT_NEAR(values.Load(T(tag)), expected[tag - kFirstIndicatorTag], 1e-6) << tag;

  for (const bool open : {false, true}) {
    for (const bool holding : {false, true}) {
      s.gateOpen = open;
      s.gateHolding = holding;
      values.Publish(s, SourceValues{});
      EXPECT_EQ(values.Load(T::GateClosedLamp) + values.Load(T::GateHoldLamp) +
                    values.Load(T::GateOpenLamp),
                1.0);  // exactly one gate lamp
      EXPECT_EQ(values.Load(T::GateClosedLamp), open ? 0.0 : 1.0);
    }
  }
}

}  // namespace
}  // namespace quorvel
