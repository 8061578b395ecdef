#pragma once

#include "tools/artwork/Strips.h"

// Rotary knobs, the faders and the LFO wave windows.
namespace artwork {

// Pointer angle of a rotary knob's frame: lower left at frame 1, up in the middle, lower
// right at the last frame.
double KnobAngle(double position);
inline constexpr double kKnobSweep = 135;

void PaintCapKnob(const Frame& f);
void PaintTinyKnob(const Frame& f);
void PaintBigKnob(const Frame& f);
void PaintTrimKnob(const Frame& f);
void PaintSlider(const Frame& f);
void PaintLfoWindow(const Frame& f);

// The fader handle's centre in its frame, from the bottom at position 0 to the top at 1.
double SliderHandleY(double frameHeight, double position);

}  // namespace artwork
