#include "editor/QuorvelNeedleControl.h"

#include <algorithm>

#include "editor/QuorvelLEDControl.h"
#include "graphics/Graphics.h"

namespace quorvel {

QuorvelNeedleControl::QuorvelNeedleControl(float x, float y, const plugkit::gfx::Bitmap& bitmap)
    : Control(plugkit::gfx::Rect{x, y, x + static_cast<float>(bitmap.FrameWidth()),
                                 y + static_cast<float>(bitmap.FrameHeight())}),
      bitmap_(bitmap) {
  SetMouseTransparent(true);
}

QuorvelNeedleControl::~QuorvelNeedleControl() = default;

void QuorvelNeedleControl::SetLevel(double level) {
  // Called on every idle update: an unchanged level costs no redraw.
  const double unit = UnitLevel(level);
  if (unit == level_) return;
  level_ = unit;
  SetDirty(false);
}

int QuorvelNeedleControl::Frame() const {
  const int n = bitmap_.FrameCount();
  if (n < 2) return 1;
  const int frame = 1 + static_cast<int>(static_cast<double>(n - 1) * UnitLevel(level_));
  return std::clamp(frame, 1, n);
}

void QuorvelNeedleControl::Draw(plugkit::gfx::Graphics& g) {
  g.DrawBitmap(bitmap_, DrawRect(), Frame());
}

}  // namespace quorvel
