// Parameter indices the tests use, by name.

#pragma once

#include "host/clap/Clap.h"

namespace quorvelTest {

inline constexpr clap_id kInputTrim = 1;         // Double, -8 .. 24 dB
inline constexpr clap_id kLfo1Rate = 2;          // Double, square curve over 0 .. 1
inline constexpr clap_id kLfo1Shape = 6;         // Enum, 0 .. 4 with texts
inline constexpr clap_id kCutoffModSource = 20;  // Enum, five modulation sources
inline constexpr clap_id kCutoffFrequency = 22;  // Double, 10 .. 18000 Hz, curve 2.5
inline constexpr clap_id kResonance = 23;
inline constexpr clap_id kPhaserEnable = 30;  // Bool, on by default
inline constexpr clap_id kPhaserFeedback = 43;
inline constexpr clap_id kChorusDelay = 51;

}  // namespace quorvelTest
