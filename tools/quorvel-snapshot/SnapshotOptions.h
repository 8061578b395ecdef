#pragma once

#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace quorvelSnapshot {

// What one command line asks for.
struct SnapshotOptions {
  std::string input;  // empty: the built-in demo signal, when seconds > 0
  std::string output = "quorvel-editor.png";
  std::string pluginPath;
  std::string preset;                                         // empty: the plug-in's defaults
  std::vector<std::pair<std::string, std::string>> settings;  // NAME=TEXT, in order
  double scale = 1.0;
  double seconds = 0.0;  // of the demo, or the first of INPUT; 0: no demo, all of INPUT
  bool help = false;
  bool version = false;
};

// Parses the arguments after the program name. Empty, with one line in error, on a mistake.
std::optional<SnapshotOptions> ParseSnapshotOptions(std::span<const std::string> args,
                                                    const std::string& defaultPluginPath,
                                                    std::string& error);

const char* SnapshotUsage();

}  // namespace quorvelSnapshot
