#pragma once

namespace plugkit {

// Host transport for the current block; -1 means the host did not say.
struct TransportInfo {
  double tempo = 120.0;
  double samplePosition = -1.0;
  double ppqPosition = -1.0;
  double lastBarStart = -1.0;
  double loopStart = -1.0;
  double loopEnd = -1.0;
  int numerator = 4;
  int denominator = 4;
  bool playing = false;
  bool looping = false;
};

}  // namespace plugkit
