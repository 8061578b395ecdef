#pragma once

#include "host/clap/Host.h"

CLAP_EXTERN_C_BEGIN

static const CLAP_CONSTEXPR char CLAP_EXT_LOG[] = "clap.log";

enum {
  CLAP_LOG_DEBUG = 0,
  CLAP_LOG_INFO = 1,
  CLAP_LOG_WARNING = 2,
  CLAP_LOG_ERROR = 3,
  CLAP_LOG_FATAL = 4,
  // The host broke the rules of the standard.
  CLAP_LOG_HOST_MISBEHAVING = 5,
  // The plug-in broke the rules of the standard.
  CLAP_LOG_PLUGIN_MISBEHAVING = 6,
};
typedef int32_t clap_log_severity;

typedef struct clap_host_log {
  // [thread-safe]
  void(CLAP_ABI* log)(const clap_host_t* host, clap_log_severity severity, const char* msg);
} clap_host_log_t;

CLAP_EXTERN_C_END
