#pragma once

#include "graphics/Bitmap.h"
#include "graphics/Control.h"

namespace quorvel {

// A lamp: its glow image added to what lies below at the strength of the level.
class QuorvelLEDControl : public plugkit::gfx::Control {
 public:
  // [main-thread]
  QuorvelLEDControl(float x, float y, const plugkit::gfx::Bitmap& bitmap);
  ~QuorvelLEDControl() override;

  void Draw(plugkit::gfx::Graphics& g) override;

  // [main-thread] Limited to 0 … 1; a NaN counts as 0. Redrawn only when what it shows
  // changes.
  void SetLevel(double level);
  double Level() const { return level_; }

 private:
  plugkit::gfx::Bitmap bitmap_;
  double level_ = 0.0;
};

// Limits to 0 … 1; NaN gives 0.
double UnitLevel(double value);

}  // namespace quorvel
