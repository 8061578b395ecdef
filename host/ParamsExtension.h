#pragma once

#include "host/clap/ext/Params.h"

namespace plugkit {

// "clap.params": the parameter index is the CLAP id. Double parameters cross this extension
// normalized to [0, 1], every other kind in its plain units.
const clap_plugin_params& ParamsExtension();

}  // namespace plugkit
