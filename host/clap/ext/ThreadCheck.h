#pragma once

#include "host/clap/Host.h"

CLAP_EXTERN_C_BEGIN

static const CLAP_CONSTEXPR char CLAP_EXT_THREAD_CHECK[] = "clap.thread-check";

typedef struct clap_host_thread_check {
  // [thread-safe]
  bool(CLAP_ABI* is_main_thread)(const clap_host_t* host);

  // [thread-safe]
  bool(CLAP_ABI* is_audio_thread)(const clap_host_t* host);
} clap_host_thread_check_t;

CLAP_EXTERN_C_END
