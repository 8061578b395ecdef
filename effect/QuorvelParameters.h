#pragma once

#include <array>

namespace plugkit {
class EditorDelegateBase;
}

namespace quorvel {

// The index is the parameter's identity everywhere: host id, state position, preset key and
// control binding. Never reorder.
enum class ParamIndex : int {
  SidechainDetector = 0,
  InputTrim,
  Lfo1Rate,
  Lfo2Rate,
  Lfo1TempoSync,
  Lfo2TempoSync,
  Lfo1Shape,
  Lfo2Shape,
  EnvFollowerSpeed,
  EnvFollowerFloor,
  EnvFollowerCeiling,
  AdsrGateOnThreshold,
  AdsrGateHysteresis,
  AdsrGateHold,
  AdsrAttack,
  AdsrDecay,
  AdsrSustain,
  AdsrRelease,
  CutoffFilterEnable,
  CutoffFilterShape,
  CutoffFilterModSource,
  CutoffFilterModStrength,
  CutoffFilterFrequency,
  Resonance,
  HighPassFrequency,
  DriveEnable,
  DriveModSource,
  DriveModStrength,
  Drive,
  DriveFeedback,
  PhaserEnable,
  PhaserWetModSource,
  PhaserWetModStrength,
  PhaserWet,
  PhaserFrequency1ModSource,
  PhaserFrequency1ModStrength,
  PhaserFrequency1,
  PhaserFrequency2ModSource,
  PhaserFrequency2ModStrength,
  PhaserFrequency2,
  PhaserFrequency3ModSource,
  PhaserFrequency3ModStrength,
  PhaserFrequency3,
  PhaserFeedback,
  PhaserSuperStereo,
  ChorusEnable,
  ChorusWetModSource,
  ChorusWetModStrength,
  ChorusWet,
  ChorusDelayModSource,
  ChorusDelayModStrength,
  ChorusDelay,
  ChorusSpread,
  ChorusSuperStereo,
  OutputModSource,
  OutputModStrength,
  Output,
  MotorizedKnobs,
  BrickwallLimit,
  Unused,
};

inline constexpr int kParamCount = 60;

constexpr int ToIndex(ParamIndex p) { return static_cast<int>(p); }

// Values of every modulation source parameter. "no modulation" is 2 so that hosts listing the
// values in order show it in the middle.
enum class ModSource : int { Lfo1 = 0, Adsr = 1, NoModulation = 2, EnvFollower = 3, Lfo2 = 4 };

inline constexpr int kModSourceCount = 5;

// One modulated setting: the parameters choosing its source and strength, and the setting.
struct ModulationPair {
  const char* target;
  ParamIndex source;
  ParamIndex strength;
  ParamIndex base;
  ModSource defaultSource;
  double defaultStrength;
};

inline constexpr std::array<ModulationPair, 9> kModulationPairs{{
    {"cutoff filter", ParamIndex::CutoffFilterModSource, ParamIndex::CutoffFilterModStrength,
     ParamIndex::CutoffFilterFrequency, ModSource::NoModulation, 0.0},
    {"drive", ParamIndex::DriveModSource, ParamIndex::DriveModStrength, ParamIndex::Drive,
     ModSource::NoModulation, 0.0},
    {"phaser wet", ParamIndex::PhaserWetModSource, ParamIndex::PhaserWetModStrength,
     ParamIndex::PhaserWet, ModSource::NoModulation, 0.0},
    {"phaser frequency 1", ParamIndex::PhaserFrequency1ModSource,
     ParamIndex::PhaserFrequency1ModStrength, ParamIndex::PhaserFrequency1, ModSource::Lfo2, 1.0},
    {"phaser frequency 2", ParamIndex::PhaserFrequency2ModSource,
     ParamIndex::PhaserFrequency2ModStrength, ParamIndex::PhaserFrequency2, ModSource::Lfo2, 1.0},
    {"phaser frequency 3", ParamIndex::PhaserFrequency3ModSource,
     ParamIndex::PhaserFrequency3ModStrength, ParamIndex::PhaserFrequency3, ModSource::Lfo2, 1.0},
    {"chorus wet", ParamIndex::ChorusWetModSource, ParamIndex::ChorusWetModStrength,
     ParamIndex::ChorusWet, ModSource::NoModulation, 0.0},
    {"chorus delay", ParamIndex::ChorusDelayModSource, ParamIndex::ChorusDelayModStrength,
     ParamIndex::ChorusDelay, ModSource::NoModulation, 0.0},
    {"output", ParamIndex::OutputModSource, ParamIndex::OutputModStrength, ParamIndex::Output,
     ModSource::NoModulation, 0.0},
}};

// Defines the source parameter (named target + " modulation source") and the strength
// parameter (target + " modulation strength") of one pair.
void AddModulationPair(plugkit::EditorDelegateBase& params, const ModulationPair& pair);

// Defines all sixty parameters in index order. [main-thread], during construction.
void DefineParameters(plugkit::EditorDelegateBase& params);

}  // namespace quorvel
