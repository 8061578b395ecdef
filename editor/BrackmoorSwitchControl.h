#pragma once

#include "graphics/BitmapControls.h"

namespace quorvel {

// The film-strip switch of the editor (toggles, slide switches and the mod-source levers).
class BrackmoorSwitchControl : public plugkit::gfx::BitmapSwitchControl {
 public:
  // [main-thread]
  BrackmoorSwitchControl(float x, float y, const plugkit::gfx::Bitmap& bitmap, int paramIndex);
  ~BrackmoorSwitchControl() override;

  // A Shift press leaves the switch where it is.
  void OnMouseDown(float x, float y, const plugkit::gfx::MouseState& state) override;
  void OnMouseDblClick(float x, float y, const plugkit::gfx::MouseState& state) override;

 private:
  float promptX_;
  float promptY_;
};

}  // namespace quorvel
