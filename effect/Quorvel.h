#pragma once

#include <array>
#include <atomic>

#include "effect/QuorvelParameters.h"
#include "host/ClapPlugin.h"

namespace quorvel {

// The effect instance: sixty parameters, 27 factory presets and the engine reading a
// snapshot of the parameter values.
class Quorvel : public plugkit::ClapPlugin {
 public:
  // [main-thread] Under the construction lock.
  Quorvel(const clap_plugin_descriptor* descriptor, const clap_host* host, bool servesRealHost);

  // [thread-safe] Copies the parameter's plain value into the snapshot; indices outside the
  // sixty are ignored.
  using ClapPlugin::OnParamChange;
  void OnParamChange(int index) override;

  // [thread-safe] The snapshot value of one parameter.
  double ParamValue(ParamIndex index) const {
    return paramValues[static_cast<size_t>(ToIndex(index))].load(std::memory_order_relaxed);
  }

 protected:
  // The plain value of every parameter as last reported. Each element is written and read
  // whole from either thread without a lock.
  std::array<std::atomic<double>, kParamCount> paramValues;
};

}  // namespace quorvel
