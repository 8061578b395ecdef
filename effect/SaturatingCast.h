#pragma once

#include <cstdint>
#include <limits>

namespace quorvel {

// Truncates towards zero and saturates, so huge or non-finite values never reach an integer
// conversion with undefined behaviour. NaN gives 0.
template <typename Int>
Int SaturatingTrunc(double v)
{
    static_assert(std::numeric_limits<Int>::is_integer);
    constexpr double lowest = static_cast<double>(std::numeric_limits<Int>::lowest());
    // The largest double strictly below max() + 1; max() itself may not be representable.
    constexpr double limit = static_cast<double>(std::numeric_limits<Int>::max() / 2 + 1) * 2.0;
    if (!(v == v))
        return 0;
    if (v <= lowest)
        return std::numeric_limits<Int>::lowest();
    if (v >= limit)
        return std::numeric_limits<Int>::max();
    return static_cast<Int>(v);
}

inline std::int32_t SaturatingInt32(double v) { return SaturatingTrunc<std::int32_t>(v); }
inline std::int64_t SaturatingInt64(double v) { return SaturatingTrunc<std::int64_t>(v); }

} // namespace quorvel
