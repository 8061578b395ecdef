#pragma once

#include "host/clap/Plugin.h"

CLAP_EXTERN_C_BEGIN

static const CLAP_CONSTEXPR char CLAP_EXT_TIMER_SUPPORT[] = "clap.timer-support";

typedef struct clap_plugin_timer_support {
  // [main-thread]
  void(CLAP_ABI* on_timer)(const clap_plugin_t* plugin, clap_id timer_id);
} clap_plugin_timer_support_t;

typedef struct clap_host_timer_support {
  // [main-thread] The host may round the period.
  bool(CLAP_ABI* register_timer)(const clap_host_t* host, uint32_t period_ms, clap_id* timer_id);

  // [main-thread]
  bool(CLAP_ABI* unregister_timer)(const clap_host_t* host, clap_id timer_id);
} clap_host_timer_support_t;

CLAP_EXTERN_C_END
