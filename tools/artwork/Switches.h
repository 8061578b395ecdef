#pragma once

#include "tools/artwork/Drawing.h"
#include "tools/artwork/Strips.h"

// Levers, slide switches and toggles.
namespace artwork {

// The modulation-source lever hangs from a pivot near the top of its frame and swings
// through five positions, frame 1 pointing down and to the left.
inline constexpr int kLeverPositions = 5;
inline constexpr double kLeverLength = 14.5;
Point LeverPivot(double frameWidth);
double LeverAngle(int position);  // degrees from straight down, clockwise seen on screen

// Centre of a slide switch's thumb at each stop.
double SlideStop(double frameWidth, int stops, int stop);

void PaintSourceLever(const Frame& f);
void PaintSlideSwitch(const Frame& f);
void PaintToggle(const Frame& f);

}  // namespace artwork
