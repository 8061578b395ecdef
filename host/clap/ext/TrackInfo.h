#pragma once

#include "host/clap/Color.h"
#include "host/clap/Plugin.h"
#include "host/clap/StringSizes.h"

CLAP_EXTERN_C_BEGIN

static const CLAP_CONSTEXPR char CLAP_EXT_TRACK_INFO[] = "clap.track-info/1";
// Hosts built before the extension was final answer this identifier only.
static const CLAP_CONSTEXPR char CLAP_EXT_TRACK_INFO_COMPAT[] = "clap.track-info.draft/1";

enum {
  CLAP_TRACK_INFO_HAS_TRACK_NAME = 1 << 0,
  CLAP_TRACK_INFO_HAS_TRACK_COLOR = 1 << 1,
  CLAP_TRACK_INFO_HAS_AUDIO_CHANNEL = 1 << 2,
  CLAP_TRACK_INFO_IS_FOR_RETURN_TRACK = 1 << 3,
  CLAP_TRACK_INFO_IS_FOR_BUS = 1 << 4,
  CLAP_TRACK_INFO_IS_FOR_MASTER = 1 << 5,
};

typedef struct clap_track_info {
  uint64_t flags;

  char name[CLAP_NAME_SIZE];
  clap_color_t color;

  int32_t audio_channel_count;
  const char* audio_port_type;
} clap_track_info_t;

typedef struct clap_plugin_track_info {
  // [main-thread]
  void(CLAP_ABI* changed)(const clap_plugin_t* plugin);
} clap_plugin_track_info_t;

typedef struct clap_host_track_info {
  // [main-thread]
  bool(CLAP_ABI* get)(const clap_host_t* host, clap_track_info_t* info);
} clap_host_track_info_t;

CLAP_EXTERN_C_END
