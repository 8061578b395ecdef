#pragma once

#include <cstdint>

#include "graphics/Rect.h"

struct HWND__;

namespace plugkit::gfx {

// [main-thread] The window's update region as areas in units at `scale` pixels per unit,
// widened to whole units; its bounding box when it has too many rectangles to read at once.
// Empty when nothing needs painting.
RectList UpdateAreas(HWND__* window, float scale);

// [main-thread] Copies the whole frame (BGRA, top-down rows of width × 4 bytes) one to one to
// the window's origin, clipped by the window system to the area being painted.
void PresentFrame(HWND__* window, const std::uint8_t* pixels, int width, int height);

}  // namespace plugkit::gfx
