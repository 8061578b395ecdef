#pragma once

#include <ostream>

#include "host/clap/Plugin.h"
#include "tools/clap-host/PluginInstance.h"
#include "tools/clap-host/PluginModule.h"

// Human-readable listings of what a module and its instances tell a host. Each section is
// printed only when the plug-in offers the extension behind it. Every call is [main-thread].
namespace quorvelInfo {

void PrintDescriptor(std::ostream& out, const clap_plugin_descriptor& descriptor);
void PrintParameters(std::ostream& out, const clapHost::PluginInstance& instance);
void PrintAudioPorts(std::ostream& out, const clapHost::PluginInstance& instance);
void PrintPortConfigurations(std::ostream& out, const clapHost::PluginInstance& instance);
void PrintLatencyAndTail(std::ostream& out, const clapHost::PluginInstance& instance);
// Through the module's preset-discovery factory; returns false when the walk failed.
bool PrintPresets(std::ostream& out, std::ostream& errors, const clapHost::PluginModule& module);

}  // namespace quorvelInfo
