#include "host/PluginInstanceFactory.h"

namespace quorvel {

// [main-thread] No effect instance can be built yet, so the factory refuses every request.
const clap_plugin* CreatePluginInstance(const clap_plugin_descriptor*, const clap_host*, bool) {
  return nullptr;
}

}  // namespace quorvel
