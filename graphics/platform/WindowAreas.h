#pragma once

#include "graphics/Rect.h"

namespace plugkit::gfx {

// The areas a window system repaints for a frame's dirty rectangles: each rectangle is
// widened to whole device pixels inside the surface (w × h pixels at `scale` pixels per
// unit), then back to whole units. Empty areas are left out.
RectList WindowAreas(const RectList& dirty, double scale, int surfaceWidth, int surfaceHeight);

}  // namespace plugkit::gfx
