#include <new>

#include "effect/Quorvel.h"
#include "host/PluginInstanceFactory.h"

namespace quorvel {

// [main-thread]
const clap_plugin* CreatePluginInstance(const clap_plugin_descriptor* descriptor,
                                        const clap_host* host, bool servesRealHost) {
  auto* instance = new (std::nothrow) Quorvel(descriptor, host, servesRealHost);
  return instance ? instance->ClapPluginStruct() : nullptr;
}

}  // namespace quorvel
