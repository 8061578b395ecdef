#pragma once

#include "host/clap/ext/PresetLoad.h"

namespace plugkit {

// "clap.preset-load/2": factory presets inside the plug-in, the load key being the decimal
// preset slot index.
const clap_plugin_preset_load& PresetLoadExtension();

// The slot index a load key names: digits only, no sign, no leading zero (except "0"),
// within a signed 32-bit integer. -1 for anything else.
int ParsePresetLoadKey(const char* key);

}  // namespace plugkit
