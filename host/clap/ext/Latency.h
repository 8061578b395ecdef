#pragma once

#include "host/clap/Plugin.h"

CLAP_EXTERN_C_BEGIN

static const CLAP_CONSTEXPR char CLAP_EXT_LATENCY[] = "clap.latency";

typedef struct clap_plugin_latency {
  // [main-thread & (being-activated | active)] In samples.
  uint32_t(CLAP_ABI* get)(const clap_plugin_t* plugin);
} clap_plugin_latency_t;

typedef struct clap_host_latency {
  // [main-thread & being-activated]
  void(CLAP_ABI* changed)(const clap_host_t* host);
} clap_host_latency_t;

CLAP_EXTERN_C_END
