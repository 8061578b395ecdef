#include "framework/plugin/PluginBase.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "framework/BoundedText.h"
#include "framework/SaturatingCast.h"

namespace plugkit {

PluginBase::PluginBase(const PluginConfig& config)
    : GraphicsEditorDelegate(config.paramCount),
      pluginName_(BoundedText(config.pluginName, kMaxNameLength)),
      productName_(BoundedText(config.productName, kMaxNameLength)),
      makerName_(BoundedText(config.makerName, kMaxNameLength)),
      vendorVersion_(config.vendorVersion),
      hasEditor_(config.hasEditor),
      hostMayResizeEditor_(config.hostMayResizeEditor),
      presets_(static_cast<size_t>(std::max(config.presetCount, 0))) {}

PluginBase::~PluginBase() = default;

bool PluginBase::SerializeParams(ByteChunk& chunk) const {
  for (int i = 0; i < ParamCount(); ++i) chunk.Put(ParamAt(i)->GetPlain());
  return true;
}

int PluginBase::UnserializeParams(const ByteChunk& chunk, int position) {
  // Everything is read and checked before anything is applied: a damaged chunk must not leave
  // the instance holding a mixture of two states.
  std::vector<double> values(static_cast<size_t>(ParamCount()));
  for (double& value : values) {
    position = chunk.Get(value, position);
    if (position < 0 || !std::isfinite(value)) return -1;
  }
  for (int i = 0; i < ParamCount(); ++i) ParamAt(i)->SetPlain(values[static_cast<size_t>(i)]);
  OnAllParamsChanged(ParamSource::Preset);
  return position;
}

const char* PluginBase::PresetNameAt(int index) const {
  const PresetSlot* slot = PresetAt(index);
  return slot ? slot->name.c_str() : "";
}

const PresetSlot* PluginBase::PresetAt(int index) const {
  return index >= 0 && index < PresetCount() ? &presets_[static_cast<size_t>(index)] : nullptr;
}

PresetSlot* PluginBase::NextFreeSlot() {
  for (PresetSlot& slot : presets_)
    if (!slot.initialized) return &slot;
  return nullptr;
}

void PluginBase::FillPresetsFromCurrent(const char* name, int count) {
  for (int i = 0; i < count; ++i) {
    PresetSlot* slot = NextFreeSlot();
    if (!slot) return;
    slot->initialized = true;
    slot->name = name ? BoundedText(name, PresetSlot::kMaxNameLength) : "Empty";
    SaveState(slot->data);
  }
}

void PluginBase::AddPresetFromNamedValues(const char* name, std::span<const PresetValue> values) {
  PresetSlot* slot = NextFreeSlot();
  if (!slot) return;
  slot->initialized = true;
  slot->name = BoundedText(name, PresetSlot::kMaxNameLength);

  std::vector<std::optional<double>> table(static_cast<size_t>(ParamCount()));
  for (const PresetValue& entry : values) {
    const Param* param = ParamAt(entry.index);
    if (!param) continue;
    const bool integral = param->Type() != ParamType::Double;
    // Integer parameters read whole numbers; -0.0 and fractions never reach them.
    table[static_cast<size_t>(entry.index)] =
        integral && !entry.isInteger ? static_cast<double>(SaturateTruncate<int>(entry.value))
                                     : entry.value;
  }
  for (int i = 0; i < ParamCount(); ++i)
    slot->data.Put(table[static_cast<size_t>(i)].value_or(ParamAt(i)->GetPlain()));
}

bool PluginBase::RecallPreset(int index) {
  const PresetSlot* slot = PresetAt(index);
  if (!slot || !slot->initialized) return false;
  const int position = LoadState(slot->data, 0);
  if (position < 0 || (position == 0 && slot->data.Size() > 0)) return false;
  currentPresetIndex_ = index;
  OnStateRestored();
  return true;
}

}  // namespace plugkit
