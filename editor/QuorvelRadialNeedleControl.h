#pragma once

#include "graphics/Control.h"

namespace quorvel {

// A marker: a coloured line between two radii about a pivot, turned by the level from the
// start angle to the end angle (degrees clockwise from 12 o'clock).
class QuorvelRadialNeedleControl : public plugkit::gfx::Control {
 public:
  // [main-thread]
  QuorvelRadialNeedleControl(float cx, float cy, double startAngle, double endAngle,
                             double innerRadius, double outerRadius,
                             const plugkit::gfx::Color& color, float opacity);
  ~QuorvelRadialNeedleControl() override;

  void Draw(plugkit::gfx::Graphics& g) override;

  // [main-thread] Limited to 0 … 1; a NaN counts as 0. Redrawn only when what it shows
  // changes.
  void SetLevel(double level);
  double Level() const { return level_; }
  // The line's angle for the current level.
  float Angle() const;
  // The line's end points for the current level.
  void LineEnds(float& x1, float& y1, float& x2, float& y2) const;

 private:
  plugkit::gfx::Color color_;
  double startAngle_;
  double endAngle_;
  double innerRadius_;
  double outerRadius_;
  double level_ = 0.0;
  float opacity_;
};

}  // namespace quorvel
