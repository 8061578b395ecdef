#pragma once

#include <cmath>
#include <concepts>
#include <cstdint>
#include <limits>

namespace plugkit {

// Double-to-integer conversions that never invoke undefined behaviour: out-of-range values
// saturate at the integer's limits and NaN becomes 0.
template <std::integral Int>
inline Int SaturateTruncate(double v) {
  if (std::isnan(v)) return 0;
  constexpr double lo = static_cast<double>(std::numeric_limits<Int>::min());
  // 2^bits as a double is exact; every double below it converts without overflow.
  constexpr double hiExclusive = static_cast<double>(std::numeric_limits<Int>::max() / 2 + 1) * 2.0;
  if (v <= lo) return std::numeric_limits<Int>::min();
  if (v >= hiExclusive) return std::numeric_limits<Int>::max();
  return static_cast<Int>(v);
}

// Rounds half away from zero, then saturates.
template <std::integral Int>
inline Int SaturateRound(double v) {
  return SaturateTruncate<Int>(std::round(v));
}

}  // namespace plugkit
