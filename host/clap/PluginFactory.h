#pragma once

#include "host/clap/Plugin.h"

CLAP_EXTERN_C_BEGIN

static const CLAP_CONSTEXPR char CLAP_PLUGIN_FACTORY_ID[] = "clap.plugin-factory";

typedef struct clap_plugin_factory {
  // [thread-safe]
  uint32_t(CLAP_ABI* get_plugin_count)(const struct clap_plugin_factory* factory);

  // [thread-safe] Null for an index out of range.
  const clap_plugin_descriptor_t*(CLAP_ABI* get_plugin_descriptor)(
      const struct clap_plugin_factory* factory, uint32_t index);

  // [thread-safe] Null on failure; the instance still has to be initialised.
  const clap_plugin_t*(CLAP_ABI* create_plugin)(const struct clap_plugin_factory* factory,
                                                const clap_host_t* host, const char* plugin_id);
} clap_plugin_factory_t;

CLAP_EXTERN_C_END
