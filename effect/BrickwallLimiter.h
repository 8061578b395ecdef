#pragma once

namespace quorvel {

// Static soft-knee output curve: unchanged up to 0.5, reaching the −0.1 dBFS ceiling at 2.
inline constexpr double kBrickwallKnee = 0.5;
inline constexpr double kBrickwallCeiling = 0.98855309465694;

// [audio-thread] Applies the curve to one sample.
double BrickwallCurve(double x);

// [audio-thread] Applies the curve in place to count samples and returns by how much the
// peak exceeded the knee, limited to 0 … 1.
double ApplyBrickwall(double* samples, int count);

}  // namespace quorvel
