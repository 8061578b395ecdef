#include "host/AudioPortsExtensions.h"

#include <cstring>
#include <string>

#include "host/ClapPlugin.h"
#include "host/ThreadGuard.h"

namespace plugkit {
namespace {

const ChannelLayout* CurrentLayout(const ClapPlugin& plugin) {
  const auto& layouts = plugin.ChannelLayouts();
  const int index = plugin.CurrentLayoutIndex();
  if (index < 0 || index >= static_cast<int>(layouts.size())) return nullptr;
  return &layouts[static_cast<size_t>(index)];
}

const char* PortType(int channels) {
  if (channels == 2) return CLAP_PORT_STEREO;
  if (channels == 1) return CLAP_PORT_MONO;
  return nullptr;
}

uint32_t ChannelCount(const BusLayout& bus) {
  return bus.channelCount > 0 ? static_cast<uint32_t>(bus.channelCount) : 0;
}

void CopyName(char (&destination)[CLAP_NAME_SIZE], const std::string& text) {
  const size_t n = std::min(text.size(), sizeof destination - 1);
  std::memcpy(destination, text.data(), n);
  destination[n] = '\0';
}

void AppendSide(std::string& name, const std::vector<BusLayout>& buses) {
  if (buses.empty()) {
    name += '0';
    return;
  }
  for (size_t i = 0; i < buses.size(); ++i) {
    if (i > 0) name += '.';
    const int channels = buses[i].channelCount;
    name += channels == BusLayout::kWildcardChannels ? std::string("*") : std::to_string(channels);
  }
}

// [main-thread]
uint32_t PortCount(const clap_plugin* plugin, bool isInput) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin_audio_ports.count", 0);
  ClapPlugin* self = ClapPlugin::FromClap(plugin);
  const ChannelLayout* layout = self ? CurrentLayout(*self) : nullptr;
  if (!layout) return 0;
  return static_cast<uint32_t>(
      layout->Buses(isInput ? Direction::Input : Direction::Output).size());
}

// [main-thread]
bool PortGet(const clap_plugin* plugin, uint32_t index, bool isInput, clap_audio_port_info* info) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin_audio_ports.get", false);
  ClapPlugin* self = ClapPlugin::FromClap(plugin);
  const ChannelLayout* layout = self ? CurrentLayout(*self) : nullptr;
  if (!layout || !info) return false;
  const Direction direction = isInput ? Direction::Input : Direction::Output;
  const auto& buses = layout->Buses(direction);
  if (index >= buses.size()) return false;
  try {
    std::string name;
    self->BusName(direction, static_cast<int>(index), static_cast<int>(buses.size()), name);
    *info = clap_audio_port_info{};
    info->id = index;
    CopyName(info->name, name);
  } catch (...) {
    return false;
  }
  info->flags = CLAP_AUDIO_PORT_SUPPORTS_64BITS | CLAP_AUDIO_PORT_PREFERS_64BITS |
                CLAP_AUDIO_PORT_REQUIRES_COMMON_SAMPLE_SIZE;
  if (index == 0) info->flags |= CLAP_AUDIO_PORT_IS_MAIN;
  info->channel_count = ChannelCount(buses[index]);
  info->port_type = PortType(buses[index].channelCount);
  info->in_place_pair = CLAP_INVALID_ID;
  return true;
}

// [main-thread]
uint32_t ConfigCount(const clap_plugin* plugin) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin_audio_ports_config.count", 0);
  ClapPlugin* self = ClapPlugin::FromClap(plugin);
  return self ? static_cast<uint32_t>(self->ChannelLayouts().size()) : 0;
}

// [main-thread]
bool ConfigGet(const clap_plugin* plugin, uint32_t index, clap_audio_ports_config* config) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin_audio_ports_config.get", false);
  ClapPlugin* self = ClapPlugin::FromClap(plugin);
  if (!self || !config || index >= self->ChannelLayouts().size()) return false;
  const ChannelLayout& layout = self->ChannelLayouts()[index];
  try {
    std::string name;
    AppendSide(name, layout.inputBuses);
    name += '-';
    AppendSide(name, layout.outputBuses);
    *config = clap_audio_ports_config{};
    CopyName(config->name, name);
  } catch (...) {
    return false;
  }
  config->id = index;
  config->input_port_count = static_cast<uint32_t>(layout.inputBuses.size());
  config->output_port_count = static_cast<uint32_t>(layout.outputBuses.size());
  config->has_main_input = !layout.inputBuses.empty();
  if (config->has_main_input) {
    config->main_input_channel_count = ChannelCount(layout.inputBuses.front());
    config->main_input_port_type = PortType(layout.inputBuses.front().channelCount);
  }
  config->has_main_output = !layout.outputBuses.empty();
  if (config->has_main_output) {
    config->main_output_channel_count = ChannelCount(layout.outputBuses.front());
    config->main_output_port_type = PortType(layout.outputBuses.front().channelCount);
  }
  return true;
}

// [main-thread & !active]
bool ConfigSelect(const clap_plugin* plugin, clap_id configId) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin_audio_ports_config.select", false);
  ClapPlugin* self = ClapPlugin::FromClap(plugin);
  // The ports of a running instance must not change under the host.
  if (!self || self->IsActive() || configId >= self->ChannelLayouts().size()) return false;
  return self->SelectLayout(static_cast<int>(configId));
}

constexpr clap_plugin_audio_ports kAudioPorts{PortCount, PortGet};
constexpr clap_plugin_audio_ports_config kAudioPortsConfig{ConfigCount, ConfigGet, ConfigSelect};

}  // namespace

const clap_plugin_audio_ports& AudioPortsExtension() { return kAudioPorts; }
const clap_plugin_audio_ports_config& AudioPortsConfigExtension() { return kAudioPortsConfig; }

}  // namespace plugkit
