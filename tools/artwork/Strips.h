#pragma once

#include <cairo.h>

#include <span>
#include <string>

#include "tools/artwork/Drawing.h"

namespace artwork {

// One frame of a film strip being painted. The context is translated to the frame's top
// left corner and clipped to it; units are editor units at every output scale.
struct Frame {
  cairo_t* cr;
  const Typeface& type;
  int index;  // 0 for frame 1
  int count;
  double width;
  double height;

  // 0 at frame 1, 1 at the last frame.
  double Position() const { return count > 1 ? static_cast<double>(index) / (count - 1) : 0; }
};

using Painter = void (*)(const Frame&);

struct StripSpec {
  const char* name;
  int frameWidth;  // units
  int frameHeight;
  int frames;
  bool opaque;  // RGB without alpha, for pictures drawn additively or fully covered
  Painter paint;
};

// Every image the editor loads, in its loading order.
std::span<const StripSpec> Strips();
const StripSpec* FindStrip(const std::string& name);

// "bg.png" at scale 2 is "bg@2x.png"; scale 1 keeps the name.
std::string ScaledName(const std::string& name, int scale);

// Paints every frame at the given pixels per unit. The caller owns the surface.
cairo_surface_t* RenderStrip(const StripSpec& spec, const Typeface& type, int scale);

}  // namespace artwork
