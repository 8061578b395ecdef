#pragma once

#include <array>
#include <span>

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

// A switch: off (0) or on (1).
struct SwitchParam {
  ParamIndex index;
  const char* name;
  bool defaultValue;
};

// One value of a choice and its text.
struct ChoiceText {
  int value;
  const char* text;
};

// A choice of the values 0 … Count() − 1, their texts in the order hosts list them.
struct ChoiceParam {
  ParamIndex index;
  const char* name;
  int defaultValue;
  std::span<const ChoiceText> texts;

  constexpr int Count() const { return static_cast<int>(texts.size()); }
};

// A continuous setting from min to max. The knob position x in 0 … 1 maps to
// min + (max − min) · x^curve: a curve above 1 gives the low end more travel.
struct RangeParam {
  ParamIndex index;
  const char* name;
  double min, max, defaultValue, step;
  const char* unit;
  double curve = 1.0;
};

inline constexpr std::array<SwitchParam, 13> kSwitchParams{{
    {ParamIndex::SidechainDetector, "sidechain detector", false},
    {ParamIndex::Lfo1TempoSync, "LFO 1 tempo sync", false},
    {ParamIndex::Lfo2TempoSync, "LFO 2 tempo sync", false},
    {ParamIndex::CutoffFilterEnable, "cutoff filter enable", false},
    {ParamIndex::DriveEnable, "drive enable", false},
    {ParamIndex::DriveFeedback, "drive feedback", true},
    {ParamIndex::PhaserEnable, "phaser enable", true},
    {ParamIndex::PhaserSuperStereo, "phaser super stereo", true},
    {ParamIndex::ChorusEnable, "chorus enable", true},
    {ParamIndex::ChorusSuperStereo, "chorus super stereo", true},
    {ParamIndex::MotorizedKnobs, "motorized knobs", false},
    {ParamIndex::BrickwallLimit, "brickwall limit", true},
    {ParamIndex::Unused, "unused", false},
}};

inline constexpr ChoiceText kLfoShapeTexts[] = {
    {1, "tri"}, {2, "nonlinear"}, {0, "sine"}, {4, "square"}, {3, "saw"}};
inline constexpr ChoiceText kFilterShapeTexts[] = {
    {0, "low pass"}, {1, "wide band pass"}, {2, "narrow band pass"}};

inline constexpr std::array<ChoiceParam, 3> kChoiceParams{{
    {ParamIndex::Lfo1Shape, "LFO 1 shape", 1, kLfoShapeTexts},
    {ParamIndex::Lfo2Shape, "LFO 2 shape", 1, kLfoShapeTexts},
    {ParamIndex::CutoffFilterShape, "cutoff filter shape", 0, kFilterShapeTexts},
}};

inline constexpr std::array<RangeParam, 26> kRangeParams{{
    {ParamIndex::InputTrim, "input trim", -8, 24, 0, 0.1, "dB"},
    {ParamIndex::Lfo1Rate, "LFO 1 rate", 0, 1, 0.5, 0.01, "", 2},
    {ParamIndex::Lfo2Rate, "LFO 2 rate", 0, 1, 0.2, 0.01, "", 2},
    {ParamIndex::EnvFollowerSpeed, "envelope follower speed", 0, 1, 0.25, 0.01, ""},
    {ParamIndex::EnvFollowerFloor, "envelope follower floor", -24, 0, -18, 0.01, "dB"},
    {ParamIndex::EnvFollowerCeiling, "envelope follower ceiling", -24, 0, -3, 0.01, "dB"},
    {ParamIndex::AdsrGateOnThreshold, "ADSR gate on threshold", -24, 0, -12, 0.01, "dB"},
    {ParamIndex::AdsrGateHysteresis, "ADSR gate hysteresis", 0, 18, 3, 0.01, "dB"},
    {ParamIndex::AdsrGateHold, "ADSR gate hold", 0, 500, 0, 1, "ms"},
    {ParamIndex::AdsrAttack, "ADSR attack", 0, 1, 0.06666666666667, 0.01, "", 2.5},
    {ParamIndex::AdsrDecay, "ADSR decay", 0, 1, 0.16666666666667, 0.01, "", 2.5},
    {ParamIndex::AdsrSustain, "ADSR sustain", 0, 1, 0.75, 0.01, ""},
    {ParamIndex::AdsrRelease, "ADSR release", 0, 1, 0.08333333333333, 0.01, "", 2.5},
    {ParamIndex::CutoffFilterFrequency, "cutoff filter frequency", 10, 18000, 18000, 1, "Hz", 2.5},
    {ParamIndex::Resonance, "resonance", 0, 1, 0, 0.01, "", 2},
    {ParamIndex::HighPassFrequency, "high pass frequency", 10, 18000, 10, 1, "Hz", 4},
    {ParamIndex::Drive, "drive", 0, 1, 0, 0.01, ""},
    {ParamIndex::PhaserWet, "phaser wet", 0, 1, 1, 0.01, ""},
    {ParamIndex::PhaserFrequency1, "phaser frequency 1", 10, 18000, 3400, 1, "Hz", 2.5},
    {ParamIndex::PhaserFrequency2, "phaser frequency 2", 10, 18000, 110, 1, "Hz", 2.5},
    {ParamIndex::PhaserFrequency3, "phaser frequency 3", 10, 18000, 12000, 1, "Hz", 2.5},
    {ParamIndex::PhaserFeedback, "phaser feedback", 0, 1, 0.7, 0.01, ""},
    {ParamIndex::ChorusWet, "chorus wet", 0, 1, 1, 0.01, ""},
    {ParamIndex::ChorusDelay, "chorus delay", 0, 1, 0.25, 0.01, "", 1.5},
    {ParamIndex::ChorusSpread, "chorus spread", 0, 1, 1, 0.01, ""},
    {ParamIndex::Output, "output", 0, 2, 1, 0.01, ""},
}};

// The record of one parameter; naming a parameter the table lacks does not compile.
consteval const SwitchParam& SwitchOf(ParamIndex index) {
  for (const SwitchParam& param : kSwitchParams)
    if (param.index == index) return param;
  throw "not a switch";
}
consteval const ChoiceParam& ChoiceOf(ParamIndex index) {
  for (const ChoiceParam& param : kChoiceParams)
    if (param.index == index) return param;
  throw "not a choice";
}
consteval const RangeParam& RangeOf(ParamIndex index) {
  for (const RangeParam& param : kRangeParams)
    if (param.index == index) return param;
  throw "not a continuous setting";
}

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

// Defines all sixty parameters: the records above and the modulation pairs. [main-thread], during
// construction.
void DefineParameters(plugkit::EditorDelegateBase& params);

}  // namespace quorvel
