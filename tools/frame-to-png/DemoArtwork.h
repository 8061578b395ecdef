#pragma once

#include <cstdint>
#include <vector>

// PNG film strips drawn with Cairo for the demo scene, at scale 1.
namespace framepng {

// A round knob: `frames` frames of size × size pixels stacked vertically, the pointer sweeping
// from 7 to 5 o'clock.
std::vector<std::uint8_t> KnobStripPng(int size, int frames);
// A lamp: frame 1 dark, frame 2 a soft glow.
std::vector<std::uint8_t> LampStripPng(int size);
// The panel background.
std::vector<std::uint8_t> BackgroundPng(int width, int height);

}  // namespace framepng
