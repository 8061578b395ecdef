#pragma once

#include "host/clap/Host.h"
#include "host/clap/Plugin.h"

namespace plugkit {

// [main-thread] Builds one instance and returns the clap_plugin embedded in it, or null. The
// caller holds the construction lock. servesRealHost is false for the temporary instance that
// lists presets, which must not start timers or talk to a host.
using CreateInstanceFunction = const clap_plugin* (*)(const clap_plugin_descriptor* descriptor,
                                                      const clap_host* host, bool servesRealHost);

// [thread-safe] Work the module needs done once before anything else runs, such as starting
// a library that sets itself up lazily.
using ModuleStartFunction = void (*)();

// What the module entry needs to know of the one plug-in the module offers. Every text lives
// as long as the module.
struct PluginDefinition {
  const char* id;
  const char* name;
  const char* vendor;
  const char* url;
  const char* version;
  const char* description;
  const char* const* features;  // null-terminated
  const char* presetProviderName;
  CreateInstanceFunction createInstance;
  // Called in the init that loads the module (again after the last deinit); may be null.
  ModuleStartFunction startModule = nullptr;
};

}  // namespace plugkit
