#include "editor/QuorvelRadialNeedleControl.h"

#include <algorithm>
#include <cmath>

#include "editor/QuorvelLEDControl.h"
#include "graphics/Graphics.h"

namespace quorvel {

namespace {

// A square about the pivot with room for the line's anti-aliased ends.
plugkit::gfx::Rect MarkerRect(float cx, float cy, double outerRadius) {
  const float r = static_cast<float>(outerRadius) + 8.0f;
  return plugkit::gfx::Rect{cx - r, cy - r, cx + r, cy + r};
}

}  // namespace

QuorvelRadialNeedleControl::QuorvelRadialNeedleControl(float cx, float cy, double startAngle,
                                                       double endAngle, double innerRadius,
                                                       double outerRadius,
                                                       const plugkit::gfx::Color& color,
                                                       float opacity)
    : Control(MarkerRect(cx, cy, outerRadius)),
      color_(color),
      startAngle_(startAngle),
      endAngle_(endAngle),
      innerRadius_(innerRadius),
      outerRadius_(outerRadius),
      opacity_(opacity) {
  SetMouseTransparent(true);
}

QuorvelRadialNeedleControl::~QuorvelRadialNeedleControl() = default;

void QuorvelRadialNeedleControl::SetLevel(double level) {
  // Called on every idle update: an unchanged level costs no redraw.
  const double unit = UnitLevel(level);
  if (unit == level_) return;
  level_ = unit;
  SetDirty(false);
}

float QuorvelRadialNeedleControl::Angle() const {
  return static_cast<float>(startAngle_ + (endAngle_ - startAngle_) * UnitLevel(level_));
}

void QuorvelRadialNeedleControl::LineEnds(float& x1, float& y1, float& x2, float& y2) const {
  const float cx = DrawRect().MW();
  const float cy = DrawRect().MH();
  const float theta = (Angle() - 90.0f) * 3.1415927f / 180.0f;
  const float c = std::cos(theta);
  const float s = std::sin(theta);
  const float inner = static_cast<float>(innerRadius_);
  const float outer = static_cast<float>(outerRadius_);
  x1 = cx + inner * c;
  y1 = cy + inner * s;
  x2 = cx + outer * c;
  y2 = cy + outer * s;
}

void QuorvelRadialNeedleControl::Draw(plugkit::gfx::Graphics& g) {
  float x1, y1, x2, y2;
  LineEnds(x1, y1, x2, y2);
  const float weight = std::isnan(opacity_) ? 0.0f : std::clamp(opacity_, 0.0f, 1.0f);
  const plugkit::gfx::Blend blend{plugkit::gfx::BlendMethod::Add, weight};
  g.DrawLine(color_, x1, y1, x2, y2, &blend, 1.0f);
}

}  // namespace quorvel
