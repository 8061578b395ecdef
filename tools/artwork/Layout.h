#pragma once

#include <span>

#include "tools/artwork/Drawing.h"

// Where the editor places every picture, and what the panel prints around it.
namespace artwork {

enum class Mark {
  None,         // the picture brings its own frame
  Dial,         // well, tick scale, end values
  BipolarDial,  // well, tick scale with a centre mark, − and +
  Lever,        // fan of the five modulation sources
  Slide,        // slot with a legend under each position
  Toggle,       // recessed plate
  Fader,        // slot with a scale
  Lamp,         // lens the glow shines through
  Window,       // bezel around a display
};

struct Placement {
  const char* image;
  int x, y;  // top left corner, units
  Mark mark;
  const char* name = "";  // printed legend, centred on (nameX, nameY)
  double nameX = 0, nameY = 0;
  // Dials: the values at the ends and the top. Slides: the legend of each position.
  const char* low = nullptr;
  const char* mid = nullptr;
  const char* high = nullptr;
};

std::span<const Placement> Placements();

struct Section {
  const char* title;
  bool inset;             // the darker plate of the modulation sources
  double titleX, titleY;  // left end of the title's baseline
  std::span<const Point> outline;
};

std::span<const Section> Sections();

// The shared pivot of both meter needles and the marker lines.
inline constexpr double kPivotX = 397;
inline constexpr double kPivotY = 106;
inline constexpr double kNeedleStart = -108;  // degrees from 12 o'clock at level 0
inline constexpr double kNeedleEnd = 99;
inline constexpr int kOuterMeterX = 317, kOuterMeterY = 25;
inline constexpr int kInnerMeterX = 344, kInnerMeterY = 52;

}  // namespace artwork
