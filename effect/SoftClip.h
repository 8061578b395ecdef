#pragma once

#include <cmath>

namespace quorvel {

// Limiter placed between stages: unchanged up to ±2, bending along a quadratic Bézier
// to ±4 at ±8, flat beyond.
inline double SoftClip(double x) {
  const double magnitude = std::abs(x);
  if (magnitude <= 2.0) return x;
  if (magnitude >= 8.0) return std::copysign(4.0, x);
  const double u = (std::sqrt(8.0 * magnitude) - 4.0) / 4.0;
  const double curve = 2.0 * (1.0 - u) * (1.0 - u) + 8.0 * u * (1.0 - u) + 4.0 * u * u;
  return std::copysign(curve, x);
}

}  // namespace quorvel
