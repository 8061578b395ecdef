#pragma once

#include "host/clap/ext/AudioPorts.h"
#include "host/clap/ext/AudioPortsConfig.h"

namespace plugkit {

// "clap.audio-ports": the buses of the current channel layout.
const clap_plugin_audio_ports& AudioPortsExtension();
// "clap.audio-ports-config": one configuration per channel layout, named as in the layout
// string ("2.1-2").
const clap_plugin_audio_ports_config& AudioPortsConfigExtension();

}  // namespace plugkit
