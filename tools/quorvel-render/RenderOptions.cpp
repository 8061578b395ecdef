#include "tools/quorvel-render/RenderOptions.h"

#include <cmath>
#include <utility>

#include "tools/plugin-render/OptionReader.h"

namespace quorvelRender {

namespace {

std::optional<int> Whole(const std::string& text, int low, int high) {
  const auto value = ParseNumber(text, low, high);
  if (!value || *value != std::floor(*value)) return std::nullopt;
  return static_cast<int>(*value);
}

}  // namespace

const char* RenderUsage() {
  return "Usage: quorvel-render [INPUT] [options]\n"
         "Renders INPUT (WAV, FLAC, AIFF or OGG) through Quorvel.clap, or a built-in demo\n"
         "of drums, bass and chords when no INPUT is given.\n"
         "  --out FILE          output file; the format follows its extension\n"
         "                      (.wav .flac .aiff .ogg), else the input's format\n"
         "  --float             write 64-bit floating-point samples (.wav and .aiff)\n"
         "  --sidechain FILE    side-chain input for the detectors (same sample rate)\n"
         "  --preset NAME|INDEX\n"
         "                      factory preset to load first\n"
         "  --set NAME=TEXT     set a parameter as its display text, e.g. --set 'drive=0.5'\n"
         "                      (repeatable; applied after the preset)\n"
         "  --rate HZ           sample rate of the demo (default 48000); must match an input\n"
         "  --block N           frames per process call (default 512)\n"
         "  --tempo BPM         host tempo (default 120)\n"
         "  --length SECONDS    length of the demo (default 8)\n"
         "  --plugin PATH       the module to load (default: the Quorvel.clap installed\n"
         "                      with this program, or else the one built beside it)\n"
         "  --list-presets      print the factory presets and exit\n"
         "  --help              print this text and exit\n"
         "  --version           print the version and exit\n";
}

std::string DefaultOutputPath(const std::string& input) {
  if (input.empty()) return "quorvel-demo.wav";
  const size_t slash = input.find_last_of('/');
  const std::string name = slash == std::string::npos ? input : input.substr(slash + 1);
  const size_t dot = name.find_last_of('.');
  if (dot == std::string::npos || dot == 0) return name + "-quorvel.wav";
  return name.substr(0, dot) + "-quorvel" + name.substr(dot);
}

std::optional<RenderOptions> ParseRenderOptions(std::span<const std::string> args,
                                                const std::string& defaultPluginPath,
                                                std::string& error) {
  RenderOptions options;
  options.pluginPath = defaultPluginPath;
  OptionReader reader(args);
  while (reader.Next()) {
    const std::string& option = reader.Option();
    if (option == "--help" || option == "-h") {
      if (!reader.NoValue(error)) return std::nullopt;
      options.help = true;
    } else if (option == "--version") {
      if (!reader.NoValue(error)) return std::nullopt;
      options.version = true;
    } else if (option == "--float") {
      if (!reader.NoValue(error)) return std::nullopt;
      options.doubleSamples = true;
    } else if (option == "--list-presets") {
      if (!reader.NoValue(error)) return std::nullopt;
      options.listPresets = true;
    } else if (option == "--out" || option == "--sidechain" || option == "--plugin" ||
               option == "--preset") {
      const auto text = reader.Value(error, true);
      if (!text) return std::nullopt;
      std::string& target = option == "--out"         ? options.output
                            : option == "--sidechain" ? options.sidechain
                            : option == "--plugin"    ? options.pluginPath
                                                      : options.preset;
      target = *text;
    } else if (option == "--set") {
      auto setting = reader.Setting(error);
      if (!setting) return std::nullopt;
      options.settings.push_back(std::move(*setting));
    } else if (option == "--rate") {
      const auto rate = reader.Parsed(error, "a whole number of hertz from 8000 to 384000",
                                      [](const std::string& t) { return Whole(t, 8000, 384000); });
      if (!rate) return std::nullopt;
      options.sampleRate = *rate;
    } else if (option == "--block") {
      const auto block = reader.Parsed(error, "a whole number of frames from 1 to 65536",
                                       [](const std::string& t) { return Whole(t, 1, 65536); });
      if (!block) return std::nullopt;
      options.blockSize = *block;
    } else if (option == "--tempo") {
      const auto tempo =
          reader.Parsed(error, "beats per minute from 20 to 999",
                        [](const std::string& t) { return ParseNumber(t, 20.0, 999.0); });
      if (!tempo) return std::nullopt;
      options.tempo = *tempo;
    } else if (option == "--length") {
      const auto seconds =
          reader.Parsed(error, "seconds above 0 and up to 600",
                        [](const std::string& t) { return ParsePositive(t, 600.0); });
      if (!seconds) return std::nullopt;
      options.demoSeconds = *seconds;
    } else if (option.size() > 1 && option[0] == '-') {
      error = "unknown option '" + option + "' (--help lists them)";
      return std::nullopt;
    } else if (options.input.empty()) {
      options.input = option;
    } else {
      error = "more than one input file ('" + options.input + "' and '" + option + "')";
      return std::nullopt;
    }
  }
  return options;
}

}  // namespace quorvelRender
