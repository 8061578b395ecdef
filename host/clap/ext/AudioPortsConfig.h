#pragma once

#include "host/clap/Plugin.h"
#include "host/clap/StringSizes.h"

CLAP_EXTERN_C_BEGIN

static const CLAP_CONSTEXPR char CLAP_EXT_AUDIO_PORTS_CONFIG[] = "clap.audio-ports-config";

typedef struct clap_audio_ports_config {
  clap_id id;
  char name[CLAP_NAME_SIZE];

  uint32_t input_port_count;
  uint32_t output_port_count;

  bool has_main_input;
  uint32_t main_input_channel_count;
  const char* main_input_port_type;

  bool has_main_output;
  uint32_t main_output_channel_count;
  const char* main_output_port_type;
} clap_audio_ports_config_t;

typedef struct clap_plugin_audio_ports_config {
  // [main-thread]
  uint32_t(CLAP_ABI* count)(const clap_plugin_t* plugin);

  // [main-thread]
  bool(CLAP_ABI* get)(const clap_plugin_t* plugin, uint32_t index,
                      clap_audio_ports_config_t* config);

  // [main-thread & !active]
  bool(CLAP_ABI* select)(const clap_plugin_t* plugin, clap_id config_id);
} clap_plugin_audio_ports_config_t;

typedef struct clap_host_audio_ports_config {
  // [main-thread]
  void(CLAP_ABI* rescan)(const clap_host_t* host);
} clap_host_audio_ports_config_t;

CLAP_EXTERN_C_END
