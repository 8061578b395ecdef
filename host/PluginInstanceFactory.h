#pragma once

#include "host/clap/Host.h"
#include "host/clap/Plugin.h"

namespace quorvel {

// [main-thread] Builds one effect instance and returns the clap_plugin embedded in it, or null.
// The caller holds the construction lock. servesRealHost is false for the temporary instance
// that lists presets, which must not start timers or talk to a host.
const clap_plugin* CreatePluginInstance(const clap_plugin_descriptor* descriptor,
                                        const clap_host* host, bool servesRealHost);

}  // namespace quorvel
