#pragma once

#include <emmintrin.h>

#include <bit>

#include "effect/StereoPair.h"

namespace quorvel {

namespace fastmath {

template <class V>
struct Lanes;
template <>
struct Lanes<StereoPair> {
  using Bits = unsigned long long __attribute__((vector_size(16)));
};
template <>
struct Lanes<StereoQuad> {
  using Bits = unsigned long long __attribute__((vector_size(32)));
};

// maxpd and minpd lane by lane: b where either operand is NaN. Quads go pair by pair, as
// a comparison and select on a whole quad would be split into scalars without AVX.
[[gnu::always_inline]] inline StereoPair Max(StereoPair a, StereoPair b) {
  return _mm_max_pd(a, b);
}
[[gnu::always_inline]] inline StereoPair Min(StereoPair a, StereoPair b) {
  return _mm_min_pd(a, b);
}
[[gnu::always_inline]] inline StereoQuad Max(StereoQuad a, StereoQuad b) {
  return Join(Max(FirstPair(a), FirstPair(b)), Max(SecondPair(a), SecondPair(b)));
}
[[gnu::always_inline]] inline StereoQuad Min(StereoQuad a, StereoQuad b) {
  return Join(Min(FirstPair(a), FirstPair(b)), Min(SecondPair(a), SecondPair(b)));
}

}  // namespace fastmath

// e^x in every lane, within one ulp of the correctly rounded result over the whole double
// range: 0 and overflow where the library gives them, subnormal results rounded once, NaN
// passed through. x = k·ln 2 + r with |r| ≤ ln 2 / 2 and a rational correction for e^r, so
// two lanes cost about what one library call costs. V is StereoPair or StereoQuad; a lane
// gives the same bits in either. [thread-safe]
template <class V>
[[gnu::always_inline]] inline V ExpLanes(V x) {
  using Bits = typename fastmath::Lanes<V>::Bits;
  // ln 2 split so that k · kLn2High is exact for every k the clamped range gives.
  constexpr double kLn2High = 6.93147180369123816490e-01;
  constexpr double kLn2Low = 1.90821492927058770002e-10;
  constexpr double kInvLn2 = 1.44269504088896338700e+00;
  constexpr double kP1 = 1.66666666666666019037e-01;
  constexpr double kP2 = -2.77777777770155933842e-03;
  constexpr double kP3 = 6.61375632143793436117e-05;
  constexpr double kP4 = -1.65339022054652515390e-06;
  constexpr double kP5 = 4.13813679705723846039e-08;
  // Adding 1.5 · 2^52 rounds to an integer that then sits in the low mantissa bits.
  constexpr double kRound = 0x1.8p52;
  constexpr unsigned long long kRoundBits = 0x4338000000000000ULL;
  const V zero{};

  // Beyond these the result is inf or 0 anyway; the operand order lets NaN through.
  const V clamped = fastmath::Min(zero + 710.0, fastmath::Max(zero - 746.0, x));
  const V shifted = clamped * kInvLn2 + kRound;
  const V k = shifted - kRound;
  const V hi = clamped - k * kLn2High;
  const V lo = k * kLn2Low;
  const V r = hi - lo;
  const V t = r * r;
  const V c = r - t * (kP1 + t * (kP2 + t * (kP3 + t * (kP4 + t * kP5))));
  const V y = 1.0 - ((lo - (r * c) / (2.0 - c)) - hi);

  // 2^k as two factors 2^⌊k/2⌋ · 2^(k−⌊k/2⌋), each a normal number, so that results near
  // overflow and in the subnormal range are scaled exactly and rounded only once.
  const Bits bits = std::bit_cast<Bits>(shifted);
  const Bits half = bits >> 1;
  const Bits bias = Bits{} + (kRoundBits / 2 - 1023);
  const Bits k1 = (half - bias) << 52;
  const Bits k2 = ((bits - half) - bias) << 52;
  return y * std::bit_cast<V>(k1) * std::bit_cast<V>(k2);
}

inline StereoPair ExpPair(StereoPair x) {
  return ExpLanes(x);
}

}  // namespace quorvel
