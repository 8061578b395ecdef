#pragma once

#include <stdint.h>

#include "host/clap/AbiMacros.h"

CLAP_EXTERN_C_BEGIN

typedef struct clap_istream {
  void* ctx;

  // Bytes read; 0 at the end of the stream, negative on error.
  int64_t(CLAP_ABI* read)(const struct clap_istream* stream, void* buffer, uint64_t size);
} clap_istream_t;

typedef struct clap_ostream {
  void* ctx;

  // Bytes written, which may be fewer than size; negative on error.
  int64_t(CLAP_ABI* write)(const struct clap_ostream* stream, const void* buffer, uint64_t size);
} clap_ostream_t;

CLAP_EXTERN_C_END
