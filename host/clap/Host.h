#pragma once

#include "host/clap/Version.h"

CLAP_EXTERN_C_BEGIN

typedef struct clap_host {
  clap_version_t clap_version;

  // Reserved for the host.
  void* host_data;

  const char* name;
  const char* vendor;
  const char* url;
  const char* version;

  // [thread-safe] An extension table, or null.
  const void*(CLAP_ABI* get_extension)(const struct clap_host* host, const char* extension_id);

  // [thread-safe] Asks for deactivate followed by activate.
  void(CLAP_ABI* request_restart)(const struct clap_host* host);

  // [thread-safe] Asks for activation and processing.
  void(CLAP_ABI* request_process)(const struct clap_host* host);

  // [thread-safe] Asks for a call of on_main_thread.
  void(CLAP_ABI* request_callback)(const struct clap_host* host);
} clap_host_t;

CLAP_EXTERN_C_END
