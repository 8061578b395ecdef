#pragma once

#include "host/clap/Plugin.h"

CLAP_EXTERN_C_BEGIN

static const CLAP_CONSTEXPR char CLAP_EXT_PRESET_LOAD[] = "clap.preset-load/2";
// Hosts built before the extension was final answer this identifier only.
static const CLAP_CONSTEXPR char CLAP_EXT_PRESET_LOAD_COMPAT[] = "clap.preset-load.draft/2";

typedef struct clap_plugin_preset_load {
  // [main-thread] location_kind is a clap_preset_discovery_location_kind.
  bool(CLAP_ABI* from_location)(const clap_plugin_t* plugin, uint32_t location_kind,
                                const char* location, const char* load_key);
} clap_plugin_preset_load_t;

typedef struct clap_host_preset_load {
  // [main-thread]
  void(CLAP_ABI* on_error)(const clap_host_t* host, uint32_t location_kind, const char* location,
                           const char* load_key, int32_t os_error, const char* msg);

  // [main-thread]
  void(CLAP_ABI* loaded)(const clap_host_t* host, uint32_t location_kind, const char* location,
                         const char* load_key);
} clap_host_preset_load_t;

CLAP_EXTERN_C_END
