#pragma once

#include <stdbool.h>
#include <stdint.h>

#include "host/clap/AbiMacros.h"

CLAP_EXTERN_C_BEGIN

typedef struct clap_version {
  uint32_t major;
  uint32_t minor;
  uint32_t revision;
} clap_version_t;

#define CLAP_VERSION_MAJOR 1
#define CLAP_VERSION_MINOR 2
#define CLAP_VERSION_REVISION 10

#define CLAP_VERSION_INIT \
  { (uint32_t) CLAP_VERSION_MAJOR, (uint32_t)CLAP_VERSION_MINOR, (uint32_t)CLAP_VERSION_REVISION }

static const CLAP_CONSTEXPR clap_version_t CLAP_VERSION = CLAP_VERSION_INIT;

// Major 0 marks the pre-release versions, which are not binary compatible.
static inline CLAP_CONSTEXPR bool clap_version_is_compatible(const clap_version_t v) {
  return v.major >= 1;
}

CLAP_EXTERN_C_END
