#include "product/Quorvel.h"

#include <algorithm>
#include <cstdint>

#include "editor/IndicatorUpdate.h"
#include "editor/ManualLocator.h"
#include "editor/QuorvelEditor.h"
#include "effect/FactoryPresets.h"
#include "graphics/Graphics.h"
#include "graphics/platform/GraphicsX11.h"
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
  AddFactoryPresets(*this);
  SetMakeGraphicsFunction([this](plugkit::GraphicsEditorDelegate& delegate) {
    // An editor opened through the host's gui extension lives in the host's X11 window.
    if (!EditorWindow().IsCreated()) return CreateEditorGraphics(delegate);
    plugkit::TimerHost& timers = HostTimers();
    return CreateEditorGraphics(
        delegate,
        [&timers](plugkit::GraphicsEditorDelegate& d, int width, int height, int frameRate,
                  float drawScale) -> std::unique_ptr<plugkit::gfx::Graphics> {
          return std::make_unique<plugkit::gfx::GraphicsX11>(d, width, height, frameRate, drawScale,
                                                             timers);
        });
  });
  SetLayoutFunction([this](plugkit::gfx::Graphics& graphics) {
    quorvel::LayoutEditor(graphics, MakeManualAction(*this));
  });
}

void Quorvel::OnIdle() { UpdateIndicators(GetGraphics(), Indicators(), ReadMotorSwitches(*this)); }

void Quorvel::OnEditorClosing() { StoreEditorScale(GetGraphics()); }

void Quorvel::OnParamChange(int index) {
  if (index < 0 || index >= kParamCount) return;
  const plugkit::Param* param = ParamAt(index);
  if (!param) return;
  paramValues_[static_cast<size_t>(index)].store(param->GetPlain(), std::memory_order_relaxed);
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
