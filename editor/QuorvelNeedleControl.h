#pragma once

#include "graphics/Bitmap.h"
#include "graphics/Control.h"

namespace quorvel {

// A meter: the film-strip frame that matches the level, truncated so that only a full level
// shows the last frame.
class QuorvelNeedleControl : public plugkit::gfx::Control {
 public:
  // [main-thread]
  QuorvelNeedleControl(float x, float y, const plugkit::gfx::Bitmap& bitmap);
  ~QuorvelNeedleControl() override;

  void Draw(plugkit::gfx::Graphics& g) override;

  // [main-thread] Limited to 0 … 1; a NaN counts as 0. Redrawn only when what it shows
  // changes.
  void SetLevel(double level);
  double Level() const { return level_; }
  // The 1-based frame shown for the current level.
  int Frame() const;

 private:
  plugkit::gfx::Bitmap bitmap_;
  double level_ = 0.0;
};

}  // namespace quorvel
