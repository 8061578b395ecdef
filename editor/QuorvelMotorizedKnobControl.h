#pragma once

#include "editor/BrackmoorKnobControl.h"

namespace quorvel {

// A knob that, while motorized, shows the modulated value the engine reports instead of its
// parameter's value. It still drags like any knob of the editor.
class QuorvelMotorizedKnobControl : public BrackmoorKnobControl {
 public:
  // [main-thread]
  QuorvelMotorizedKnobControl(float x, float y, const plugkit::gfx::Bitmap& bitmap, int paramIndex,
                              plugkit::gfx::Direction direction = plugkit::gfx::Direction::Vertical,
                              double gearing = kDefaultGearing);
  ~QuorvelMotorizedKnobControl() override;

  void Draw(plugkit::gfx::Graphics& g) override;

  // [main-thread] Entering or leaving motor mode starts from the knob's own value; the same
  // state again changes nothing.
  void SetMotorState(bool motorized);
  // [main-thread] Kept as given; limited to 0 … 1 when drawn. Redrawn only when the frame
  // shown changes.
  void SetMotorValue(double value);
  bool IsMotorized() const { return motorized_; }
  double MotorValue() const { return motorValue_; }
  // The 1-based frame shown while motorized.
  int MotorFrame() const;

 private:
  bool motorized_ = false;
  double motorValue_ = 0.0;
};

}  // namespace quorvel
