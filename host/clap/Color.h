#pragma once

#include <stdint.h>

#include "host/clap/AbiMacros.h"

CLAP_EXTERN_C_BEGIN

typedef struct clap_color {
  uint8_t alpha;
  uint8_t red;
  uint8_t green;
  uint8_t blue;
} clap_color_t;

CLAP_EXTERN_C_END
