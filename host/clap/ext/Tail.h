#pragma once

#include "host/clap/Plugin.h"

CLAP_EXTERN_C_BEGIN

static const CLAP_CONSTEXPR char CLAP_EXT_TAIL[] = "clap.tail";

typedef struct clap_plugin_tail {
  // [main-thread, audio-thread] In samples; INT32_MAX or more is infinite.
  uint32_t(CLAP_ABI* get)(const clap_plugin_t* plugin);
} clap_plugin_tail_t;

typedef struct clap_host_tail {
  // [audio-thread]
  void(CLAP_ABI* changed)(const clap_host_t* host);
} clap_host_tail_t;

CLAP_EXTERN_C_END
