#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/clap/ext/Params.h"
#include "tools/clap-host/Host.h"
#include "tools/clap-host/PluginInstance.h"
#include "tools/clap-host/PluginModule.h"
#include "tools/plugin-render/AudioFile.h"

namespace quorvelRender {

struct PresetEntry {
  int index;
  std::string name;
  std::string loadKey;
};

// Drives one instance of the module's first plug-in exactly as a host does: presets through
// preset discovery and preset-load, parameters through params, audio through process. Every
// call is on the main thread; each failing call returns false (or empty) with error set.
class PluginRenderer {
 public:
  static std::unique_ptr<PluginRenderer> Open(const std::string& modulePath, std::string& error);
  ~PluginRenderer();

  // The instance, for extensions beyond the ones used here.
  const clapHost::PluginInstance& Instance() const { return *instance_; }

  // The factory presets in load-key order.
  const std::vector<PresetEntry>& Presets() const { return presets_; }

  // A preset by exact name, by name ignoring case, or by its index.
  bool LoadPreset(const std::string& nameOrIndex, std::string& error);
  // Parses text with the plug-in's own text_to_value after checking that it names a value
  // the parameter has.
  bool SetParameter(const std::string& name, const std::string& text, std::string& error);

  // Renders main (1 or 2 channels) with an optional side-chain of the same rate; the output
  // is mono for a mono input without side-chain, else stereo. progress gets the fraction done.
  bool Render(const Audio& main, const Audio* sidechain, int blockSize, double tempo,
              const std::function<void(double)>& progress, Audio& output, std::string& error);

 private:
  PluginRenderer() = default;
  // By exact name first, then ignoring case.
  bool FindParameter(const std::string& name, clap_param_info& found, std::string& error) const;
  // Stepped parameters take one of their display texts; the others a number inside their
  // range, optionally followed by their unit.
  bool CheckText(const clap_param_info& info, const std::string& text, std::string& error) const;
  // The port configuration for the channel counts: "1-1", "2-2", "2.1-2" or "2.2-2".
  bool SelectPorts(int mainChannels, int sidechainChannels, std::string& error);

  std::unique_ptr<clapHost::PluginModule> module_;
  std::unique_ptr<clapHost::Host> host_;
  std::unique_ptr<clapHost::PluginInstance> instance_;
  std::vector<PresetEntry> presets_;
};

}  // namespace quorvelRender
