#pragma once

#include <array>
#include <span>

#include "framework/PresetValue.h"

namespace quorvel {

inline constexpr int kFactoryPresetCount = 27;
// The instance offers a few empty slots beyond the factory presets.
inline constexpr int kPresetSlotCount = 32;

// A preset as (parameter index, plain value) pairs; every parameter it does not list keeps
// its default.
struct FactoryPreset {
  const char* name;
  std::span<const plugkit::PresetValue> values;
};

// Slots 1 to 26, in slot order. Slot 0, "Empty", holds the defaults.
extern const std::array<FactoryPreset, kFactoryPresetCount - 1> kNamedFactoryPresets;

}  // namespace quorvel
