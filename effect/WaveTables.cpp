#include "effect/WaveTables.h"

#include <cmath>

namespace quorvel {
namespace {

double TriangleAt(double x) {
  if (x < 0.25) return 4.0 * x;
  if (x < 0.75) return 4.0 * (0.5 - x);
  return 4.0 * (x - 1.0);
}

// The triangle bent through the quadratic Bézier (-1, -1), (0.25, -0.25), (1, 1): solve the
// curve's x for v, then take its y.
double NonlinearFromTriangle(double v) {
  const double u = 2.5 - std::sqrt(4.25 - 2.0 * v);
  return -(1.0 - u) * (1.0 - u) - 0.5 * u * (1.0 - u) + u * u;
}

// Saw and square fade in and out over the first and last 1/128 of the cycle so a restart
// never clicks.
double SawAt(double x) {
  if (x < 0.0078125) return 128.0 * x;
  if (x < 0.9921875) return 1.0 - (2.0 * x - 0.015625) / 0.984375;
  return 128.0 * (x - 1.0);
}

double SquareAt(double x) {
  if (x < 0.0078125) return 128.0 * x;
  if (x < 0.4921875) return 1.0;
  if (x < 0.5078125) return 1.0 - 64.0 * (2.0 * x - 1.0 + 0.015625);
  if (x < 0.9921875) return -1.0;
  return 128.0 * (x - 1.0);
}

struct AllTables {
  std::array<WaveTable, kWaveShapeCount> tables{};

  AllTables() {
    WaveTable& sine = tables[static_cast<int>(WaveShape::Sine)];
    WaveTable& triangle = tables[static_cast<int>(WaveShape::Triangle)];
    WaveTable& nonlinear = tables[static_cast<int>(WaveShape::Nonlinear)];
    WaveTable& saw = tables[static_cast<int>(WaveShape::Saw)];
    WaveTable& square = tables[static_cast<int>(WaveShape::Square)];
    for (int i = 0; i < kWaveTableSize; ++i) {
      const double x = i / static_cast<double>(kWaveTableSize);
      sine[i] = static_cast<float>(std::sin(i * 0x1p-13 * 2.0 * 3.141592653589793));
      triangle[i] = static_cast<float>(TriangleAt(x));
      nonlinear[i] = static_cast<float>(NonlinearFromTriangle(triangle[i]));
      saw[i] = static_cast<float>(SawAt(x));
      square[i] = static_cast<float>(SquareAt(x));
    }
  }
};

const AllTables& Tables() {
  static const AllTables tables;
  return tables;
}

}  // namespace

const WaveTable& GetWaveTable(int shape) {
  if (shape < 0 || shape >= kWaveShapeCount) shape = static_cast<int>(WaveShape::Triangle);
  return Tables().tables[shape];
}

const WaveTable& GetWaveTable(WaveShape shape) { return GetWaveTable(static_cast<int>(shape)); }

}  // namespace quorvel
