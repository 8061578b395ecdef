#include "effect/EnvelopeCurves.h"

#include <algorithm>
#include <cmath>

namespace quorvel {
namespace {

void BuildInverse(const CurveTable& up, CurveTable& inverse) {
  constexpr int last = kCurveTableSize - 1;
  std::array<bool, kCurveTableSize> filled{};
  inverse.fill(0.0f);
  for (int i = 0; i < kCurveTableSize; ++i) {
    const double scaled = static_cast<double>(up[i]) * last;
    const int k = std::clamp(static_cast<int>(scaled), 0, last);
    inverse[k] = static_cast<float>(i / static_cast<double>(kCurveTableSize));
    filled[k] = true;
  }
  inverse[0] = 1.0f;
  inverse[last] = 0.0f;
  filled[0] = filled[last] = true;

  // Where the curve is steep one attack step skips several levels. Interpolate each run of
  // skipped levels between its filled neighbours so the map stays monotone and a retrigger
  // never jumps.
  int k = 1;
  while (k < last) {
    if (filled[k]) {
      ++k;
      continue;
    }
    const int lo = k - 1;
    int hi = k;
    while (!filled[hi]) ++hi;
    const double a = inverse[lo];
    const double b = inverse[hi];
    const double span = hi - lo;
    for (int g = lo + 1; g < hi; ++g)
      inverse[g] = static_cast<float>((a * (hi - g) + b * (g - lo)) / span);
    k = hi;
  }
}

}  // namespace

double EnvelopeCurve(double t) {
  if (t < 0.875) {
    const double u = (1.4375 - std::sqrt(2.06640625 - 2.25 * t)) / 1.125;
    return 0.25 * u * (1.0 - u) + 0.75 * (u * u);
  }
  const double u = (t - 0.875) / 0.125;
  return 0.75 * ((1.0 - u) * (1.0 - u)) + 2.0 * u * (1.0 - u) + u * u;
}

EnvelopeCurves::EnvelopeCurves() {
  for (int i = 0; i < kCurveTableSize; ++i) {
    const double t = i / static_cast<double>(kCurveTableSize);
    down[i] = static_cast<float>(EnvelopeCurve(t));
    up[i] = static_cast<float>(EnvelopeCurve(1.0 - t));
  }
  BuildInverse(up, inverse);
}

const EnvelopeCurves& EnvelopeCurves::Get() {
  static const EnvelopeCurves curves;
  return curves;
}

}  // namespace quorvel
