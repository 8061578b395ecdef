#pragma once

#include "host/clap/ext/State.h"

namespace plugkit {

// "clap.state": the state chunk of every parameter's plain value, through streams that may
// take or give any number of bytes per call.
const clap_plugin_state& StateExtension();

}  // namespace plugkit
