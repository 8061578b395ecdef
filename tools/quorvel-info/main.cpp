// quorvel-info PATH.clap: prints what the module tells a host, the way a host learns it.

#include <iostream>
#include <string>

#include "tools/clap-host/Host.h"
#include "tools/clap-host/PluginInstance.h"
#include "tools/clap-host/PluginModule.h"
#include "tools/quorvel-info/InfoPrinter.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: quorvel-info PATH.clap\n";
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
