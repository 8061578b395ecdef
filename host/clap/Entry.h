#pragma once

#include "host/clap/Version.h"

CLAP_EXTERN_C_BEGIN

// The one symbol a host resolves after loading a module.
typedef struct clap_plugin_entry {
  clap_version_t clap_version;

  // [thread-safe] Must be called before anything else; false refuses the module.
  bool(CLAP_ABI* init)(const char* plugin_path);

  // [thread-safe] Matches a successful init.
  void(CLAP_ABI* deinit)(void);

  // [thread-safe] A factory for the identifier, or null.
  const void*(CLAP_ABI* get_factory)(const char* factory_id);
} clap_plugin_entry_t;

CLAP_EXPORT extern const clap_plugin_entry_t clap_entry;

CLAP_EXTERN_C_END
