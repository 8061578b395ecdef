#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/clap/PluginFactory.h"
#include "tools/clap-host/AudioBlock.h"
#include "tools/clap-host/EventLists.h"
#include "tools/clap-host/Host.h"

namespace clapHost {

// A process call's structure over the audio block's ports and frame count and the event lists.
clap_process ProcessOver(AudioBlock& audio, const InputEventList& in, OutputEventList& out,
                         const clap_event_transport* transport = nullptr);

// One plug-in instance driven the way a host drives it. Audio-thread calls run inside a
// Host::AudioThreadScope so the plug-in's thread checks see an audio thread.
class PluginInstance {
 public:
  // [main-thread] create_plugin followed by init. Null, with error set, on failure.
  static std::unique_ptr<PluginInstance> Create(const clap_plugin_factory& factory, Host& host,
                                                const char* pluginId, std::string& error);

  PluginInstance(const PluginInstance&) = delete;
  PluginInstance& operator=(const PluginInstance&) = delete;

  // [main-thread] Stops, deactivates and destroys the instance unless Destroy already ran.
  ~PluginInstance();

  const clap_plugin* Plugin() const { return plugin_; }
  Host& GetHost() const { return host_; }

  // [main-thread] The plug-in's extension table, or null.
  template <class Extension>
  const Extension* GetExtension(const char* id) const {
    return static_cast<const Extension*>(plugin_->get_extension(plugin_, id));
  }

  // [main-thread]
  bool Activate(double sampleRate, uint32_t minFrames, uint32_t maxFrames);
  // [main-thread]
  void Deactivate();
  bool IsActive() const { return active_; }

  // [audio-thread]
  bool StartProcessing();
  // [audio-thread]
  void StopProcessing();
  // [audio-thread]
  void Reset();
  bool IsProcessing() const { return processing_; }

  // [audio-thread] One block over the audio block's ports and frame count.
  clap_process_status Process(AudioBlock& audio, const InputEventList& in, OutputEventList& out,
                              const clap_event_transport* transport = nullptr);
  // [audio-thread] A process call with a structure the caller built, valid or not.
  clap_process_status ProcessRaw(const clap_process* process);

  // params.flush on the audio thread while processing, else on the main thread.
  // False when the plug-in has no flush.
  bool Flush(const InputEventList& in, OutputEventList& out);

  // [main-thread] clap.state through memory streams of the given piece size.
  std::optional<std::vector<uint8_t>> SaveState(
      size_t pieceSize = std::numeric_limits<size_t>::max());
  bool LoadState(const std::vector<uint8_t>& bytes,
                 size_t pieceSize = std::numeric_limits<size_t>::max());

  // [main-thread] Calls destroy at once, active or not, as a careless host would.
  void Destroy();

 private:
  PluginInstance(Host& host, const clap_plugin* plugin);

  Host& host_;
  const clap_plugin* plugin_;
  bool active_ = false;
  bool processing_ = false;
  int64_t steadyTime_ = 0;
};

}  // namespace clapHost
