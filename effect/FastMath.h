#pragma once

#include <emmintrin.h>

#include "effect/StereoPair.h"

namespace quorvel {

// e^x in both lanes at once, within one ulp of the correctly rounded result over the whole
// double range: 0 and overflow where the library gives them, subnormal results rounded once,
// NaN passed through. x = k·ln 2 + r with |r| ≤ ln 2 / 2 and a rational correction for e^r,
// so the two lanes cost about what one library call costs. [thread-safe]
inline StereoPair ExpPair(StereoPair x) {
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
  constexpr long long kRoundBits = 0x4338000000000000LL;

  // Beyond these the result is inf or 0 anyway; the operand order lets NaN through.
  const StereoPair clamped = _mm_min_pd(Splat(710.0), _mm_max_pd(Splat(-746.0), x));
  const StereoPair shifted = clamped * kInvLn2 + kRound;
  const StereoPair k = shifted - kRound;
  const StereoPair high = clamped - k * kLn2High;
  const StereoPair low = k * kLn2Low;
  const StereoPair r = high - low;
  const StereoPair t = r * r;
  const StereoPair c = r - t * (kP1 + t * (kP2 + t * (kP3 + t * (kP4 + t * kP5))));
  const StereoPair y = 1.0 - ((low - (r * c) / (2.0 - c)) - high);

  // 2^k as two factors 2^⌊k/2⌋ · 2^(k−⌊k/2⌋), each a normal number, so that results near
  // overflow and in the subnormal range are scaled exactly and rounded only once.
  const __m128i bits = _mm_castpd_si128(shifted);
  const __m128i half = _mm_srli_epi64(bits, 1);
  const __m128i k1 = _mm_sub_epi64(half, _mm_set1_epi64x(kRoundBits / 2 - 1023));
  const __m128i k2 = _mm_sub_epi64(_mm_sub_epi64(bits, half), _mm_set1_epi64x(kRoundBits / 2 - 1023));
  const StereoPair scale1 = _mm_castsi128_pd(_mm_slli_epi64(k1, 52));
  const StereoPair scale2 = _mm_castsi128_pd(_mm_slli_epi64(k2, 52));
  return y * scale1 * scale2;
}

}  // namespace quorvel
