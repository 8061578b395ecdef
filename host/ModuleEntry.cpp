#include "host/ModuleEntry.h"

#include <cstring>
#include <limits>
#include <memory>
#include <new>

#include "host/PresetDiscoveryProvider.h"
#include "host/clap/PresetDiscovery.h"

namespace plugkit {
namespace {

struct ModuleState {
  int32_t initCount = 0;
  // Held as bytes rather than std::string, whose constant initialisation not every
  // compiler and library pair offers.
  std::unique_ptr<char[]> path;
  size_t pathLength = 0;
  std::unique_ptr<clap_plugin_descriptor> descriptor;
  std::unique_ptr<clap_preset_discovery_provider_descriptor> providerDescriptor;
  const PluginDefinition* definition = nullptr;

  bool HasPath(const char* other) const {
    const size_t length = std::strlen(other);
    return length == pathLength && std::memcmp(path.get(), other, length) == 0;
  }
  void ClearPath() {
    path.reset();
    pathLength = 0;
  }
};

// constinit: ready before a host can call into the module, whatever the load order.
constinit ModuleState moduleState;

bool IsEmpty(const char* text) { return text == nullptr || text[0] == '\0'; }

void FillDescriptor(const PluginDefinition& definition, clap_plugin_descriptor& descriptor) {
  descriptor.clap_version = CLAP_VERSION;
  descriptor.id = definition.id;
  descriptor.name = definition.name;
  descriptor.vendor = definition.vendor;
  descriptor.url = definition.url;
  descriptor.manual_url = "";
  descriptor.support_url = definition.url;
  descriptor.version = definition.version;
  descriptor.description = definition.description;
  descriptor.features = definition.features;
}

void FillDescriptor(const PluginDefinition& definition,
                    clap_preset_discovery_provider_descriptor& descriptor) {
  descriptor.clap_version = CLAP_VERSION;
  descriptor.id = definition.id;
  descriptor.name = definition.presetProviderName;
  descriptor.vendor = definition.vendor;
}

}  // namespace

std::mutex& ModuleLock() {
  static std::mutex lock;
  return lock;
}

std::mutex& ConstructionLock() {
  static std::mutex lock;
  return lock;
}

const clap_plugin_descriptor* DescriptorWhileLocked() {
  return moduleState.initCount > 0 ? moduleState.descriptor.get() : nullptr;
}

const clap_preset_discovery_provider_descriptor* ProviderDescriptorWhileLocked() {
  return moduleState.initCount > 0 ? moduleState.providerDescriptor.get() : nullptr;
}

const clap_plugin* CreateInstanceWhileLocked(const clap_host* host, bool servesRealHost) {
  const clap_plugin_descriptor* descriptor = DescriptorWhileLocked();
  return descriptor ? moduleState.definition->createInstance(descriptor, host, servesRealHost)
                    : nullptr;
}

// [thread-safe]
bool ModuleInit(const PluginDefinition& definition, const char* pluginPath) {
  if (IsEmpty(pluginPath)) return false;
  std::lock_guard lock(ModuleLock());
  ModuleState& state = moduleState;
  if (state.initCount > 0) {
    // A count that could overflow is refused rather than wrapped.
    if (!state.HasPath(pluginPath) || state.initCount == std::numeric_limits<int32_t>::max()) {
      return false;
    }
    ++state.initCount;
    return true;
  }
  if (definition.startModule) definition.startModule();
  const size_t length = std::strlen(pluginPath);
  state.path.reset(new (std::nothrow) char[length + 1]);
  if (!state.path) return false;
  std::memcpy(state.path.get(), pluginPath, length + 1);
  state.pathLength = length;
  state.descriptor.reset(new (std::nothrow) clap_plugin_descriptor);
  state.providerDescriptor.reset(new (std::nothrow) clap_preset_discovery_provider_descriptor);
  if (!state.descriptor || !state.providerDescriptor) {
    state.ClearPath();
    state.descriptor.reset();
    state.providerDescriptor.reset();
    return false;
  }
  state.definition = &definition;
  FillDescriptor(definition, *state.descriptor);
  FillDescriptor(definition, *state.providerDescriptor);
  state.initCount = 1;
  return true;
}

// [thread-safe]
void ModuleDeinit() {
  std::lock_guard lock(ModuleLock());
  ModuleState& state = moduleState;
  if (state.initCount <= 0) return;
  if (--state.initCount == 0) {
    state.ClearPath();
    state.descriptor.reset();
    state.providerDescriptor.reset();
    state.definition = nullptr;
  }
}

// [thread-safe]
const void* ModuleGetFactory(const char* factoryId, const clap_plugin_factory* pluginFactory) {
  std::lock_guard lock(ModuleLock());
  if (moduleState.initCount <= 0 || factoryId == nullptr) return nullptr;
  if (std::strcmp(factoryId, CLAP_PLUGIN_FACTORY_ID) == 0) return pluginFactory;
  if (std::strcmp(factoryId, CLAP_PRESET_DISCOVERY_FACTORY_ID) == 0 ||
      std::strcmp(factoryId, CLAP_PRESET_DISCOVERY_FACTORY_ID_COMPAT) == 0) {
    return &PresetDiscoveryFactory();
  }
  return nullptr;
}

// [thread-safe] Hosts call this before init to list plug-ins, so it neither locks nor checks.
uint32_t FactoryGetPluginCount(const clap_plugin_factory*) { return 1; }

// [thread-safe]
const clap_plugin_descriptor* FactoryGetPluginDescriptor(const clap_plugin_factory*,
                                                         uint32_t index) {
  std::lock_guard lock(ModuleLock());
  return index == 0 ? DescriptorWhileLocked() : nullptr;
}

// [thread-safe]
const clap_plugin* FactoryCreatePlugin(const clap_plugin_factory*, const clap_host* host,
                                       const char* pluginId) {
  std::lock_guard lock(ModuleLock());
  const clap_plugin_descriptor* descriptor = DescriptorWhileLocked();
  if (host == nullptr || pluginId == nullptr || descriptor == nullptr ||
      host->clap_version.major == 0) {
    return nullptr;
  }
  if (std::strcmp(pluginId, descriptor->id) != 0) return nullptr;
  try {
    std::lock_guard construction(ConstructionLock());
    return CreateInstanceWhileLocked(host, true);
  } catch (...) {
    return nullptr;
  }
}

}  // namespace plugkit
