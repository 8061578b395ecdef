#include "host/TransportConversion.h"

#include <cmath>

namespace plugkit {

TransportInfo TransportFromClap(const clap_event_transport& transport, double sampleRate) {
  constexpr double kFactor = static_cast<double>(CLAP_BEATTIME_FACTOR);
  TransportInfo info;
  const uint32_t flags = transport.flags;
  // A tempo the engine could not divide by keeps the default.
  if ((flags & CLAP_TRANSPORT_HAS_TEMPO) && std::isfinite(transport.tempo) &&
      transport.tempo > 0.0) {
    info.tempo = transport.tempo;
  }
  if (flags & CLAP_TRANSPORT_HAS_SECONDS_TIMELINE) {
    info.samplePosition = static_cast<double>(transport.song_pos_seconds) * sampleRate / kFactor;
  }
  if (flags & CLAP_TRANSPORT_HAS_BEATS_TIMELINE) {
    info.ppqPosition = static_cast<double>(transport.song_pos_beats) / kFactor;
    info.lastBarStart = static_cast<double>(transport.bar_start) / kFactor;
    info.loopStart = static_cast<double>(transport.loop_start_beats) / kFactor;
    info.loopEnd = static_cast<double>(transport.loop_end_beats) / kFactor;
  }
  if (flags & CLAP_TRANSPORT_HAS_TIME_SIGNATURE) {
    info.numerator = transport.tsig_num;
    info.denominator = transport.tsig_denom;
  }
  info.playing = (flags & CLAP_TRANSPORT_IS_PLAYING) != 0;
  info.looping = (flags & CLAP_TRANSPORT_IS_LOOP_ACTIVE) != 0;
  return info;
}

}  // namespace plugkit
