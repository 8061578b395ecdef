#pragma once

#include <stdint.h>

#include "host/clap/AbiMacros.h"

CLAP_EXTERN_C_BEGIN

typedef uint32_t clap_id;

static const CLAP_CONSTEXPR clap_id CLAP_INVALID_ID = UINT32_MAX;

CLAP_EXTERN_C_END
