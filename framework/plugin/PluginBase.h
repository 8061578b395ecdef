#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <vector>

#include "framework/ByteChunk.h"
#include "framework/PluginConfig.h"
#include "framework/PresetValue.h"
#include "graphics/GraphicsEditorDelegate.h"

namespace plugkit {

// One preset: a state chunk in the same format SaveState writes.
struct PresetSlot {
  static constexpr size_t kMaxNameLength = 255;

  bool initialized = false;
  std::string name = "empty";
  ByteChunk data;
};

// Adds the plug-in's names, its preset slots and the state chunk: one little-endian 64-bit
// float per parameter, in index order, with no header.
class PluginBase : public GraphicsEditorDelegate {
 public:
  static constexpr size_t kMaxNameLength = 128;

  explicit PluginBase(const PluginConfig& config);
  ~PluginBase() override;

  // [main-thread] Appends every parameter's plain value.
  virtual bool SaveState(ByteChunk& chunk) const { return SerializeParams(chunk); }
  // [main-thread] Returns the position after the values, or -1 (nothing applied) for a short
  // or damaged chunk.
  virtual int LoadState(const ByteChunk& chunk, int position) {
    return UnserializeParams(chunk, position);
  }
  bool SerializeParams(ByteChunk& chunk) const;
  // Applies every value and reports every parameter as changed by a preset, or, for a chunk
  // that runs short or holds a value that is not finite, returns -1 and changes nothing.
  int UnserializeParams(const ByteChunk& chunk, int position);

  int PresetCount() const { return static_cast<int>(presets_.size()); }
  // "" when index is outside the slots.
  const char* PresetNameAt(int index) const;
  const PresetSlot* PresetAt(int index) const;
  // Fills the next count free slots with the current values, named name ("Empty" for null).
  void FillPresetsFromCurrent(const char* name, int count);
  // Fills the next free slot; parameters not listed take their current value. Values are
  // stored as given and clamped on recall.
  void AddPresetFromNamedValues(const char* name, std::span<const PresetValue> values);
  void AddPresetFromNamedValues(const char* name, std::initializer_list<PresetValue> values) {
    AddPresetFromNamedValues(name, std::span(values.begin(), values.size()));
  }
  // [main-thread] False for an index outside the slots, an empty slot or data that fails to
  // load.
  bool RecallPreset(int index);
  int CurrentPresetIndex() const { return currentPresetIndex_; }

  const std::string& PluginName() const { return pluginName_; }
  const std::string& ProductName() const { return productName_; }
  const std::string& MakerName() const { return makerName_; }
  int VendorVersion() const { return vendorVersion_; }
  bool HasEditor() const { return hasEditor_; }
  bool HostMayResizeEditor() const { return hostMayResizeEditor_; }

 private:
  PresetSlot* NextFreeSlot();

  std::string pluginName_;
  std::string productName_;
  std::string makerName_;
  int vendorVersion_;
  bool hasEditor_;
  bool hostMayResizeEditor_;
  std::vector<PresetSlot> presets_;
  int currentPresetIndex_ = 0;
};

}  // namespace plugkit
