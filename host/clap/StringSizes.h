#pragma once

#include "host/clap/AbiMacros.h"

CLAP_EXTERN_C_BEGIN

enum {
  // Room for a name, including the terminating zero.
  CLAP_NAME_SIZE = 256,
  // Room for a path or a module name, including the terminating zero.
  CLAP_PATH_SIZE = 1024,
};

CLAP_EXTERN_C_END
