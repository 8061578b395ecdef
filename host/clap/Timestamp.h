#pragma once

#include <stdint.h>

#include "host/clap/AbiMacros.h"

CLAP_EXTERN_C_BEGIN

// Seconds since the Unix epoch; 0 means unknown.
typedef uint64_t clap_timestamp;

static const CLAP_CONSTEXPR clap_timestamp CLAP_TIMESTAMP_UNKNOWN = 0;

CLAP_EXTERN_C_END
