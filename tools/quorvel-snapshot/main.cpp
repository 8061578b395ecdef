// quorvel-snapshot: draws Quorvel's editor, as a host shows it, into a PNG file without a
// window, optionally after a preset, parameter texts and some audio through the plug-in.

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "product/Version.h"
#include "tools/plugin-render/AudioFile.h"
#include "tools/plugin-render/DemoSignal.h"
#include "tools/plugin-render/PluginRenderer.h"
#include "tools/plugin-render/ProgramModule.h"
#include "tools/quorvel-snapshot/EditorPicture.h"
#include "tools/quorvel-snapshot/SnapshotOptions.h"

namespace {

using namespace quorvelSnapshot;

constexpr int kDemoRate = 48000;
constexpr int kBlockSize = 512;
constexpr double kTempo = 120.0;

int Fail(const std::string& message) {
  std::cerr << "quorvel-snapshot: " << message << "\n";
  return 1;
}

// The audio to run before the picture: INPUT (cut to the seconds asked for), the demo, or none.
std::optional<quorvelRender::Audio> SignalFor(const SnapshotOptions& options, std::string& error) {
  if (options.input.empty()) {
    if (options.seconds <= 0.0) return quorvelRender::Audio{};
    return quorvelRender::MakeDemoSignal(kDemoRate, options.seconds, kTempo);
  }
  auto audio = quorvelRender::ReadAudioFile(options.input, error);
  if (audio && options.seconds > 0.0) {
    const auto frames = static_cast<size_t>(options.seconds * audio->sampleRate);
    for (auto& channel : audio->channels) channel.resize(std::min(channel.size(), frames));
  }
  return audio;
}

int Run(const SnapshotOptions& options) {
  std::string error;
  auto renderer = quorvelRender::PluginRenderer::Open(options.pluginPath, error);
  if (!renderer) return Fail(error);
  const auto signal = SignalFor(options, error);
  if (!signal) return Fail(error);

  if (!options.preset.empty() && !renderer->LoadPreset(options.preset, error)) return Fail(error);
  for (const auto& [name, text] : options.settings) {
    if (!renderer->SetParameter(name, text, error)) return Fail(error);
  }
  if (signal->Frames() > 0) {
    quorvelRender::Audio output;
    if (!renderer->Render(*signal, nullptr, kBlockSize, kTempo, nullptr, output, error))
      return Fail(error);
  }

  const auto picture = TakeEditorPicture(renderer->Instance(), options.scale, error);
  if (!picture) return Fail(error);
  if (!WritePng(*picture, options.output, error)) return Fail(error);
  std::cout << "wrote " << options.output << " (" << picture->width << " x " << picture->height
            << ")\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  std::string error;
  const auto options = ParseSnapshotOptions(
      args, quorvelRender::ModuleNearProgram({QUORVEL_INSTALLED_MODULE, QUORVEL_BUILT_MODULE}),
      error);
  if (!options) return Fail(error);
  if (options->help) {
    std::cout << SnapshotUsage();
    return 0;
  }
  if (options->version) {
    std::cout << "quorvel-snapshot (Quorvel) " << quorvel::kVersionText << "\n";
    return 0;
  }
  try {
    return Run(*options);
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
}
