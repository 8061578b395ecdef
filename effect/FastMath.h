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

inline StereoPair ExpPair(StereoPair x) { return ExpLanes(x); }

// sin x and cos x in every lane, within one ulp of the library for |x| ≤ 1e5 (the
// engine's corners lie in 0 … π), NaN for NaN and ±inf. x − k·π/2 is formed in two steps
// with π/2 split into exactly multipliable parts, and its rounding error is carried into
// the polynomials for sin and cos on |r| ≤ π/4. [thread-safe]
template <class V>
[[gnu::always_inline]] inline void SinCosLanes(V x, V& sine, V& cosine) {
  using Bits = typename fastmath::Lanes<V>::Bits;
  constexpr double kTwoOverPi = 6.36619772367581382433e-01;
  constexpr double kPio2Part1 = 1.57079632673412561417e+00;  // first 33 bits of π/2
  constexpr double kPio2Part2 = 6.07710050630396597660e-11;  // the next 33 bits
  constexpr double kPio2Tail = 2.02226624879595063154e-21;   // π/2 − part 1 − part 2
  constexpr double kS1 = -1.66666666666666324348e-01;
  constexpr double kS2 = 8.33333333332248946124e-03;
  constexpr double kS3 = -1.98412698298579493134e-04;
  constexpr double kS4 = 2.75573137070700676789e-06;
  constexpr double kS5 = -2.50507602534068634195e-08;
  constexpr double kS6 = 1.58969099521155010221e-10;
  constexpr double kC1 = 4.16666666666666019037e-02;
  constexpr double kC2 = -1.38888888888741095749e-03;
  constexpr double kC3 = 2.48015872894767294178e-05;
  constexpr double kC4 = -2.75573143513906633035e-07;
  constexpr double kC5 = 2.08757232129817482790e-09;
  constexpr double kC6 = -1.13596475577881948265e-11;
  constexpr double kRound = 0x1.8p52;

  const V shifted = x * kTwoOverPi + kRound;
  const V k = shifted - kRound;
  // r + tail = x − k·π/2; the first subtraction is exact.
  const V t = x - k * kPio2Part1;
  const V part2 = k * kPio2Part2;
  const V u = t - part2;
  const V w = k * kPio2Tail - ((t - u) - part2);
  const V r = u - w;
  const V tail = (u - r) - w;

  const V z = r * r;
  const V v = z * r;
  const V sPoly = kS2 + z * (kS3 + z * (kS4 + z * (kS5 + z * kS6)));
  const V sinR = r - ((z * (0.5 * tail - v * sPoly) - tail) - v * kS1);
  const V cPoly = z * (kC1 + z * (kC2 + z * (kC3 + z * (kC4 + z * (kC5 + z * kC6)))));
  const V half = 0.5 * z;
  const V one = 1.0 - half;
  const V cosR = one + (((1.0 - one) - half) + (z * cPoly - r * tail));

  // Quadrant k mod 4 from the low bits of the rounded k: odd swaps sin and cos, and the
  // signs follow the quadrant.
  const Bits bits = std::bit_cast<Bits>(shifted);
  const Bits odd = Bits{} - (bits & 1);
  const Bits sign = Bits{} + 0x8000000000000000ULL;
  const Bits negateSin = (Bits{} - ((bits >> 1) & 1)) & sign;
  const Bits negateCos = (Bits{} - (((bits + 1) >> 1) & 1)) & sign;
  const Bits s = std::bit_cast<Bits>(sinR);
  const Bits c = std::bit_cast<Bits>(cosR);
  sine = std::bit_cast<V>(((c & odd) | (s & ~odd)) ^ negateSin);
  cosine = std::bit_cast<V>(((s & odd) | (c & ~odd)) ^ negateCos);
}

}  // namespace quorvel
