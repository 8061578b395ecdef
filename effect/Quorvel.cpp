#include "effect/Quorvel.h"

#include "effect/FactoryPresets.h"
#include "framework/PluginConfig.h"

namespace quorvel {

Quorvel::Quorvel(const clap_plugin_descriptor* descriptor, const clap_host* host,
                 bool servesRealHost)
    : ClapPlugin(kPluginConfig, descriptor, host, servesRealHost) {
  for (auto& value : paramValues) value.store(0.0, std::memory_order_relaxed);
  DefineParameters(*this);
  for (int i = 0; i < kParamCount; ++i) OnParamChange(i);
  AddFactoryPresets(*this);
}

void Quorvel::OnParamChange(int index) {
  if (index < 0 || index >= kParamCount) return;
  const plugkit::Param* param = ParamAt(index);
  if (!param) return;
  paramValues[static_cast<size_t>(index)].store(param->GetPlain(), std::memory_order_relaxed);
}

}  // namespace quorvel
