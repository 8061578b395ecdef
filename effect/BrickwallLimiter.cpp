#include "effect/BrickwallLimiter.h"

#include <algorithm>
#include <cmath>

namespace quorvel {

namespace {
constexpr double kCurveEnd = 2.0;
}  // namespace

double BrickwallCurve(double x) {
  const double magnitude = std::abs(x);
  if (!(magnitude > kBrickwallKnee)) return x;
  double y = kBrickwallCeiling;
  if (magnitude < kCurveEnd) {
    // Quadratic Bézier with x points (0.5, ceiling, 2) and y points (0.5, ceiling, ceiling).
    const double u = (std::sqrt(0.23868412629887295 - (0.5 - magnitude) * 0.5228938106861201) -
                      0.48855309465693997) /
                     0.5228938106861201;
    y = (2.0 * (1.0 - u) * kBrickwallCeiling + u * kBrickwallCeiling) * u +
        (1.0 - u) * (1.0 - u) * 0.5;
  }
  return std::copysign(y, x);
}

double ApplyBrickwall(double* samples, int count) {
  double peak = 0.0;
  for (int i = 0; i < count; ++i) {
    const double magnitude = std::abs(samples[i]);
    if (magnitude > kBrickwallKnee) {
      peak = std::max(peak, magnitude);
      samples[i] = BrickwallCurve(samples[i]);
    }
  }
  return std::clamp(peak - kBrickwallKnee, 0.0, 1.0);
}

}  // namespace quorvel
