#pragma once

#include "host/clap/AbiMacros.h"

CLAP_EXTERN_C_BEGIN

// Names a plug-in across plug-in standards: abi is "clap" for CLAP plug-ins.
typedef struct clap_universal_plugin_id {
  const char* abi;
  const char* id;
} clap_universal_plugin_id_t;

CLAP_EXTERN_C_END
