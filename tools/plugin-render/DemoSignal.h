#pragma once

#include "tools/plugin-render/AudioFile.h"

namespace quorvelRender {

// A few bars of music to hear the effect on without an input file: drums, a bass line and
// chords (A minor, F, C, G) in 4/4 at the given tempo, stereo. Deterministic: the same
// arguments always give the same samples. Peaks at about −3 dBFS. Arguments outside 0 … 3600 s,
// 20 … 999 BPM and 8 … 384 kHz are brought inside.
Audio MakeDemoSignal(int sampleRate, double seconds, double tempo);

}  // namespace quorvelRender
