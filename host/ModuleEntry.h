#pragma once

#include <cstdint>
#include <mutex>

#include "host/PluginDefinition.h"
#include "host/clap/PluginFactory.h"
#include "host/clap/PresetDiscovery.h"

// Module-wide state of the loaded module and the functions behind its exported entry and
// plug-in factory. Every function here may be called from any thread.
namespace plugkit {

// [thread-safe] clap_plugin_entry.init: the first successful call stores the path and builds
// the descriptor from the definition; later calls succeed only with the same path.
bool ModuleInit(const PluginDefinition& definition, const char* pluginPath);

// [thread-safe] clap_plugin_entry.deinit: the call matching the first init frees everything.
void ModuleDeinit();

// [thread-safe] clap_plugin_entry.get_factory. pluginFactory is the exported factory object.
const void* ModuleGetFactory(const char* factoryId, const clap_plugin_factory* pluginFactory);

// [thread-safe] The three functions of the plug-in factory.
uint32_t FactoryGetPluginCount(const clap_plugin_factory* factory);
const clap_plugin_descriptor* FactoryGetPluginDescriptor(const clap_plugin_factory* factory,
                                                         uint32_t index);
const clap_plugin* FactoryCreatePlugin(const clap_plugin_factory* factory, const clap_host* host,
                                       const char* pluginId);

// Guards the module-wide state; every entry and factory function except the plug-in count
// runs under it. Not recursive.
std::mutex& ModuleLock();

// The descriptor while the module is initialised, else null. Call with ModuleLock() held.
const clap_plugin_descriptor* DescriptorWhileLocked();

// The preset provider's descriptor while the module is initialised, else null. Call with
// ModuleLock() held.
const clap_preset_discovery_provider_descriptor* ProviderDescriptorWhileLocked();

// [main-thread] Builds an instance through the definition given at init; null while the
// module is not initialised. Call with ModuleLock() and ConstructionLock() held.
const clap_plugin* CreateInstanceWhileLocked(const clap_host* host, bool servesRealHost);

// Process-wide lock around building an instance, so that no two instances are ever
// constructed at the same time. Taken after ModuleLock() when both are needed.
std::mutex& ConstructionLock();

}  // namespace plugkit
