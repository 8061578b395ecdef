#include "effect/SoftClip.h"

#include <cmath>

namespace quorvel {

double SoftClip(double x) {
  const double magnitude = std::abs(x);
  if (magnitude <= 2.0)
    return x;
  if (magnitude >= 8.0)
    return std::copysign(4.0, x);
  const double u = (std::sqrt(8.0 * magnitude) - 4.0) / 4.0;
  const double curve = 2.0 * (1.0 - u) * (1.0 - u) + 8.0 * u * (1.0 - u) + 4.0 * u * u;
  return std::copysign(curve, x);
}

void SoftClipBlock(double* samples, int count) {
  for (int i = 0; i < count; ++i) samples[i] = SoftClip(samples[i]);
}

}  // namespace quorvel
