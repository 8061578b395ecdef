#pragma once

namespace plugkit {
class PluginBase;
}

namespace quorvel {

inline constexpr int kFactoryPresetCount = 27;
// The instance offers a few empty slots beyond the factory presets.
inline constexpr int kPresetSlotCount = 32;

// Fills the first 27 preset slots: "Empty" with the current values (the defaults during
// construction), then "Full Bypass" and the named presets. Every parameter a preset does not
// list keeps its current value, so call it right after the parameters are defined.
// [main-thread], during construction.
void AddFactoryPresets(plugkit::PluginBase& plugin);

}  // namespace quorvel
