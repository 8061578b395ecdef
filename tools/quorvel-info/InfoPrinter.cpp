#include "tools/quorvel-info/InfoPrinter.h"

#include <string>

#include "host/clap/ext/AudioPorts.h"
#include "host/clap/ext/AudioPortsConfig.h"
#include "host/clap/ext/Latency.h"
#include "host/clap/ext/Params.h"
#include "host/clap/ext/Tail.h"
#include "tools/clap-host/PresetDiscovery.h"

namespace quorvelInfo {
namespace {

const char* Text(const char* text) { return text ? text : "(null)"; }

std::string ParamFlags(uint32_t flags) {
  static const std::pair<uint32_t, const char*> kNames[] = {
      {CLAP_PARAM_IS_STEPPED, "stepped"},
      {CLAP_PARAM_IS_PERIODIC, "periodic"},
      {CLAP_PARAM_IS_HIDDEN, "hidden"},
      {CLAP_PARAM_IS_READONLY, "read-only"},
      {CLAP_PARAM_IS_BYPASS, "bypass"},
      {CLAP_PARAM_IS_AUTOMATABLE, "automatable"},
      {CLAP_PARAM_IS_MODULATABLE, "modulatable"},
      {CLAP_PARAM_REQUIRES_PROCESS, "requires-process"},
      {CLAP_PARAM_IS_ENUM, "enum"}};
  std::string words;
  for (const auto& [bit, name] : kNames) {
    if ((flags & bit) == 0) continue;
    if (!words.empty()) words += ' ';
    words += name;
  }
  return words;
}

std::string ValueText(const clap_plugin_params& params, const clap_plugin* plugin, clap_id id,
                      double value) {
  char text[CLAP_NAME_SIZE] = {};
  if (params.value_to_text == nullptr ||
      !params.value_to_text(plugin, id, value, text, sizeof text)) {
    return "?";
  }
  return text;
}

}  // namespace

void PrintDescriptor(std::ostream& out, const clap_plugin_descriptor& descriptor) {
  out << "Plug-in " << Text(descriptor.id) << "\n"
      << "  name:        " << Text(descriptor.name) << "\n"
      << "  vendor:      " << Text(descriptor.vendor) << "\n"
      << "  version:     " << Text(descriptor.version) << "\n"
      << "  description: " << Text(descriptor.description) << "\n"
      << "  url:         " << Text(descriptor.url) << "\n"
      << "  manual url:  " << Text(descriptor.manual_url) << "\n"
      << "  support url: " << Text(descriptor.support_url) << "\n"
      << "  CLAP:        " << descriptor.clap_version.major << '.' << descriptor.clap_version.minor
      << '.' << descriptor.clap_version.revision << "\n"
      << "  features:   ";
  for (const char* const* feature = descriptor.features; feature && *feature; ++feature) {
    out << ' ' << *feature;
  }
  out << "\n";
}

void PrintParameters(std::ostream& out, const clapHost::PluginInstance& instance) {
  const auto* params = instance.GetExtension<clap_plugin_params>(CLAP_EXT_PARAMS);
  if (params == nullptr || params->count == nullptr || params->get_info == nullptr) return;
  const clap_plugin* plugin = instance.Plugin();
  const uint32_t count = params->count(plugin);
  out << "Parameters (" << count << ")\n";
  for (uint32_t index = 0; index < count; ++index) {
    clap_param_info info{};
    if (!params->get_info(plugin, index, &info)) {
      out << "  #" << index << ": no information\n";
      continue;
    }
    double value = info.default_value;
    if (params->get_value) params->get_value(plugin, info.id, &value);
    out << "  " << info.id << ' ' << info.name;
    if (info.module[0] != '\0') out << " [" << info.module << ']';
    out << ": " << ValueText(*params, plugin, info.id, value) << " (range " << info.min_value
        << " .. " << info.max_value << ", default " << info.default_value << " = "
        << ValueText(*params, plugin, info.id, info.default_value) << "; " << ParamFlags(info.flags)
        << ")\n";
  }
}

void PrintAudioPorts(std::ostream& out, const clapHost::PluginInstance& instance) {
  const auto* ports = instance.GetExtension<clap_plugin_audio_ports>(CLAP_EXT_AUDIO_PORTS);
  if (ports == nullptr || ports->count == nullptr || ports->get == nullptr) return;
  for (const bool isInput : {true, false}) {
    const uint32_t count = ports->count(instance.Plugin(), isInput);
    out << (isInput ? "Input ports (" : "Output ports (") << count << ")\n";
    for (uint32_t index = 0; index < count; ++index) {
      clap_audio_port_info info{};
      if (!ports->get(instance.Plugin(), index, isInput, &info)) continue;
      out << "  " << info.id << ' ' << info.name << ": " << info.channel_count << " channel(s), "
          << Text(info.port_type) << ((info.flags & CLAP_AUDIO_PORT_IS_MAIN) ? ", main" : "")
          << "\n";
    }
  }
}

void PrintPortConfigurations(std::ostream& out, const clapHost::PluginInstance& instance) {
  const auto* configs =
      instance.GetExtension<clap_plugin_audio_ports_config>(CLAP_EXT_AUDIO_PORTS_CONFIG);
  if (configs == nullptr || configs->count == nullptr || configs->get == nullptr) return;
  const uint32_t count = configs->count(instance.Plugin());
  out << "Port configurations (" << count << ")\n";
  for (uint32_t index = 0; index < count; ++index) {
    clap_audio_ports_config config{};
    if (!configs->get(instance.Plugin(), index, &config)) continue;
    out << "  " << config.id << ' ' << config.name << ": " << config.input_port_count
        << " input port(s), " << config.output_port_count << " output port(s)";
    if (config.has_main_input) {
      out << ", main input " << config.main_input_channel_count << " channel(s)";
    }
    if (config.has_main_output) {
      out << ", main output " << config.main_output_channel_count << " channel(s)";
    }
    out << "\n";
  }
}

void PrintLatencyAndTail(std::ostream& out, const clapHost::PluginInstance& instance) {
  const auto* latency = instance.GetExtension<clap_plugin_latency>(CLAP_EXT_LATENCY);
  if (latency != nullptr && latency->get != nullptr) {
    out << "Latency: " << latency->get(instance.Plugin()) << " samples\n";
  }
  const auto* tail = instance.GetExtension<clap_plugin_tail>(CLAP_EXT_TAIL);
  if (tail != nullptr && tail->get != nullptr) {
    out << "Tail: " << tail->get(instance.Plugin()) << " samples\n";
  }
}

bool PrintPresets(std::ostream& out, std::ostream& errors, const clapHost::PluginModule& module) {
  const clap_preset_discovery_factory* factory = module.PresetDiscoveryFactory();
  if (factory == nullptr) return true;
  std::string error;
  const auto result = clapHost::DiscoverPresets(*factory, error);
  if (!result) {
    errors << "quorvel-info: preset discovery failed: " << error << "\n";
    return false;
  }
  out << "Presets (" << result->presets.size() << ")\n";
  for (const clapHost::DiscoveredPreset& preset : result->presets) {
    out << "  key " << preset.loadKey << ": " << preset.name << "\n";
  }
  return true;
}

}  // namespace quorvelInfo
