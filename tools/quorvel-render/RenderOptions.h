#pragma once

#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace quorvelRender {

// What one command line asks for.
struct RenderOptions {
  std::string input;      // empty: the built-in demo signal
  std::string sidechain;  // empty: none
  std::string output;     // empty: a name derived from the input
  std::string pluginPath;
  std::string preset;                                         // empty: the plug-in's defaults
  std::vector<std::pair<std::string, std::string>> settings;  // NAME=TEXT, in order
  std::optional<int> sampleRate;
  int blockSize = 512;
  double tempo = 120.0;
  double demoSeconds = 8.0;
  bool doubleSamples = false;  // 64-bit floating-point output
  bool listPresets = false;
  bool help = false;
  bool version = false;
};

// Parses the arguments after the program name. Empty, with one line in error, on a mistake.
std::optional<RenderOptions> ParseRenderOptions(std::span<const std::string> args,
                                                const std::string& defaultPluginPath,
                                                std::string& error);

// The output name used without --out: the input's name with "-quorvel" added, in the
// current folder, or "quorvel-demo.wav".
std::string DefaultOutputPath(const std::string& input);

const char* RenderUsage();

}  // namespace quorvelRender
