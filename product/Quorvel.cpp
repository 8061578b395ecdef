#include "product/Quorvel.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <exception>

#include "editor/IndicatorUpdate.h"
#include "editor/ManualLocator.h"
#include "editor/QuorvelEditor.h"
#include "effect/FactoryPresets.h"
#include "effect/TailBound.h"
#include "framework/ByteChunk.h"
#include "graphics/Graphics.h"
#include "graphics/platform/PlatformGraphics.h"
#include "product/EditorSnapshot.h"
#include "product/Product.h"
#include "resources/ResourceTable.h"

namespace quorvel {

Quorvel::Quorvel(const clap_plugin_descriptor* descriptor, const clap_host* host,
                 bool servesRealHost)
    : ClapPlugin(kPluginConfig, descriptor, host, servesRealHost) {
  plugkit::SetEmbeddedResources(ResourceTable);
  for (auto& value : paramValues_) value.store(0.0, std::memory_order_relaxed);
  DefineParameters(*this);
  for (int i = 0; i < kParamCount; ++i) OnParamChange(i);
  // Slot 0 keeps the defaults the parameters were just given.
  FillPresetsFromCurrent(nullptr, 1);
  for (const FactoryPreset& preset : kNamedFactoryPresets)
    AddPresetFromNamedValues(preset.name, preset.values);
  UpdateTail(true);
  SetMakeGraphicsFunction([this](plugkit::GraphicsEditorDelegate& delegate) {
    // A snapshot never opens a window, whatever the platform's editor is; an editor opened
    // through the host's gui extension lives in the host's window.
    if (snapshotEditor_ || !EditorWindow().IsCreated()) {
      return CreateEditorGraphics(delegate, MakeHeadlessGraphics);
    }
    plugkit::TimerHost& timers = Timers();
    return CreateEditorGraphics(delegate, [&timers](plugkit::GraphicsEditorDelegate& d, int width,
                                                    int height, int frameRate, float drawScale) {
      return plugkit::gfx::MakeWindowGraphics(d, width, height, frameRate, drawScale, timers);
    });
  });
  SetLayoutFunction([this](plugkit::gfx::Graphics& graphics) {
    quorvel::LayoutEditor(graphics, MakeManualAction(*this));
  });
}

void Quorvel::OnIdle() {
  UpdateTail(false);
  UpdateIndicators(GetGraphics(), Indicators(), ReadMotorSwitches(*this));
}

void Quorvel::OnEditorClosing() {
  if (!snapshotEditor_) StoreEditorScale(GetGraphics());
}

const void* Quorvel::OnGetExtension(const char* id) {
  if (std::strcmp(id, QUORVEL_EXT_EDITOR_SNAPSHOT) == 0) return &EditorSnapshotExtension();
  return ClapPlugin::OnGetExtension(id);
}

bool Quorvel::ResizeEditorInHost(int width, int height) {
  return snapshotEditor_ || ClapPlugin::ResizeEditorInHost(width, height);
}

bool Quorvel::SnapshotEditor(double scale, void* pixels, uint64_t capacity, uint32_t& width,
                             uint32_t& height) {
  if (!(scale >= kMinEditorScale && scale <= kMaxEditorScale)) return false;
  if (plugkit::gfx::Graphics* open = GetGraphics()) {
    OnEditorOpened();  // every parameter's current value
    OnIdle();
    return CopyEditorFrame(*open, pixels, capacity, width, height);
  }
  // The host's next editor opens at its own remembered size and zoom, not the snapshot's.
  plugkit::ByteChunk remembered;
  SaveEditorState(remembered);
  snapshotEditor_ = true;
  bool ok = false;
  try {
    OpenWindow(nullptr);
    if (plugkit::gfx::Graphics* graphics = GetGraphics()) {
      graphics->Resize(kEditorWidth, kEditorHeight, static_cast<float>(scale), false);
      OnIdle();
      ok = CopyEditorFrame(*graphics, pixels, capacity, width, height);
    }
  } catch (const std::exception&) {
    ok = false;
  }
  CloseWindow();
  snapshotEditor_ = false;
  RestoreEditorState(remembered, 0);
  return ok;
}

void Quorvel::OnParamChange(int index) {
  if (index < 0 || index >= kParamCount) return;
  const plugkit::Param* param = ParamAt(index);
  if (!param) return;
  paramValues_[static_cast<size_t>(index)].store(param->GetPlain(), std::memory_order_relaxed);
  tailSettingsChanged_.store(true, std::memory_order_release);
}

void Quorvel::UpdateTail(bool force) {
  if (!tailSettingsChanged_.exchange(false, std::memory_order_acq_rel) && !force) return;
  static_assert(kEndlessTail == kInfiniteTail);
  const std::array<double, kParamCount> values = Snapshot();
  const int tail = TailSamplesFor(values, SampleRate());
  if (tail != TailSamples()) SetTailSamples(tail);
}

void Quorvel::OnActivated(bool active) {
  if (active) UpdateTail(true);
}

void Quorvel::OnStateRestored() {
  ClapPlugin::OnStateRestored();
  UpdateTail(false);
}

std::array<double, kParamCount> Quorvel::Snapshot() const {
  std::array<double, kParamCount> values;
  for (size_t i = 0; i < values.size(); ++i)
    values[i] = paramValues_[i].load(std::memory_order_relaxed);
  return values;
}

ChannelState Quorvel::Channels() const {
  using plugkit::Direction;
  ChannelState state;
  state.connectedInputs = ConnectedChannelCount(Direction::Input);
  state.connectedOutputs = ConnectedChannelCount(Direction::Output);
  state.outputChannels = std::min(ChannelSlotCount(Direction::Output), 64);
  const int inputChannels = std::min(ChannelSlotCount(Direction::Input), 64);
  for (int k = 0; k < inputChannels; ++k) {
    if (IsChannelConnected(Direction::Input, k)) state.inputMask |= std::uint64_t{1} << k;
  }
  for (int k = 0; k < state.outputChannels; ++k) {
    if (IsChannelConnected(Direction::Output, k)) state.outputMask |= std::uint64_t{1} << k;
  }
  return state;
}

void Quorvel::ProcessAudioBlock(double** inputs, double** outputs, int frames) {
  const std::array<double, kParamCount> values = Snapshot();
  engine_.ProcessAudioBlock(values, inputs, outputs, frames, Channels(), Transport());
}

void Quorvel::OnProcessingReset() {
  const std::array<double, kParamCount> values = Snapshot();
  engine_.OnProcessingReset(values, SampleRate(), BlockSize(), Transport().tempo);
}

}  // namespace quorvel
