#pragma once

#include "framework/TransportInfo.h"
#include "host/clap/Events.h"

namespace plugkit {

// [audio-thread] The host transport of one block as TransportInfo: defaults (120 BPM, 4/4,
// positions -1, stopped) overwritten by whatever the flags say is present. Positions come
// from the 2^31 fixed-point beat and second times; a tempo that is not a finite positive
// number keeps the default.
TransportInfo TransportFromClap(const clap_event_transport& transport, double sampleRate);

}  // namespace plugkit
