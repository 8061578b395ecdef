#pragma once

namespace quorvel {

// Rational approximation of tanh(v / 2) shared by the ladder and the all-pass stages. T is
// double or StereoPair.
template <class T>
inline T Saturate(T v) {
  const T p = ((v + 3.0) * v + 6.0) * v;
  return p / (p + 12.0);
}

}  // namespace quorvel
