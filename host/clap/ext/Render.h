#pragma once

#include "host/clap/Plugin.h"

CLAP_EXTERN_C_BEGIN

static const CLAP_CONSTEXPR char CLAP_EXT_RENDER[] = "clap.render";

enum {
  CLAP_RENDER_REALTIME = 0,
  CLAP_RENDER_OFFLINE = 1,
};
typedef int32_t clap_plugin_render_mode;

typedef struct clap_plugin_render {
  // [main-thread]
  bool(CLAP_ABI* has_hard_realtime_requirement)(const clap_plugin_t* plugin);

  // [main-thread]
  bool(CLAP_ABI* set)(const clap_plugin_t* plugin, clap_plugin_render_mode mode);
} clap_plugin_render_t;

CLAP_EXTERN_C_END
