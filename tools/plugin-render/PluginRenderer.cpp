#include "tools/plugin-render/PluginRenderer.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "host/clap/ext/AudioPorts.h"
#include "host/clap/ext/AudioPortsConfig.h"
#include "host/clap/ext/Params.h"
#include "host/clap/ext/PresetLoad.h"
#include "tools/clap-host/AudioBlock.h"
#include "tools/clap-host/EventLists.h"
#include "tools/clap-host/PresetDiscovery.h"

namespace quorvelRender {

namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

bool AllDigits(const std::string& text) {
  return !text.empty() && text.size() < 10 &&
         std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  const size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

// The plug-in's display text of a value, or "" when it gives none.
std::string TextOf(const clap_plugin_params& params, const clap_plugin* plugin, uint32_t id,
                   double value) {
  char text[256] = {};
  if (!params.value_to_text(plugin, id, value, text, sizeof text)) return "";
  return text;
}

// Fixed-point song position; rounded up so that the plug-in's conversion back to samples
// never lands one sample early.
clap_sectime SecondsTime(int64_t frames, int sampleRate) {
  const auto scaled = static_cast<__int128>(frames) * CLAP_SECTIME_FACTOR;
  return static_cast<clap_sectime>((scaled + sampleRate - 1) / sampleRate);
}

clap_event_transport Transport(int64_t frames, int sampleRate, double tempo) {
  clap_event_transport transport = clapHost::MakeTransport();
  transport.flags = CLAP_TRANSPORT_HAS_TEMPO | CLAP_TRANSPORT_HAS_BEATS_TIMELINE |
                    CLAP_TRANSPORT_HAS_SECONDS_TIMELINE | CLAP_TRANSPORT_HAS_TIME_SIGNATURE |
                    CLAP_TRANSPORT_IS_PLAYING;
  transport.tempo = tempo;
  transport.song_pos_seconds = SecondsTime(frames, sampleRate);
  const double beats = static_cast<double>(frames) / sampleRate * tempo / 60.0;
  const auto factor = static_cast<double>(CLAP_BEATTIME_FACTOR);
  transport.song_pos_beats = static_cast<clap_beattime>(std::llround(beats * factor));
  transport.bar_start =
      static_cast<clap_beattime>(std::llround(std::floor(beats / 4.0) * 4.0 * factor));
  transport.bar_number = static_cast<int32_t>(beats / 4.0);
  return transport;
}

std::vector<uint32_t> PortChannels(const clap_plugin_audio_ports& ports, const clap_plugin* plugin,
                                   bool isInput) {
  std::vector<uint32_t> channels;
  const uint32_t count = ports.count(plugin, isInput);
  for (uint32_t i = 0; i < count; ++i) {
    clap_audio_port_info info{};
    channels.push_back(ports.get(plugin, i, isInput, &info) ? info.channel_count : 0);
  }
  return channels;
}

}  // namespace

std::unique_ptr<PluginRenderer> PluginRenderer::Open(const std::string& modulePath,
                                                     std::string& error) {
  std::unique_ptr<PluginRenderer> renderer(new PluginRenderer);
  std::string why;
  renderer->module_ = clapHost::PluginModule::Open(modulePath, why);
  if (!renderer->module_ || !renderer->module_->PluginFactory()) {
    error = "cannot load the plug-in '" + modulePath +
            "': " + (why.empty() ? "no plug-in factory" : why);
    return nullptr;
  }
  const clap_plugin_factory& factory = *renderer->module_->PluginFactory();
  const clap_plugin_descriptor* descriptor =
      factory.get_plugin_count(&factory) > 0 ? factory.get_plugin_descriptor(&factory, 0) : nullptr;
  if (!descriptor || !descriptor->id) {
    error = "'" + modulePath + "' offers no plug-in";
    return nullptr;
  }
  renderer->host_ = std::make_unique<clapHost::Host>();
  renderer->instance_ =
      clapHost::PluginInstance::Create(factory, *renderer->host_, descriptor->id, why);
  if (!renderer->instance_) {
    error = "cannot create the plug-in: " + why;
    return nullptr;
  }
  if (const auto* discovery = renderer->module_->PresetDiscoveryFactory()) {
    if (auto found = clapHost::DiscoverPresets(*discovery, why)) {
      for (const clapHost::DiscoveredPreset& preset : found->presets) {
        if (AllDigits(preset.loadKey))
          renderer->presets_.push_back(
              {std::atoi(preset.loadKey.c_str()), preset.name, preset.loadKey});
      }
    }
  }
  std::sort(renderer->presets_.begin(), renderer->presets_.end(),
            [](const PresetEntry& a, const PresetEntry& b) { return a.index < b.index; });
  return renderer;
}

PluginRenderer::~PluginRenderer() {
  // The instance must go before the module that holds its code.
  instance_.reset();
  host_.reset();
  module_.reset();
}

bool PluginRenderer::LoadPreset(const std::string& nameOrIndex, std::string& error) {
  const PresetEntry* chosen = nullptr;
  for (const PresetEntry& preset : presets_) {
    if (preset.name == nameOrIndex) chosen = &preset;
  }
  for (const PresetEntry& preset : presets_) {
    if (!chosen && SameIgnoringCase(preset.name, nameOrIndex)) chosen = &preset;
  }
  if (!chosen && AllDigits(nameOrIndex)) {
    for (const PresetEntry& preset : presets_) {
      if (preset.index == std::atoi(nameOrIndex.c_str())) chosen = &preset;
    }
  }
  if (!chosen) {
    error = "unknown preset '" + nameOrIndex + "' (quorvel-render --list-presets shows them)";
    return false;
  }
  const auto* load = instance_->GetExtension<clap_plugin_preset_load>(CLAP_EXT_PRESET_LOAD);
  if (!load) load = instance_->GetExtension<clap_plugin_preset_load>(CLAP_EXT_PRESET_LOAD_COMPAT);
  if (!load || !load->from_location) {
    error = "the plug-in cannot load presets";
    return false;
  }
  if (!load->from_location(instance_->Plugin(), CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr,
                           chosen->loadKey.c_str())) {
    const auto reports = host_->PresetLoadErrors();
    error = "the plug-in could not load preset '" + chosen->name + "'" +
            (reports.empty() ? std::string() : ": " + reports.back().message);
    return false;
  }
  return true;
}

bool PluginRenderer::FindParameter(const std::string& name, clap_param_info& found,
                                   std::string& error) const {
  const auto* params = instance_->GetExtension<clap_plugin_params>(CLAP_EXT_PARAMS);
  if (!params) {
    error = "the plug-in has no parameters";
    return false;
  }
  const uint32_t count = params->count(instance_->Plugin());
  for (int pass = 0; pass < 2; ++pass) {
    for (uint32_t i = 0; i < count; ++i) {
      clap_param_info info{};
      if (!params->get_info(instance_->Plugin(), i, &info)) continue;
      if (pass == 0 ? name == info.name : SameIgnoringCase(name, info.name)) {
        found = info;
        return true;
      }
    }
  }
  error = "unknown parameter '" + name + "' (quorvel-info lists them)";
  return false;
}

bool PluginRenderer::CheckText(const clap_param_info& info, const std::string& text,
                               std::string& error) const {
  const auto& params = *instance_->GetExtension<clap_plugin_params>(CLAP_EXT_PARAMS);
  const clap_plugin* plugin = instance_->Plugin();
  const clap_id id = info.id;
  const std::string name = info.name;
  if (info.flags & CLAP_PARAM_IS_STEPPED) {
    std::string choices;
    for (double v = info.min_value; v <= info.max_value && v - info.min_value < 1000.0; v += 1.0) {
      const std::string option = TextOf(params, plugin, id, v);
      if (option == text) return true;
      choices += (choices.empty() ? "" : ", ") + option;
    }
    error = "bad value '" + text + "' for '" + name + "' (one of: " + choices + ")";
    return false;
  }
  // A number, optionally followed by the parameter's unit, inside the range the plug-in shows.
  const std::string lowest = TextOf(params, plugin, id, info.min_value);
  const std::string highest = TextOf(params, plugin, id, info.max_value);
  const size_t space = lowest.find(' ');
  const std::string unit = space == std::string::npos ? "" : lowest.substr(space + 1);
  const char* begin = text.c_str();
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(begin, &end);
  const std::string rest = Trimmed(end ? end : "");
  const bool number = end != begin && errno == 0 && std::isfinite(value) &&
                      (rest.empty() || SameIgnoringCase(rest, unit));
  const double low = std::strtod(lowest.c_str(), nullptr);
  const double high = std::strtod(highest.c_str(), nullptr);
  if (!number || value < low || value > high) {
    error = "bad value '" + text + "' for '" + name + "' (a number from " + lowest + " to " +
            highest + ")";
    return false;
  }
  return true;
}

bool PluginRenderer::SetParameter(const std::string& name, const std::string& text,
                                  std::string& error) {
  clap_param_info info{};
  if (!FindParameter(name, info, error)) return false;
  const std::string value = Trimmed(text);
  if (!CheckText(info, value, error)) return false;
  const auto& params = *instance_->GetExtension<clap_plugin_params>(CLAP_EXT_PARAMS);
  double parsed = 0.0;
  if (!params.text_to_value(instance_->Plugin(), info.id, value.c_str(), &parsed)) {
    error = "the plug-in refused the value '" + text + "' for '" + info.name + "'";
    return false;
  }
  clapHost::InputEventList in;
  clapHost::OutputEventList out;
  in.Add(clapHost::MakeParamValue(0, info.id, parsed));
  if (!instance_->Flush(in, out)) {
    error = "the plug-in cannot take parameter changes outside processing";
    return false;
  }
  return true;
}

bool PluginRenderer::SelectPorts(int mainChannels, int sidechainChannels, std::string& error) {
  const std::string wanted = sidechainChannels == 0 ? (mainChannels == 1 ? "1-1" : "2-2")
                                                    : (sidechainChannels == 1 ? "2.1-2" : "2.2-2");
  const auto* configs =
      instance_->GetExtension<clap_plugin_audio_ports_config>(CLAP_EXT_AUDIO_PORTS_CONFIG);
  const uint32_t count = configs ? configs->count(instance_->Plugin()) : 0;
  for (uint32_t i = 0; i < count; ++i) {
    clap_audio_ports_config config{};
    if (!configs->get(instance_->Plugin(), i, &config) || wanted != config.name) continue;
    if (!configs->select(instance_->Plugin(), config.id)) break;
    return true;
  }
  error = "the plug-in offers no '" + wanted + "' channel configuration";
  return false;
}

bool PluginRenderer::Render(const Audio& main, const Audio* sidechain, int blockSize, double tempo,
                            const std::function<void(double)>& progress, Audio& output,
                            std::string& error) {
  const int mainChannels = main.ChannelCount();
  const int sideChannels = sidechain ? sidechain->ChannelCount() : 0;
  if (mainChannels < 1 || mainChannels > 2 || sideChannels > 2) {
    error = "only mono and stereo audio can be rendered";
    return false;
  }
  if (sidechain && sidechain->sampleRate != main.sampleRate) {
    error = "the side-chain runs at " + std::to_string(sidechain->sampleRate) +
            " Hz but the input at " + std::to_string(main.sampleRate) + " Hz";
    return false;
  }
  if (!SelectPorts(mainChannels, sideChannels, error)) return false;
  const auto* ports = instance_->GetExtension<clap_plugin_audio_ports>(CLAP_EXT_AUDIO_PORTS);
  if (!ports) {
    error = "the plug-in has no audio ports";
    return false;
  }
  const std::vector<uint32_t> inputPorts = PortChannels(*ports, instance_->Plugin(), true);
  const std::vector<uint32_t> outputPorts = PortChannels(*ports, instance_->Plugin(), false);
  if (!instance_->Activate(main.sampleRate, 1, static_cast<uint32_t>(blockSize))) {
    error = "the plug-in refused to run at " + std::to_string(main.sampleRate) +
            " Hz with blocks of " + std::to_string(blockSize);
    return false;
  }
  instance_->StartProcessing();

  const size_t frames = main.Frames();
  output.sampleRate = main.sampleRate;
  output.format = main.format;
  output.channels.assign(outputPorts.empty() ? 0 : outputPorts[0], std::vector<double>(frames));
  clapHost::AudioBlock audio(inputPorts, outputPorts, static_cast<uint32_t>(blockSize),
                             clapHost::SampleSize::Float64);
  clapHost::InputEventList in;
  clapHost::OutputEventList out;
  bool ok = true;
  for (size_t start = 0; start < frames && ok; start += static_cast<size_t>(blockSize)) {
    const size_t n = std::min(frames - start, static_cast<size_t>(blockSize));
    audio.SetFrames(static_cast<uint32_t>(n));
    // Port 0 is the main input, port 1 the side-chain; a mono main feeds both channels of a
    // stereo port.
    for (uint32_t c = 0; c < (inputPorts.empty() ? 0 : inputPorts[0]); ++c) {
      const auto& source =
          main.channels[std::min<size_t>(c, static_cast<size_t>(mainChannels) - 1)];
      for (size_t f = 0; f < n; ++f)
        audio.SetInput(0, c, static_cast<uint32_t>(f), source[start + f]);
    }
    for (uint32_t c = 0; sidechain && inputPorts.size() > 1 && c < inputPorts[1]; ++c) {
      const auto& source = sidechain->channels[c];
      for (size_t f = 0; f < n; ++f) {
        audio.SetInput(1, c, static_cast<uint32_t>(f),
                       start + f < source.size() ? source[start + f] : 0.0);
      }
    }
    out.Clear();
    const clap_event_transport transport =
        Transport(static_cast<int64_t>(start), main.sampleRate, tempo);
    if (instance_->Process(audio, in, out, &transport) == CLAP_PROCESS_ERROR) {
      error = "the plug-in failed to process the block at sample " + std::to_string(start);
      ok = false;
      break;
    }
    for (size_t c = 0; c < output.channels.size(); ++c) {
      for (size_t f = 0; f < n; ++f)
        output.channels[c][start + f] =
            audio.Output(0, static_cast<uint32_t>(c), static_cast<uint32_t>(f));
    }
    if (progress) progress(static_cast<double>(start + n) / static_cast<double>(frames));
  }
  instance_->StopProcessing();
  instance_->Deactivate();
  return ok;
}

}  // namespace quorvelRender
