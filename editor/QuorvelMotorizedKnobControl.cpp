#include "editor/QuorvelMotorizedKnobControl.h"

#include <algorithm>

#include "editor/QuorvelLEDControl.h"
#include "graphics/Graphics.h"

namespace quorvel {

QuorvelMotorizedKnobControl::QuorvelMotorizedKnobControl(float x, float y,
                                                         const plugkit::gfx::Bitmap& bitmap,
                                                         int paramIndex,
                                                         plugkit::gfx::Direction direction,
                                                         double gearing)
    : BrackmoorKnobControl(x, y, bitmap, paramIndex, direction, gearing) {}

QuorvelMotorizedKnobControl::~QuorvelMotorizedKnobControl() = default;

void QuorvelMotorizedKnobControl::SetMotorState(bool motorized) {
  // Called on every idle update, just before SetMotorValue: only a change of state restarts
  // the motor from the knob's own value.
  if (motorized == motorized_) return;
  motorized_ = motorized;
  motorValue_ = Value(0);
  SetDirty(false);
}

void QuorvelMotorizedKnobControl::SetMotorValue(double value) {
  if (value == motorValue_) return;  // an unchanged motor costs no redraw
  motorValue_ = value;
  SetDirty(false);
}

int QuorvelMotorizedKnobControl::MotorFrame() const {
  const int n = GetBitmap().FrameCount();
  if (n < 2) return 1;
  const int frame = 1 + static_cast<int>(0.5 + static_cast<double>(n - 1) * UnitLevel(motorValue_));
  return std::clamp(frame, 1, n);
}

void QuorvelMotorizedKnobControl::Draw(plugkit::gfx::Graphics& g) {
  if (!motorized_) {
    BrackmoorKnobControl::Draw(g);
    return;
  }
  // Same place as the unmotorized frame, also while a drag has widened the draw rectangle.
  g.DrawBitmap(GetBitmap(), KnobRect(), MotorFrame(), &GetBlend());
}

}  // namespace quorvel
