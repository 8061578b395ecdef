#pragma once

#include <array>

namespace quorvel {

inline constexpr int kCurveTableSize = 8192;

using CurveTable = std::array<float, kCurveTableSize>;

// The envelope shape C on 0 … 1: two quadratic Bézier segments, slow start, slope 4 at
// (0.875, 0.75), flat arrival at (1, 1).
double EnvelopeCurve(double t);

// Shared tables of the ADSR, built once per process on first use. [thread-safe]
struct EnvelopeCurves {
  CurveTable down;     // C(i / 8192)
  CurveTable up;       // C(1 - i / 8192)
  CurveTable inverse;  // level · 8191 -> attack position that reaches that level

  static const EnvelopeCurves& Get();

 private:
  EnvelopeCurves();
};

}  // namespace quorvel
