// A plug-in factory over the Quorvel constructor, without the module around it, so that a
// test can reach the instance behind the clap_plugin.

#pragma once

#include "host/clap/PluginFactory.h"
#include "product/Quorvel.h"

namespace testSupport {

inline constexpr const char* kQuorvelTestId = "test.quorvel";

inline const clap_plugin_descriptor kQuorvelDescriptor{CLAP_VERSION_INIT,
                                                       kQuorvelTestId,
                                                       "Quorvel",
                                                       "",
                                                       "",
                                                       "",
                                                       "",
                                                       PROJECT_VERSION_TEXT,
                                                       "",
                                                       nullptr};

inline const clap_plugin_factory kQuorvelFactory{
    [](const clap_plugin_factory*) -> uint32_t { return 1; },
    [](const clap_plugin_factory*, uint32_t) { return &kQuorvelDescriptor; },
    [](const clap_plugin_factory*, const clap_host* host, const char*) {
      auto* instance = new quorvel::Quorvel(&kQuorvelDescriptor, host, true);
      return instance->ClapPluginStruct();
    }};

}  // namespace testSupport
