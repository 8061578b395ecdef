// Lamps, meters, markers and motorized knobs: what they show for a level, and the idle update
// that feeds them.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "EditorTestSupport.h"
#include "editor/IndicatorUpdate.h"
#include "editor/QuorvelEditor.h"
#include "editor/QuorvelLEDControl.h"
#include "editor/QuorvelManualHotspotControl.h"
#include "editor/QuorvelMotorizedKnobControl.h"
#include "editor/QuorvelNeedleControl.h"
#include "editor/QuorvelRadialNeedleControl.h"
#include "effect/IndicatorValues.h"

namespace quorvel::test {
namespace {

using plugkit::gfx::BackendBitmap;
using plugkit::gfx::Bitmap;
using plugkit::gfx::test::At;
using plugkit::gfx::test::RecordingGraphics;
using plugkit::gfx::test::RightButton;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

class IndicatorControlsTest : public ::testing::Test {
 protected:
  BackendBitmap glowImage{30, 31, 1, 1};
  BackendBitmap meterImage{104, 7474, 1, 1};
  BackendBitmap knobImage{16, 2040, 1, 1};
  Bitmap glow{&glowImage, 30, 31, 1, false, "glow"};
  Bitmap meter{&meterImage, 104, 7474, 101, false, "meter"};
  Bitmap knob{&knobImage, 16, 2040, 136, false, "knob"};
  QuorvelParamsDelegate delegate;
  RecordingGraphics g{delegate};
};

TEST_F(IndicatorControlsTest, LampAddsItsGlowAtTheLimitedLevel) {
  auto* lamp = static_cast<QuorvelLEDControl*>(g.AttachControl(new QuorvelLEDControl(5, 6, glow)));
  EXPECT_TRUE(lamp->IsMouseTransparent());
  const struct {
    double level;
    float weight;
  } cases[] = {{0.5, 0.5f}, {-3, 0}, {7, 1}, {kNaN, 0}};
  for (const auto& c : cases) {
    g.ops.clear();
    lamp->SetLevel(c.level);
    lamp->Draw(g);
    const auto ops = g.OpsNamed("bitmap");
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(ops[0].args, (std::vector<float>{5, 6, 35, 37, 0, 0, c.weight})) << c.level;
  }
}

TEST_F(IndicatorControlsTest, MeterFrameIsTruncated) {
  QuorvelNeedleControl needle(344, 52, meter);
  const struct {
    double level;
    int frame;
  } cases[] = {{0, 1}, {0.5, 51}, {0.999, 100}, {1, 101}, {3, 101}, {kNaN, 1}};
  for (const auto& c : cases) {
    needle.SetLevel(c.level);
    EXPECT_EQ(needle.Frame(), c.frame) << c.level;
  }
}

TEST_F(IndicatorControlsTest, MarkerTurnsFromStartToEndAngle) {
  QuorvelRadialNeedleControl marker(397, 106, -108, 99, 30, 52, {255, 255, 0, 0}, 0.85f);
  EXPECT_EQ(marker.DrawRect(), plugkit::gfx::Rect(337, 46, 457, 166));
  const struct {
    double level;
    float angle;
  } cases[] = {{0, -108}, {1, 99}, {0.5, -4.5f}, {-1, -108}};
  for (const auto& c : cases) {
    marker.SetLevel(c.level);
    EXPECT_FLOAT_EQ(marker.Angle(), c.angle) << c.level;
  }
  // Angle 0 points straight up from the pivot.
  QuorvelRadialNeedleControl upright(397, 106, 0, 90, 30, 52, {255, 0, 255, 0}, 0.85f);
  float x1, y1, x2, y2;
  upright.LineEnds(x1, y1, x2, y2);
  EXPECT_NEAR(x1, 397, 1e-4);
  EXPECT_NEAR(y1, 76, 1e-4);
  EXPECT_NEAR(x2, 397, 1e-4);
  EXPECT_NEAR(y2, 54, 1e-4);
  upright.SetLevel(1);  // 90°: to the right
  upright.LineEnds(x1, y1, x2, y2);
  EXPECT_NEAR(x2, 449, 1e-4);
  EXPECT_NEAR(y2, 106, 1e-4);
}

TEST_F(IndicatorControlsTest, MotorizedKnobShowsTheMotorValueRounded) {
  QuorvelMotorizedKnobControl motor(0, 0, knob, ToIndex(ParamIndex::Output));
  motor.SetValue(0.25);
  motor.SetMotorState(true);
  EXPECT_EQ(motor.MotorValue(), 0.25);  // starts from the knob's own value
  const struct {
    double value;
    int frame;
  } cases[] = {{0.5, 69}, {1.7, 136}, {-1, 1}, {kNaN, 1}};
  for (const auto& c : cases) {
    motor.SetMotorValue(c.value);
    EXPECT_EQ(motor.MotorFrame(), c.frame) << c.value;
  }
  motor.SetMotorValue(1.7);
  EXPECT_EQ(motor.MotorValue(), 1.7);  // limited only when drawn
}

TEST_F(IndicatorControlsTest, HotspotRunsItsActionForAnyButton) {
  int runs = 0;
  g.AttachControl(new QuorvelManualHotspotControl({375, 137, 415, 151}, [&] { ++runs; }));
  g.OnMouseDown({At(395, 144, RightButton())});
  EXPECT_EQ(runs, 1);
}

class IndicatorUpdateTest : public ::testing::Test {
 protected:
  IndicatorUpdateTest() { LayoutEditor(g, nullptr); }
  QuorvelMotorizedKnobControl* Knob(ControlTag tag) {
    return dynamic_cast<QuorvelMotorizedKnobControl*>(g.GetControlWithTag(static_cast<int>(tag)));
  }

  QuorvelParamsDelegate delegate;
  RecordingGraphics g{delegate};
  IndicatorValues values;
};

TEST_F(IndicatorUpdateTest, FeedsLampsMetersAndMarkersByTag) {
  IndicatorSnapshot state;
  state.cutoffOn = true;
  state.gateLevel = 1.0;
  state.envCeiling = 1.0;
  values.Publish(state, {});
  UpdateIndicators(&g, values, {});
  const auto level = [&](ControlTag tag) {
    const auto* c = g.GetControlWithTag(static_cast<int>(tag));
    if (auto* lamp = dynamic_cast<const QuorvelLEDControl*>(c)) return lamp->Level();
    if (auto* meter = dynamic_cast<const QuorvelNeedleControl*>(c)) return meter->Level();
    return dynamic_cast<const QuorvelRadialNeedleControl*>(c)->Level();
  };
  EXPECT_EQ(level(ControlTag::CutoffOnLamp), 1.0);
  EXPECT_EQ(level(ControlTag::DriveOnLamp), 0.0);
  EXPECT_EQ(level(ControlTag::GateClosedLamp), 1.0);
  EXPECT_EQ(level(ControlTag::GateMeter), 1.0);
  EXPECT_EQ(level(ControlTag::CeilingMarker), 1.0);
  EXPECT_EQ(level(ControlTag::FloorMarker), 0.0);
}

TEST_F(IndicatorUpdateTest, OnlyWhatMovedIsRedrawn) {
  IndicatorSnapshot state;
  state.cutoffOn = true;
  state.gateLevel = 0.5;
  state.cutoff.lastNormalized = 0.3;
  values.Publish(state, {});
  const MotorSwitches motors{true, true, false, false, false};
  UpdateIndicators(&g, values, motors);
  g.SetAllControlsClean();
  const auto dirty = [&] {
    std::vector<int> tags;
    for (int t = 3; t <= 34; ++t) {
      if (g.GetControlWithTag(t)->IsDirty()) tags.push_back(t);
    }
    return tags;
  };
  UpdateIndicators(&g, values, motors);
  EXPECT_EQ(dirty(), std::vector<int>{}) << "the same values again";

  state.gateLevel = 0.9;
  state.cutoff.lastNormalized = 0.7;
  values.Publish(state, {});
  UpdateIndicators(&g, values, motors);
  EXPECT_EQ(dirty(), (std::vector<int>{static_cast<int>(ControlTag::GateMeter),
                                       static_cast<int>(ControlTag::CutoffFrequencyKnob)}));
}

TEST_F(IndicatorUpdateTest, MotorStateFollowsTheSwitchesOfEachKnob) {
  const auto set = [&](ParamIndex p, double v) { delegate.ParamAt(ToIndex(p))->SetPlain(v); };
  for (ParamIndex p : {ParamIndex::MotorizedKnobs, ParamIndex::CutoffFilterEnable,
                       ParamIndex::DriveEnable, ParamIndex::ChorusEnable}) {
    set(p, 1);
  }
  set(ParamIndex::PhaserEnable, 0);
  UpdateIndicators(&g, values, ReadMotorSwitches(delegate));
  for (int t = 26; t <= 30; ++t) EXPECT_TRUE(Knob(static_cast<ControlTag>(t))->IsMotorized()) << t;
  for (int t = 31; t <= 34; ++t) EXPECT_FALSE(Knob(static_cast<ControlTag>(t))->IsMotorized()) << t;

  set(ParamIndex::MotorizedKnobs, 0);
  UpdateIndicators(&g, values, ReadMotorSwitches(delegate));
  for (int t = 26; t <= 34; ++t) EXPECT_FALSE(Knob(static_cast<ControlTag>(t))->IsMotorized()) << t;
  UpdateIndicators(nullptr, values, {});  // a closed editor is left alone
}

}  // namespace
}  // namespace quorvel::test
