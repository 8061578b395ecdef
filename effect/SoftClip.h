#pragma once

namespace quorvel {

// Limiter placed between stages: unchanged up to ±2, bending along a quadratic Bézier
// to ±4 at ±8, flat beyond.
double SoftClip(double x);

// [audio-thread] clips count samples in place.
void SoftClipBlock(double* samples, int count);

}  // namespace quorvel
