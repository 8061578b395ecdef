#include "editor/BrackmoorSwitchControl.h"

#include "editor/BrackmoorKnobControl.h"

namespace quorvel {

BrackmoorSwitchControl::BrackmoorSwitchControl(float x, float y, const plugkit::gfx::Bitmap& bitmap,
                                               int paramIndex)
    : BitmapSwitchControl(x, y, bitmap, paramIndex),
      promptX_(x + static_cast<float>(bitmap.FrameWidth()) * 0.5f - 20.0f),
      promptY_(y + static_cast<float>(bitmap.FrameHeight()) * 0.5f - 8.0f) {}

BrackmoorSwitchControl::~BrackmoorSwitchControl() = default;

void BrackmoorSwitchControl::OnMouseDown(float x, float y, const plugkit::gfx::MouseState& state) {
  if (state.S) {
    RequestPrompt(*this, promptX_, promptY_, x, y);
    return;
  }
  BitmapSwitchControl::OnMouseDown(x, y, state);
}

void BrackmoorSwitchControl::OnMouseDblClick(float x, float y,
                                             const plugkit::gfx::MouseState& state) {
  Control::OnMouseDblClick(x, y, state);
}

}  // namespace quorvel
