#include "graphics/platform/WindowAreas.h"

#include <algorithm>
#include <cmath>

namespace plugkit::gfx {

RectList WindowAreas(const RectList& dirty, double scale, int surfaceWidth, int surfaceHeight) {
  RectList areas;
  if (!(scale > 0.0)) return areas;
  const double w = surfaceWidth;
  const double h = surfaceHeight;
  for (const Rect& r : dirty.Rects()) {
    const double l = std::clamp(std::floor(r.L * scale), 0.0, w);
    const double t = std::clamp(std::floor(r.T * scale), 0.0, h);
    const double rr = std::clamp(std::ceil(r.R * scale), 0.0, w);
    const double b = std::clamp(std::ceil(r.B * scale), 0.0, h);
    if (rr <= l || b <= t) continue;
    areas.Add(
        Rect(static_cast<float>(std::floor(l / scale)), static_cast<float>(std::floor(t / scale)),
             static_cast<float>(std::ceil(rr / scale)), static_cast<float>(std::ceil(b / scale))));
  }
  return areas;
}

}  // namespace plugkit::gfx
