#include "tools/quorvel-snapshot/SnapshotOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace quorvelSnapshot {

namespace {

std::optional<double> Number(const std::string& text, double low, double high) {
  const char* begin = text.c_str();
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(begin, &end);
  if (end == begin || *end != '\0' || errno != 0 || !(value >= low && value <= high))
    return std::nullopt;
  return value;
}

}  // namespace

const char* SnapshotUsage() {
  return "usage: quorvel-snapshot [INPUT] [options]\n"
         "Draws Quorvel's editor, as a host shows it, into a PNG file without opening a\n"
         "window. With INPUT (WAV, FLAC, AIFF or OGG) or --seconds, audio runs through the\n"
         "plug-in first, so lamps, meters and motorized knobs show live values.\n"
         "  --out FILE.png      the picture (default quorvel-editor.png)\n"
         "  --scale S           draw scale from 0.5 to 4 (default 1)\n"
         "  --preset NAME|INDEX factory preset to load first\n"
         "  --set NAME=TEXT     set a parameter as its display text (repeatable; applied\n"
         "                      after the preset)\n"
         "  --seconds N         run N seconds of the built-in demo, or only the first N\n"
         "                      seconds of INPUT (up to 3600)\n"
         "  --plugin PATH       the module to load (default: the Quorvel.clap built beside\n"
         "                      this program)\n"
         "  --help              print this text and exit\n";
}

std::optional<SnapshotOptions> ParseSnapshotOptions(std::span<const std::string> args,
                                                    const std::string& defaultPluginPath,
                                                    std::string& error) {
  SnapshotOptions options;
  options.pluginPath = defaultPluginPath;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string option = args[i];
    std::optional<std::string> inlineValue;
    if (option.rfind("--", 0) == 0) {
      const size_t equals = option.find('=');
      if (equals != std::string::npos) {
        inlineValue = option.substr(equals + 1);
        option = option.substr(0, equals);
      }
    }
    const auto value = [&]() -> std::optional<std::string> {
      if (inlineValue) return inlineValue;
      if (i + 1 < args.size()) return args[++i];
      error = option + " needs a value";
      return std::nullopt;
    };

    if (option == "--help" || option == "-h") {
      if (inlineValue) {
        error = option + " takes no value";
        return std::nullopt;
      }
      options.help = true;
    } else if (option == "--out" || option == "--plugin" || option == "--preset") {
      const auto text = value();
      if (!text) return std::nullopt;
      if (text->empty()) {
        error = option + " needs a non-empty value";
        return std::nullopt;
      }
      (option == "--out"      ? options.output
       : option == "--plugin" ? options.pluginPath
                              : options.preset) = *text;
    } else if (option == "--set") {
      const auto text = value();
      if (!text) return std::nullopt;
      const size_t equals = text->find('=');
      if (equals == std::string::npos || equals == 0) {
        error = "--set expects NAME=TEXT, not '" + *text + "'";
        return std::nullopt;
      }
      options.settings.emplace_back(text->substr(0, equals), text->substr(equals + 1));
    } else if (option == "--scale") {
      const auto text = value();
      if (!text) return std::nullopt;
      const auto scale = Number(*text, 0.5, 4.0);
      if (!scale) {
        error = "--scale expects a number from 0.5 to 4, not '" + *text + "'";
        return std::nullopt;
      }
      options.scale = *scale;
    } else if (option == "--seconds") {
      const auto text = value();
      if (!text) return std::nullopt;
      const auto seconds = Number(*text, 0.0, 3600.0);
      if (!seconds || *seconds <= 0.0) {
        error = "--seconds expects a number above 0 and up to 3600, not '" + *text + "'";
        return std::nullopt;
      }
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
