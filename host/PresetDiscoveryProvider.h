#pragma once

#include "host/clap/PresetDiscovery.h"

namespace plugkit {

// The preset-discovery factory: one provider that lists the factory presets of a temporary
// instance under one location inside the plug-in. Load keys are the decimal preset slot
// indices that "clap.preset-load/2" accepts.
const clap_preset_discovery_factory& PresetDiscoveryFactory();

}  // namespace plugkit
