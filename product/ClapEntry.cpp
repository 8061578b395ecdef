// The two objects the module exports, bound to this product; built into the module only.

#include <new>

#include "graphics/CairoStartup.h"
#include "host/ModuleEntry.h"
#include "host/clap/Entry.h"
#include "product/Product.h"
#include "product/Quorvel.h"

extern "C" {
CLAP_EXPORT extern const clap_plugin_factory clap_factory;
}

namespace {

// [main-thread]
const clap_plugin* CreateInstance(const clap_plugin_descriptor* descriptor, const clap_host* host,
                                  bool servesRealHost) {
  auto* instance = new (std::nothrow) quorvel::Quorvel(descriptor, host, servesRealHost);
  return instance ? instance->ClapPluginStruct() : nullptr;
}

constexpr plugkit::PluginDefinition kDefinition{
    .id = quorvel::kPluginId,
    .name = quorvel::kPluginName,
    .vendor = quorvel::kVendorName,
    .url = quorvel::kVendorUrl,
    .version = quorvel::kVersionText,
    .description = quorvel::kPluginDescription,
    .features = quorvel::kFeatures,
    .presetProviderName = quorvel::kPresetProviderName,
    .createInstance = CreateInstance,
    // A statically linked Cairo (Windows) deadlocks unless its locks are set up before an
    // instance makes its first font face.
    .startModule = plugkit::gfx::StartCairo,
};

// [thread-safe]
bool Init(const char* pluginPath) { return plugkit::ModuleInit(kDefinition, pluginPath); }

// [thread-safe]
const void* GetFactory(const char* factoryId) {
  return plugkit::ModuleGetFactory(factoryId, &clap_factory);
}

}  // namespace

extern "C" {

CLAP_EXPORT extern const clap_plugin_factory clap_factory = {
    plugkit::FactoryGetPluginCount,
    plugkit::FactoryGetPluginDescriptor,
    plugkit::FactoryCreatePlugin,
};

CLAP_EXPORT extern const clap_plugin_entry clap_entry = {
    CLAP_VERSION_INIT,
    Init,
    plugkit::ModuleDeinit,
    GetFactory,
};

}  // extern "C"
