#pragma once

#include <array>

namespace quorvel {

inline constexpr int kWaveTableSize = 8192;

// One LFO cycle; entry i belongs to the phase i / 8192. Single precision keeps the five shared
// tables small.
using WaveTable = std::array<float, kWaveTableSize>;

// The values of "LFO 1 shape" and "LFO 2 shape".
enum class WaveShape : int { Sine = 0, Triangle = 1, Nonlinear = 2, Saw = 3, Square = 4 };

inline constexpr int kWaveShapeCount = 5;

// The shared table of a shape; any value outside 0 … 4 gives the triangle. Built once per
// process on first use. [thread-safe]
const WaveTable& GetWaveTable(int shape);
const WaveTable& GetWaveTable(WaveShape shape);

}  // namespace quorvel
