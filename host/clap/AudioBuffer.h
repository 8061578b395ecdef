#pragma once

#include <stdint.h>

#include "host/clap/AbiMacros.h"

CLAP_EXTERN_C_BEGIN

// One audio port's channels for a block: either data32 or data64 is set.
typedef struct clap_audio_buffer {
  float** data32;
  double** data64;
  uint32_t channel_count;
  uint32_t latency;        // in samples
  uint64_t constant_mask;  // bit n: channel n holds one value for the whole block
} clap_audio_buffer_t;

CLAP_EXTERN_C_END
