#include "editor/IndicatorUpdate.h"

#include <array>

#include "editor/QuorvelLEDControl.h"
#include "editor/QuorvelMotorizedKnobControl.h"
#include "editor/QuorvelNeedleControl.h"
#include "editor/QuorvelRadialNeedleControl.h"
#include "effect/IndicatorValues.h"
#include "framework/EditorDelegateBase.h"
#include "graphics/Graphics.h"

namespace quorvel {

namespace {

using C = ControlTag;

// Section switches first, then what they gate, the gate lamps, and the meters and markers.
constexpr std::array<ControlTag, 23> kLevelOrder{{
    C::CutoffOnLamp,
    C::DriveOnLamp,
    C::ChorusOnLamp,
    C::PhaserOnLamp,
    C::CutoffModLamp,
    C::DriveModLamp,
    C::ChorusWetModLamp,
    C::ChorusDelayModLamp,
    C::OutputModLamp,
    C::PhaserWetModLamp,
    C::PhaserFrequency1ModLamp,
    C::PhaserFrequency2ModLamp,
    C::PhaserFrequency3ModLamp,
    C::LimiterLamp,
    C::GateClosedLamp,
    C::GateHoldLamp,
    C::GateOpenLamp,
    C::GateMeter,
    C::FollowerMeter,
    C::FloorMarker,
    C::CeilingMarker,
    C::GateOffMarker,
    C::GateOnMarker,
}};

bool IsOn(const plugkit::EditorDelegateBase& params, ParamIndex index) {
  const plugkit::Param* param = params.ParamAt(ToIndex(index));
  return param && param->GetPlain() >= 0.5;
}

void SetLevel(plugkit::gfx::Control* control, double value) {
  if (auto* lamp = dynamic_cast<QuorvelLEDControl*>(control)) {
    lamp->SetLevel(value);
  } else if (auto* meter = dynamic_cast<QuorvelNeedleControl*>(control)) {
    meter->SetLevel(value);
  } else if (auto* marker = dynamic_cast<QuorvelRadialNeedleControl*>(control)) {
    marker->SetLevel(value);
  }
}

bool StageOn(ControlTag knob, const MotorSwitches& s) {
  switch (knob) {
    case C::CutoffFrequencyKnob:
      return s.cutoffOn;
    case C::DriveKnob:
      return s.driveOn;
    case C::ChorusWetKnob:
    case C::ChorusDelayKnob:
      return s.chorusOn;
    case C::OutputKnob:
      return true;
    default:
      return s.phaserOn;
  }
}

}  // namespace

MotorSwitches ReadMotorSwitches(const plugkit::EditorDelegateBase& params) {
  MotorSwitches s;
  s.motorizedKnobs = IsOn(params, ParamIndex::MotorizedKnobs);
  s.cutoffOn = IsOn(params, ParamIndex::CutoffFilterEnable);
  s.driveOn = IsOn(params, ParamIndex::DriveEnable);
  s.chorusOn = IsOn(params, ParamIndex::ChorusEnable);
  s.phaserOn = IsOn(params, ParamIndex::PhaserEnable);
  return s;
}

void UpdateIndicators(plugkit::gfx::Graphics* graphics, const IndicatorValues& values,
                      const MotorSwitches& switches) {
  if (!graphics) return;
  for (ControlTag tag : kLevelOrder) {
    SetLevel(graphics->GetControlWithTag(static_cast<int>(tag)), values.Load(tag));
  }
  for (int t = static_cast<int>(C::CutoffFrequencyKnob);
       t <= static_cast<int>(C::PhaserFrequency3Knob); ++t) {
    const auto tag = static_cast<ControlTag>(t);
    auto* knob = dynamic_cast<QuorvelMotorizedKnobControl*>(graphics->GetControlWithTag(t));
    if (!knob) continue;
    knob->SetMotorState(switches.motorizedKnobs && StageOn(tag, switches));
    knob->SetMotorValue(values.Load(tag));
  }
}

}  // namespace quorvel
