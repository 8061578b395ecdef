#include "effect/QuorvelParameters.h"

#include <string>

#include "framework/EditorDelegateBase.h"
#include "framework/Param.h"

namespace quorvel {

using plugkit::Param;

// Every parameter is a switch, a choice, a continuous setting or half a modulation pair.
static_assert(kSwitchParams.size() + kChoiceParams.size() + kRangeParams.size() +
                  2 * kModulationPairs.size() ==
              kParamCount);

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
  const auto at = [&params](ParamIndex index) -> Param& { return *params.ParamAt(ToIndex(index)); };
  for (const SwitchParam& p : kSwitchParams)
    at(p.index).DefineBool(p.name, p.defaultValue, "", 0, "", "off", "on");
  for (const ChoiceParam& p : kChoiceParams) {
    Param& param = at(p.index);
    param.DefineEnum(p.name, p.defaultValue, p.Count(), "", 0, "");
    for (const ChoiceText& text : p.texts) param.AddDisplayText(text.value, text.text);
  }
  for (const RangeParam& p : kRangeParams) {
    Param& param = at(p.index);
    if (p.curve == 1.0) {
      param.DefineDouble(p.name, p.defaultValue, p.min, p.max, p.step, p.unit, 0, "",
                         Param::ShapeLinear());
    } else {
      param.DefineDouble(p.name, p.defaultValue, p.min, p.max, p.step, p.unit, 0, "",
                         Param::ShapePowCurve(p.curve));
    }
  }
  for (const ModulationPair& pair : kModulationPairs) AddModulationPair(params, pair);
}

}  // namespace quorvel
