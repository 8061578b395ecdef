// The two objects the module exports; built into the module only.

#include "host/ModuleEntry.h"
#include "host/clap/Entry.h"

extern "C" {
CLAP_EXPORT extern const clap_plugin_factory clap_factory;
}

namespace {

// [thread-safe]
const void* GetFactory(const char* factoryId) {
  return quorvel::ModuleGetFactory(factoryId, &clap_factory);
}

}  // namespace

extern "C" {

CLAP_EXPORT extern const clap_plugin_factory clap_factory = {
    quorvel::FactoryGetPluginCount,
    quorvel::FactoryGetPluginDescriptor,
    quorvel::FactoryCreatePlugin,
};

CLAP_EXPORT extern const clap_plugin_entry clap_entry = {
    CLAP_VERSION_INIT,
    quorvel::ModuleInit,
    quorvel::ModuleDeinit,
    GetFactory,
};

}  // extern "C"
