#include "effect/IndicatorValues.h"

#include <cmath>

namespace quorvel {

namespace {

constexpr double kMeterFloor = 0.06309573444802;  // −24 dBFS
constexpr double kMeterSpan = 0.93690426555198;

// Limits to 0 … 1; a non-finite level shows as 0 rather than reaching a control.
// NaN reads as 0: a lamp or needle must show something.
double UnitOrZero(double x) { return x > 0.0 ? (x < 1.0 ? x : 1.0) : 0.0; }

double Lamp(bool on) { return on ? 1.0 : 0.0; }

int Slot(ControlTag tag) { return static_cast<int>(tag) - kFirstIndicatorTag; }

}  // namespace

double MeterPosition(double amplitude) {
  return UnitOrZero((amplitude - kMeterFloor) / kMeterSpan);
}

double ModulationActivity(const SlotIndicator& slot, bool stageOn, const SourceValues& sources) {
  if (!stageOn) return 0.0;
  double value;
  switch (slot.source) {
    case ModSource::NoModulation:
      return 1.0;
    case ModSource::EnvFollower:
      value = sources.follower;
      break;
    case ModSource::Adsr:
      value = sources.adsr;
      break;
    case ModSource::Lfo1:
      value = sources.lfo1;
      break;
    case ModSource::Lfo2:
      value = sources.lfo2;
      break;
    default:
      return 0.0;
  }
  return value * std::sqrt(std::abs(slot.strength));
}

IndicatorValues::IndicatorValues() {
  for (auto& value : values_) value.store(0.0);
  values_[Slot(ControlTag::GateClosedLamp)].store(1.0);
}

void IndicatorValues::Store(ControlTag tag, double value) { values_[Slot(tag)].exchange(value); }

double IndicatorValues::Load(ControlTag tag) const {
  const int slot = Slot(tag);
  if (slot < 0 || slot >= kIndicatorCount) return 0.0;
  return values_[slot].load();
}

void IndicatorValues::Publish(const IndicatorSnapshot& state, const SourceValues& sources) {
  using T = ControlTag;
  Store(T::CutoffOnLamp, Lamp(state.cutoffOn));
  Store(T::DriveOnLamp, Lamp(state.driveOn));
  Store(T::ChorusOnLamp, Lamp(state.chorusOn));
  Store(T::PhaserOnLamp, Lamp(state.phaserOn));

  Store(T::CutoffModLamp, ModulationActivity(state.cutoff, state.cutoffOn, sources));
  Store(T::DriveModLamp, ModulationActivity(state.drive, state.driveOn, sources));
  Store(T::ChorusWetModLamp, ModulationActivity(state.chorusWet, state.chorusOn, sources));
  Store(T::ChorusDelayModLamp, ModulationActivity(state.chorusDelay, state.chorusOn, sources));
  Store(T::OutputModLamp, ModulationActivity(state.output, true, sources));
  Store(T::PhaserWetModLamp, ModulationActivity(state.phaserWet, state.phaserOn, sources));
  Store(T::PhaserFrequency1ModLamp,
        ModulationActivity(state.phaserFrequency1, state.phaserOn, sources));
  Store(T::PhaserFrequency2ModLamp,
        ModulationActivity(state.phaserFrequency2, state.phaserOn, sources));
  Store(T::PhaserFrequency3ModLamp,
        ModulationActivity(state.phaserFrequency3, state.phaserOn, sources));

  Store(T::LimiterLamp, UnitOrZero(state.limiterIndicator));

  Store(T::GateMeter, MeterPosition(state.gateLevel));
  Store(T::FollowerMeter, MeterPosition(state.followerLevel));
  Store(T::FloorMarker, MeterPosition(state.envFloor));
  Store(T::CeilingMarker, MeterPosition(state.envCeiling));
  Store(T::GateOffMarker, MeterPosition(state.gateOff));
  Store(T::GateOnMarker, MeterPosition(state.gateOn));

  Store(T::CutoffFrequencyKnob, state.cutoff.lastNormalized);
  Store(T::DriveKnob, state.drive.lastNormalized);
  Store(T::ChorusWetKnob, state.chorusWet.lastNormalized);
  Store(T::ChorusDelayKnob, state.chorusDelay.lastNormalized);
  Store(T::OutputKnob, state.output.lastNormalized);
  Store(T::PhaserWetKnob, state.phaserWet.lastNormalized);
  Store(T::PhaserFrequency1Knob, state.phaserFrequency1.lastNormalized);
  Store(T::PhaserFrequency2Knob, state.phaserFrequency2.lastNormalized);
  Store(T::PhaserFrequency3Knob, state.phaserFrequency3.lastNormalized);

  Store(T::GateClosedLamp, Lamp(!state.gateOpen));
  Store(T::GateHoldLamp, Lamp(state.gateOpen && state.gateHolding));
  Store(T::GateOpenLamp, Lamp(state.gateOpen && !state.gateHolding));
}

}  // namespace quorvel
