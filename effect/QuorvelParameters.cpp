#include "effect/QuorvelParameters.h"

#include <string>

#include "framework/EditorDelegateBase.h"
#include "framework/Param.h"

namespace quorvel {

namespace {

using plugkit::Param;

class Definer {
 public:
  explicit Definer(plugkit::EditorDelegateBase& params) : params_(params) {}

  Param& At(ParamIndex index) { return *params_.ParamAt(ToIndex(index)); }

  void Bool(ParamIndex index, const char* name, bool defaultValue) {
    At(index).DefineBool(name, defaultValue, "", 0, "", "off", "on");
  }

  void Double(ParamIndex index, const char* name, double min, double max, double defaultValue,
              double step, const char* label, const Param::Shape& shape = Param::ShapeLinear()) {
    At(index).DefineDouble(name, defaultValue, min, max, step, label, 0, "", shape);
  }

  void LfoShape(ParamIndex index, const char* name) {
    Param& param = At(index);
    param.DefineEnum(name, 1, 5, "", 0, "");
    param.AddDisplayText(1, "tri");
    param.AddDisplayText(2, "nonlinear");
    param.AddDisplayText(0, "sine");
    param.AddDisplayText(4, "square");
    param.AddDisplayText(3, "saw");
  }

 private:
  plugkit::EditorDelegateBase& params_;
};

const ModulationPair& PairFor(ParamIndex base) {
  for (const ModulationPair& pair : kModulationPairs)
    if (pair.base == base) return pair;
  return kModulationPairs.front();  // unreachable: every caller names a modulated setting
}

}  // namespace

void AddModulationPair(plugkit::EditorDelegateBase& params, const ModulationPair& pair) {
  Param* source = params.ParamAt(ToIndex(pair.source));
  Param* strength = params.ParamAt(ToIndex(pair.strength));
  if (!source || !strength) return;

  const std::string target = pair.target;
  source->DefineEnum((target + " modulation source").c_str(), static_cast<int>(pair.defaultSource),
                     kModSourceCount, "", 0, "");
  source->AddDisplayText(static_cast<int>(ModSource::NoModulation), "no modulation");
  source->AddDisplayText(static_cast<int>(ModSource::Adsr), "ADSR");
  source->AddDisplayText(static_cast<int>(ModSource::EnvFollower), "env follower");
  source->AddDisplayText(static_cast<int>(ModSource::Lfo1), "LFO 1");
  source->AddDisplayText(static_cast<int>(ModSource::Lfo2), "LFO 2");

  strength->DefineDouble((target + " modulation strength").c_str(), pair.defaultStrength, -1.0, 1.0,
                         0.01, "", 0, "", Param::ShapeLinear());
}

void DefineParameters(plugkit::EditorDelegateBase& params) {
  if (params.ParamCount() < kParamCount) return;
  using P = ParamIndex;
  using Curve = Param::ShapePowCurve;
  Definer d(params);

  d.Bool(P::SidechainDetector, "sidechain detector", false);
  d.Double(P::InputTrim, "input trim", -8, 24, 0, 0.1, "dB");
  d.Double(P::Lfo1Rate, "LFO 1 rate", 0, 1, 0.5, 0.01, "", Curve(2));
  d.Double(P::Lfo2Rate, "LFO 2 rate", 0, 1, 0.2, 0.01, "", Curve(2));
  d.Bool(P::Lfo1TempoSync, "LFO 1 tempo sync", false);
  d.Bool(P::Lfo2TempoSync, "LFO 2 tempo sync", false);
  d.LfoShape(P::Lfo1Shape, "LFO 1 shape");
  d.LfoShape(P::Lfo2Shape, "LFO 2 shape");
  d.Double(P::EnvFollowerSpeed, "envelope follower speed", 0, 1, 0.25, 0.01, "");
  d.Double(P::EnvFollowerFloor, "envelope follower floor", -24, 0, -18, 0.01, "dB");
  d.Double(P::EnvFollowerCeiling, "envelope follower ceiling", -24, 0, -3, 0.01, "dB");
  d.Double(P::AdsrGateOnThreshold, "ADSR gate on threshold", -24, 0, -12, 0.01, "dB");
  d.Double(P::AdsrGateHysteresis, "ADSR gate hysteresis", 0, 18, 3, 0.01, "dB");
  d.Double(P::AdsrGateHold, "ADSR gate hold", 0, 500, 0, 1, "ms");
  d.Double(P::AdsrAttack, "ADSR attack", 0, 1, 0.06666666666667, 0.01, "", Curve(2.5));
  d.Double(P::AdsrDecay, "ADSR decay", 0, 1, 0.16666666666667, 0.01, "", Curve(2.5));
  d.Double(P::AdsrSustain, "ADSR sustain", 0, 1, 0.75, 0.01, "");
  d.Double(P::AdsrRelease, "ADSR release", 0, 1, 0.08333333333333, 0.01, "", Curve(2.5));
  d.Bool(P::CutoffFilterEnable, "cutoff filter enable", false);

  Param& filterShape = d.At(P::CutoffFilterShape);
  filterShape.DefineEnum("cutoff filter shape", 0, 3, "", 0, "");
  filterShape.AddDisplayText(0, "low pass");
  filterShape.AddDisplayText(1, "wide band pass");
  filterShape.AddDisplayText(2, "narrow band pass");

  AddModulationPair(params, PairFor(P::CutoffFilterFrequency));
  d.Double(P::CutoffFilterFrequency, "cutoff filter frequency", 10, 18000, 18000, 1, "Hz",
           Curve(2.5));
  d.Double(P::Resonance, "resonance", 0, 1, 0, 0.01, "", Curve(2));
  d.Double(P::HighPassFrequency, "high pass frequency", 10, 18000, 10, 1, "Hz", Curve(4));
  d.Bool(P::DriveEnable, "drive enable", false);
  AddModulationPair(params, PairFor(P::Drive));
  d.Double(P::Drive, "drive", 0, 1, 0, 0.01, "");
  d.Bool(P::DriveFeedback, "drive feedback", true);
  d.Bool(P::PhaserEnable, "phaser enable", true);
  AddModulationPair(params, PairFor(P::PhaserWet));
  d.Double(P::PhaserWet, "phaser wet", 0, 1, 1, 0.01, "");
  AddModulationPair(params, PairFor(P::PhaserFrequency1));
  d.Double(P::PhaserFrequency1, "phaser frequency 1", 10, 18000, 3400, 1, "Hz", Curve(2.5));
  AddModulationPair(params, PairFor(P::PhaserFrequency2));
  d.Double(P::PhaserFrequency2, "phaser frequency 2", 10, 18000, 110, 1, "Hz", Curve(2.5));
  AddModulationPair(params, PairFor(P::PhaserFrequency3));
  d.Double(P::PhaserFrequency3, "phaser frequency 3", 10, 18000, 12000, 1, "Hz", Curve(2.5));
  d.Double(P::PhaserFeedback, "phaser feedback", 0, 1, 0.7, 0.01, "");
  d.Bool(P::PhaserSuperStereo, "phaser super stereo", true);
  d.Bool(P::ChorusEnable, "chorus enable", true);
  AddModulationPair(params, PairFor(P::ChorusWet));
  d.Double(P::ChorusWet, "chorus wet", 0, 1, 1, 0.01, "");
  AddModulationPair(params, PairFor(P::ChorusDelay));
  d.Double(P::ChorusDelay, "chorus delay", 0, 1, 0.25, 0.01, "", Curve(1.5));
  d.Double(P::ChorusSpread, "chorus spread", 0, 1, 1, 0.01, "");
  d.Bool(P::ChorusSuperStereo, "chorus super stereo", true);
  AddModulationPair(params, PairFor(P::Output));
  d.Double(P::Output, "output", 0, 2, 1, 0.01, "");
  d.Bool(P::MotorizedKnobs, "motorized knobs", false);
  d.Bool(P::BrickwallLimit, "brickwall limit", true);
  d.Bool(P::Unused, "unused", false);
}

}  // namespace quorvel
