// quorvel-info PATH.clap: prints what the module tells a host, the way a host learns it.

#include <iostream>
#include <string>

#include "product/Version.h"
#include "tools/clap-host/Host.h"
#include "tools/clap-host/PluginInstance.h"
#include "tools/clap-host/PluginModule.h"
#include "tools/quorvel-info/InfoPrinter.h"

namespace {

constexpr char kUsage[] =
    "Usage: quorvel-info PATH.clap\n"
    "Loads the CLAP module PATH.clap as a host does and prints what it tells a host: each\n"
    "plug-in's descriptor, parameters (id, name, flags, range, default and its text),\n"
    "audio ports and their configurations, latency and tail, and the presets a preset\n"
    "indexer finds, with their load keys.\n"
    "  --help     print this text and exit\n"
    "  --version  print the version and exit\n";

}  // namespace

int main(int argc, char** argv) {
  const std::string first = argc > 1 ? argv[1] : "";
  if (argc == 2 && (first == "--help" || first == "-h")) {
    std::cout << kUsage;
    return 0;
  }
  if (argc == 2 && first == "--version") {
    std::cout << "quorvel-info (Quorvel) " << quorvel::kVersionText << "\n";
    return 0;
  }
  if (argc != 2) {
    std::cerr << kUsage;
    return 2;
  }
  std::string error;
  auto module = clapHost::PluginModule::Open(argv[1], error);
  if (!module) {
    std::cerr << "quorvel-info: " << error << "\n";
    return 1;
  }
  const clap_plugin_factory& factory = *module->PluginFactory();
  const uint32_t count = factory.get_plugin_count(&factory);
  bool ok = count > 0;
  for (uint32_t index = 0; index < count; ++index) {
    const clap_plugin_descriptor* descriptor = factory.get_plugin_descriptor(&factory, index);
    if (descriptor == nullptr || descriptor->id == nullptr) {
      std::cerr << "quorvel-info: no descriptor for plug-in " << index << "\n";
      ok = false;
      continue;
    }
    quorvelInfo::PrintDescriptor(std::cout, *descriptor);

    clapHost::Host host;
    auto instance = clapHost::PluginInstance::Create(factory, host, descriptor->id, error);
    if (!instance) {
      std::cerr << "quorvel-info: " << error << "\n";
      ok = false;
      continue;
    }
    quorvelInfo::PrintParameters(std::cout, *instance);
    quorvelInfo::PrintAudioPorts(std::cout, *instance);
    quorvelInfo::PrintPortConfigurations(std::cout, *instance);
    quorvelInfo::PrintLatencyAndTail(std::cout, *instance);
  }
  ok = quorvelInfo::PrintPresets(std::cout, std::cerr, *module) && ok;
  return ok ? 0 : 1;
}
