#pragma once

#include "host/clap/Plugin.h"
#include "host/clap/StringSizes.h"

CLAP_EXTERN_C_BEGIN

static const CLAP_CONSTEXPR char CLAP_EXT_AUDIO_PORTS[] = "clap.audio-ports";
static const CLAP_CONSTEXPR char CLAP_PORT_MONO[] = "mono";
static const CLAP_CONSTEXPR char CLAP_PORT_STEREO[] = "stereo";

enum {
  CLAP_AUDIO_PORT_IS_MAIN = 1 << 0,
  CLAP_AUDIO_PORT_SUPPORTS_64BITS = 1 << 1,
  CLAP_AUDIO_PORT_PREFERS_64BITS = 1 << 2,
  CLAP_AUDIO_PORT_REQUIRES_COMMON_SAMPLE_SIZE = 1 << 3,
};

typedef struct clap_audio_port_info {
  clap_id id;
  char name[CLAP_NAME_SIZE];
  uint32_t flags;
  uint32_t channel_count;
  // "mono", "stereo" or another type word; null when unspecified.
  const char* port_type;
  // The port of the other direction that may share this port's buffer, or CLAP_INVALID_ID.
  clap_id in_place_pair;
} clap_audio_port_info_t;

typedef struct clap_plugin_audio_ports {
  // [main-thread]
  uint32_t(CLAP_ABI* count)(const clap_plugin_t* plugin, bool is_input);

  // [main-thread]
  bool(CLAP_ABI* get)(const clap_plugin_t* plugin, uint32_t index, bool is_input,
                      clap_audio_port_info_t* info);
} clap_plugin_audio_ports_t;

enum {
  CLAP_AUDIO_PORTS_RESCAN_NAMES = 1 << 0,
  CLAP_AUDIO_PORTS_RESCAN_FLAGS = 1 << 1,
  CLAP_AUDIO_PORTS_RESCAN_CHANNEL_COUNT = 1 << 2,
  CLAP_AUDIO_PORTS_RESCAN_PORT_TYPE = 1 << 3,
  CLAP_AUDIO_PORTS_RESCAN_IN_PLACE_PAIR = 1 << 4,
  CLAP_AUDIO_PORTS_RESCAN_LIST = 1 << 5,
};

typedef struct clap_host_audio_ports {
  // [main-thread]
  bool(CLAP_ABI* is_rescan_flag_supported)(const clap_host_t* host, uint32_t flag);

  // [main-thread]
  void(CLAP_ABI* rescan)(const clap_host_t* host, uint32_t flags);
} clap_host_audio_ports_t;

CLAP_EXTERN_C_END
