#pragma once

namespace quorvel {

// Identifies an editor control for lookup. Tags 3 … 34 carry the indicator values the
// audio thread publishes, in this order.
enum class ControlTag : int {
  ManualHotspot = 2,
  LimiterLamp = 3,
  CutoffModLamp,
  DriveModLamp,
  ChorusWetModLamp,
  ChorusDelayModLamp,
  OutputModLamp,
  PhaserWetModLamp,
  PhaserFrequency1ModLamp,
  PhaserFrequency2ModLamp,
  PhaserFrequency3ModLamp,
  GateClosedLamp,
  GateHoldLamp,
  GateOpenLamp,
  CutoffOnLamp,
  DriveOnLamp,
  ChorusOnLamp,
  PhaserOnLamp,
  GateMeter,
  FollowerMeter,
  FloorMarker,
  CeilingMarker,
  GateOffMarker,
  GateOnMarker,
  CutoffFrequencyKnob,
  DriveKnob,
  ChorusWetKnob,
  ChorusDelayKnob,
  OutputKnob,
  PhaserWetKnob,
  PhaserFrequency1Knob,
  PhaserFrequency2Knob,
  PhaserFrequency3Knob,
};

inline constexpr int kFirstIndicatorTag = static_cast<int>(ControlTag::LimiterLamp);
inline constexpr int kLastIndicatorTag = static_cast<int>(ControlTag::PhaserFrequency3Knob);
inline constexpr int kIndicatorCount = kLastIndicatorTag - kFirstIndicatorTag + 1;

}  // namespace quorvel
