#pragma once

#include <span>

#include "effect/QuorvelParameters.h"

namespace quorvel {

// The tail value that stands for "rings forever".
inline constexpr int kEndlessTail = 2147483647;

// How many samples the output keeps sounding once the input falls silent, at these plain
// parameter values and sample rate; kEndlessTail when a loop can ring forever.
//
// Every recursive stage of the chain is linear for signals below full scale, so its free
// response dies away with its poles. For each stage in use the bound finds the poles at the
// worst setting its modulation can reach (the slowest decay), and counts the samples until a
// response of that radius, with as many coinciding poles as cluster there, has fallen by
// 100 dB: 60 dB below full scale plus 40 dB for the resonant gain inside the loops. The
// chorus adds its longest tap delay. Stages run one after another, so their times add up.
// [main-thread]; allocates nothing and takes well under a millisecond.
int TailSamplesFor(std::span<const double, kParamCount> values, double sampleRate);

}  // namespace quorvel
