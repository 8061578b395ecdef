#pragma once

#include <emmintrin.h>

namespace quorvel {

// Left and right sample side by side, so one SSE2 instruction serves both channels. Every
// operation is the lane-wise IEEE operation, so a pair gives bit for bit what the two
// channels give one after the other.
using StereoPair = double __attribute__((vector_size(16)));
// Lane-wise comparison results: all ones where true.
using StereoMask = long long __attribute__((vector_size(16)));
// Two pairs, of two samples in a row, for the per-block preparation loops. Where the
// processor has no 32-byte vectors the compiler splits every operation into two pair
// operations, which give the same bits.
using StereoQuad = double __attribute__((vector_size(32)));
using StereoQuadMask = long long __attribute__((vector_size(32)));

[[gnu::always_inline]] inline StereoQuad Join(StereoPair first, StereoPair second) {
  return StereoQuad{first[0], first[1], second[0], second[1]};
}
[[gnu::always_inline]] inline StereoPair FirstPair(StereoQuad q) { return StereoPair{q[0], q[1]}; }
[[gnu::always_inline]] inline StereoPair SecondPair(StereoQuad q) { return StereoPair{q[2], q[3]}; }

inline StereoPair Pack(double left, double right) { return StereoPair{left, right}; }
inline StereoPair Splat(double x) { return StereoPair{x, x}; }

// The scalar type's own value of a constant, so templates serve double and StereoPair alike.
template <class T>
T Constant(double x);
template <>
inline double Constant<double>(double x) {
  return x;
}
template <>
inline StereoPair Constant<StereoPair>(double x) {
  return Splat(x);
}

// condition ? a : b, lane by lane for pairs.
inline double Choose(bool condition, double a, double b) { return condition ? a : b; }
inline StereoPair Choose(StereoMask condition, StereoPair a, StereoPair b) {
  return condition ? a : b;
}

// Lane-wise IEEE square root.
inline StereoPair Sqrt(StereoPair x) { return _mm_sqrt_pd(x); }

// x, or the replacement where x is exactly zero.
template <class T>
T ReplaceZero(T x, double replacement) {
  return Choose(x == 0.0, Constant<T>(replacement), x);
}

}  // namespace quorvel
