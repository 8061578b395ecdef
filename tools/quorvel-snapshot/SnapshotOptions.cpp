#include "tools/quorvel-snapshot/SnapshotOptions.h"

#include <utility>

#include "tools/plugin-render/OptionReader.h"

namespace quorvelSnapshot {

using quorvelRender::OptionReader;
using quorvelRender::ParseNumber;
using quorvelRender::ParsePositive;

const char* SnapshotUsage() {
  return "Usage: quorvel-snapshot [INPUT] [options]\n"
         "Draws Quorvel's editor, as a host shows it, into a PNG file without opening a\n"
         "window. With INPUT (WAV, FLAC, AIFF or OGG) or --seconds, audio runs through the\n"
         "plug-in first, so lamps, meters and motorized knobs show live values.\n"
         "  --out FILE.png      the picture (default quorvel-editor.png)\n"
         "  --scale S           draw scale from 0.5 to 4 (default 1)\n"
         "  --preset NAME|INDEX\n"
         "                      factory preset to load first\n"
         "  --set NAME=TEXT     set a parameter as its display text (repeatable; applied\n"
         "                      after the preset)\n"
         "  --seconds N         run N seconds of the built-in demo, or only the first N\n"
         "                      seconds of INPUT (up to 3600)\n"
         "  --plugin PATH       the module to load (default: the Quorvel.clap installed\n"
         "                      with this program, or else the one built beside it)\n"
         "  --help              print this text and exit\n"
         "  --version           print the version and exit\n";
}

std::optional<SnapshotOptions> ParseSnapshotOptions(std::span<const std::string> args,
                                                    const std::string& defaultPluginPath,
                                                    std::string& error) {
  SnapshotOptions options;
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
    } else if (option == "--out" || option == "--plugin" || option == "--preset") {
      const auto text = reader.Value(error, true);
      if (!text) return std::nullopt;
      (option == "--out"      ? options.output
       : option == "--plugin" ? options.pluginPath
                              : options.preset) = *text;
    } else if (option == "--set") {
      auto setting = reader.Setting(error);
      if (!setting) return std::nullopt;
      options.settings.push_back(std::move(*setting));
    } else if (option == "--scale") {
      const auto scale = reader.Parsed(error, "a number from 0.5 to 4", [](const std::string& t) {
        return ParseNumber(t, 0.5, 4.0);
      });
      if (!scale) return std::nullopt;
      options.scale = *scale;
    } else if (option == "--seconds") {
      const auto seconds =
          reader.Parsed(error, "a number above 0 and up to 3600",
                        [](const std::string& t) { return ParsePositive(t, 3600.0); });
      if (!seconds) return std::nullopt;
      options.seconds = *seconds;
    } else if (option.size() > 1 && option[0] == '-') {
      error = "unknown option '" + option + "' (--help lists them)";
      return std::nullopt;
    } else if (options.input.empty()) {
      options.input = option;
    } else {
      error = "one input only: '" + options.input + "' and '" + option + "'";
      return std::nullopt;
    }
  }
  return options;
}

}  // namespace quorvelSnapshot
