// quorvel-render: renders an audio file, or a built-in demo, through Quorvel.clap the way a
// host does, and writes the result.

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "product/Version.h"
#include "tools/plugin-render/AudioFile.h"
#include "tools/plugin-render/DemoSignal.h"
#include "tools/plugin-render/PluginRenderer.h"
#include "tools/plugin-render/ProgramModule.h"
#include "tools/quorvel-render/RenderOptions.h"

namespace {

using namespace quorvelRender;

int Fail(const std::string& message) {
  std::cerr << "quorvel-render: " << message << "\n";
  return 1;
}

// Compares file identities, which Windows' stat does not report (its inode is always 0).
bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return std::filesystem::equivalent(a, b, error) && !error;
}

// Percent done on one terminal line; nothing when stderr is not a terminal.
class Progress {
 public:
  Progress() : shown_(isatty(STDERR_FILENO) == 1) {}
  ~Progress() {
    if (shown_ && last_ >= 0) std::fprintf(stderr, "\r%20s\r", "");
  }
  void operator()(double fraction) {
    const int percent = static_cast<int>(fraction * 100.0);
    if (!shown_ || percent == last_) return;
    last_ = percent;
    std::fprintf(stderr, "\rrendering %3d%%", percent);
    std::fflush(stderr);
  }

 private:
  bool shown_;
  int last_ = -1;
};

int Run(const RenderOptions& options) {
  std::string error;
  auto renderer = PluginRenderer::Open(options.pluginPath, error);
  if (!renderer) return Fail(error);
  if (options.listPresets) {
    for (const PresetEntry& preset : renderer->Presets())
      std::cout << preset.index << "\t" << preset.name << "\n";
    return 0;
  }

  std::optional<Audio> input;
  if (options.input.empty()) {
    input = MakeDemoSignal(options.sampleRate.value_or(48000), options.demoSeconds, options.tempo);
  } else {
    input = ReadAudioFile(options.input, error);
    if (!input) return Fail(error);
    if (input->ChannelCount() > 2)
      return Fail("'" + options.input + "' has " + std::to_string(input->ChannelCount()) +
                  " channels; only mono and stereo can be rendered");
    if (options.sampleRate && *options.sampleRate != input->sampleRate)
      return Fail("--rate " + std::to_string(*options.sampleRate) + " differs from the " +
                  std::to_string(input->sampleRate) + " Hz of '" + options.input +
                  "' (nothing is resampled)");
  }
  std::optional<Audio> sidechain;
  if (!options.sidechain.empty()) {
    sidechain = ReadAudioFile(options.sidechain, error);
    if (!sidechain) return Fail(error);
    if (sidechain->ChannelCount() > 2)
      return Fail("'" + options.sidechain + "' has " + std::to_string(sidechain->ChannelCount()) +
                  " channels; a side-chain is mono or stereo");
  }

  const std::string outputPath =
      options.output.empty() ? DefaultOutputPath(options.input) : options.output;
  auto format = OutputFormat(outputPath, options.input.empty() ? nullptr : &*input, error);
  if (!format) return Fail(error);
  if (options.doubleSamples) format = WithDoubleSamples(*format);
  for (const std::string* source : {&options.input, &options.sidechain}) {
    if (!source->empty() && SameFile(*source, outputPath))
      return Fail("the output '" + outputPath + "' would overwrite the input '" + *source + "'");
  }

  if (!options.preset.empty() && !renderer->LoadPreset(options.preset, error)) return Fail(error);
  for (const auto& [name, text] : options.settings) {
    if (!renderer->SetParameter(name, text, error)) return Fail(error);
  }

  Audio output;
  {
    Progress progress;
    if (!renderer->Render(*input, sidechain ? &*sidechain : nullptr, options.blockSize,
                          options.tempo, std::ref(progress), output, error)) {
      return Fail(error);
    }
  }
  if (!WriteAudioFile(outputPath, output, *format, error)) return Fail(error);
  std::cout << "wrote " << outputPath << "\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  std::string error;
  const auto options = ParseRenderOptions(
      args, ModuleNearProgram({QUORVEL_INSTALLED_MODULE, QUORVEL_BUILT_MODULE}), error);
  if (!options) return Fail(error);
  if (options->help) {
    std::cout << RenderUsage();
    return 0;
  }
  if (options->version) {
    std::cout << "quorvel-render (Quorvel) " << quorvel::kVersionText << "\n";
    return 0;
  }
  try {
    return Run(*options);
  } catch (const std::exception& e) {
    // Out of memory for a huge file is the one failure that arrives this way.
    return Fail(e.what());
  }
}
