#pragma once

#include "host/clap/Host.h"
#include "host/clap/Process.h"

CLAP_EXTERN_C_BEGIN

typedef struct clap_plugin_descriptor {
  clap_version_t clap_version;

  // Reverse-domain identifier; must stay stable because hosts store it in projects.
  const char* id;
  const char* name;
  const char* vendor;
  const char* url;
  const char* manual_url;
  const char* support_url;
  const char* version;
  const char* description;

  // Null-terminated array of feature words.
  const char* const* features;
} clap_plugin_descriptor_t;

typedef struct clap_plugin {
  const clap_plugin_descriptor_t* desc;

  // Reserved for the plug-in.
  void* plugin_data;

  // [main-thread]
  bool(CLAP_ABI* init)(const struct clap_plugin* plugin);

  // [main-thread] Frees the instance; the pointer is invalid afterwards.
  void(CLAP_ABI* destroy)(const struct clap_plugin* plugin);

  // [main-thread & !active]
  bool(CLAP_ABI* activate)(const struct clap_plugin* plugin, double sample_rate,
                           uint32_t min_frames_count, uint32_t max_frames_count);

  // [main-thread & active]
  void(CLAP_ABI* deactivate)(const struct clap_plugin* plugin);

  // [audio-thread & active & !processing]
  bool(CLAP_ABI* start_processing)(const struct clap_plugin* plugin);

  // [audio-thread & active & processing]
  void(CLAP_ABI* stop_processing)(const struct clap_plugin* plugin);

  // [audio-thread & active]
  void(CLAP_ABI* reset)(const struct clap_plugin* plugin);

  // [audio-thread & active & processing]
  clap_process_status(CLAP_ABI* process)(const struct clap_plugin* plugin,
                                         const clap_process_t* process);

  // [thread-safe] An extension table, or null.
  const void*(CLAP_ABI* get_extension)(const struct clap_plugin* plugin, const char* id);

  // [main-thread] Answers the host's request_callback.
  void(CLAP_ABI* on_main_thread)(const struct clap_plugin* plugin);
} clap_plugin_t;

CLAP_EXTERN_C_END
