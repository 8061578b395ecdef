#include "editor/QuorvelLEDControl.h"

#include "graphics/Graphics.h"

namespace quorvel {

double UnitLevel(double value) { return value > 0.0 ? (value < 1.0 ? value : 1.0) : 0.0; }

QuorvelLEDControl::QuorvelLEDControl(float x, float y, const plugkit::gfx::Bitmap& bitmap)
    : Control(plugkit::gfx::Rect{x, y, x + static_cast<float>(bitmap.FrameWidth()),
                                 y + static_cast<float>(bitmap.FrameHeight())}),
      bitmap_(bitmap) {
  SetMouseTransparent(true);
}

QuorvelLEDControl::~QuorvelLEDControl() = default;

void QuorvelLEDControl::SetLevel(double level) {
  // Called on every idle update: an unchanged level costs no redraw.
  const double unit = UnitLevel(level);
  if (unit == level_) return;
  level_ = unit;
  SetDirty(false);
}

void QuorvelLEDControl::Draw(plugkit::gfx::Graphics& g) {
  const plugkit::gfx::Blend blend{plugkit::gfx::BlendMethod::Add,
                                  static_cast<float>(UnitLevel(level_))};
  g.DrawBitmap(bitmap_, DrawRect(), 1, &blend);
}

}  // namespace quorvel
