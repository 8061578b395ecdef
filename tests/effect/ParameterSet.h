// The sixty parameters and the factory presets on a bare plug-in base, without the instance
// around them.

#pragma once

#include <array>

#include "effect/FactoryPresets.h"
#include "effect/QuorvelParameters.h"
#include "framework/plugin/PluginApiBase.h"

namespace testSupport {

class ParameterSet : public plugkit::PluginApiBase {
 public:
  ParameterSet()
      : PluginApiBase(plugkit::PluginConfig{.paramCount = quorvel::kParamCount,
                                            .presetCount = quorvel::kPresetSlotCount}) {
    quorvel::DefineParameters(*this);
    quorvel::AddFactoryPresets(*this);
  }

  // The plain value of every parameter, as the engine reads them.
  std::array<double, quorvel::kParamCount> PlainValues() const {
    std::array<double, quorvel::kParamCount> values{};
    for (int i = 0; i < quorvel::kParamCount; ++i)
      values[static_cast<size_t>(i)] = ParamAt(i)->GetPlain();
    return values;
  }
};

}  // namespace testSupport
