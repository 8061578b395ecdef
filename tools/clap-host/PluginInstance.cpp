#include "tools/clap-host/PluginInstance.h"

#include "host/clap/ext/Params.h"
#include "host/clap/ext/State.h"
#include "tools/clap-host/MemoryStreams.h"

namespace clapHost {

PluginInstance::PluginInstance(Host& host, const clap_plugin* plugin)
    : host_(host), plugin_(plugin) {}

std::unique_ptr<PluginInstance> PluginInstance::Create(const clap_plugin_factory& factory,
                                                       Host& host, const char* pluginId,
                                                       std::string& error) {
  const clap_plugin* plugin = factory.create_plugin(&factory, host.Clap(), pluginId);
  if (plugin == nullptr) {
    error = std::string("create_plugin refused ") + (pluginId ? pluginId : "(null)");
    return nullptr;
  }
  host.AttachPlugin(plugin);
  if (!plugin->init(plugin)) {
    error = "the plug-in's init failed";
    plugin->destroy(plugin);
    host.AttachPlugin(nullptr);
    return nullptr;
  }
  return std::unique_ptr<PluginInstance>(new PluginInstance(host, plugin));
}

PluginInstance::~PluginInstance() {
  if (plugin_ == nullptr) return;
  if (processing_) StopProcessing();
  if (active_) Deactivate();
  Destroy();
}

void PluginInstance::Destroy() {
  if (plugin_ == nullptr) return;
  plugin_->destroy(plugin_);
  host_.AttachPlugin(nullptr);
  plugin_ = nullptr;
  active_ = processing_ = false;
}

bool PluginInstance::Activate(double sampleRate, uint32_t minFrames, uint32_t maxFrames) {
  active_ = plugin_->activate(plugin_, sampleRate, minFrames, maxFrames);
  return active_;
}

void PluginInstance::Deactivate() {
  plugin_->deactivate(plugin_);
  active_ = false;
}

bool PluginInstance::StartProcessing() {
  Host::AudioThreadScope audio(host_);
  processing_ = plugin_->start_processing(plugin_);
  return processing_;
}

void PluginInstance::StopProcessing() {
  Host::AudioThreadScope audio(host_);
  plugin_->stop_processing(plugin_);
  processing_ = false;
}

void PluginInstance::Reset() {
  Host::AudioThreadScope audio(host_);
  plugin_->reset(plugin_);
}

clap_process ProcessOver(AudioBlock& audio, const InputEventList& in, OutputEventList& out,
                         const clap_event_transport* transport) {
  clap_process process{};
  process.frames_count = audio.Frames();
  process.transport = transport;
  process.audio_inputs = audio.Inputs();
  process.audio_outputs = audio.Outputs();
  process.audio_inputs_count = audio.InputCount();
  process.audio_outputs_count = audio.OutputCount();
  process.in_events = in.Clap();
  process.out_events = out.Clap();
  return process;
}

clap_process_status PluginInstance::Process(AudioBlock& audio, const InputEventList& in,
                                            OutputEventList& out,
                                            const clap_event_transport* transport) {
  clap_process process = ProcessOver(audio, in, out, transport);
  process.steady_time = steadyTime_;
  steadyTime_ += audio.Frames();
  return ProcessRaw(&process);
}

clap_process_status PluginInstance::ProcessRaw(const clap_process* process) {
  Host::AudioThreadScope audio(host_);
  return plugin_->process(plugin_, process);
}

bool PluginInstance::Flush(const InputEventList& in, OutputEventList& out) {
  const auto* params = GetExtension<clap_plugin_params>(CLAP_EXT_PARAMS);
  if (params == nullptr || params->flush == nullptr) return false;
  if (processing_) {
    Host::AudioThreadScope audio(host_);
    params->flush(plugin_, in.Clap(), out.Clap());
  } else {
    params->flush(plugin_, in.Clap(), out.Clap());
  }
  return true;
}

std::optional<std::vector<uint8_t>> PluginInstance::SaveState(size_t pieceSize) {
  const auto* state = GetExtension<clap_plugin_state>(CLAP_EXT_STATE);
  if (state == nullptr || state->save == nullptr) return std::nullopt;
  MemoryOutputStream stream(pieceSize);
  if (!state->save(plugin_, stream.Clap())) return std::nullopt;
  return stream.Bytes();
}

bool PluginInstance::LoadState(const std::vector<uint8_t>& bytes, size_t pieceSize) {
  const auto* state = GetExtension<clap_plugin_state>(CLAP_EXT_STATE);
  if (state == nullptr || state->load == nullptr) return false;
  MemoryInputStream stream(bytes, pieceSize);
  return state->load(plugin_, stream.Clap());
}

}  // namespace clapHost
