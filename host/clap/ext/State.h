#pragma once

#include "host/clap/Plugin.h"
#include "host/clap/Stream.h"

CLAP_EXTERN_C_BEGIN

static const CLAP_CONSTEXPR char CLAP_EXT_STATE[] = "clap.state";

typedef struct clap_plugin_state {
  // [main-thread]
  bool(CLAP_ABI* save)(const clap_plugin_t* plugin, const clap_ostream_t* stream);

  // [main-thread]
  bool(CLAP_ABI* load)(const clap_plugin_t* plugin, const clap_istream_t* stream);
} clap_plugin_state_t;

typedef struct clap_host_state {
  // [main-thread] The plug-in's state changed outside of parameter changes.
  void(CLAP_ABI* mark_dirty)(const clap_host_t* host);
} clap_host_state_t;

CLAP_EXTERN_C_END
