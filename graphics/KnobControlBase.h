#pragma once

#include "graphics/Control.h"

namespace plugkit::gfx {

// Drag-to-change: the full range takes `gearing` drag areas of pointer travel (ten times as
// many with Shift or Control held). Stepped parameters show and send only whole steps while
// the hidden drag value keeps its fine position.
class KnobControlBase : public Control {
 public:
  static constexpr double kDefaultGearing = 6.0;
  static constexpr double kFineFactor = 10.0;
  static constexpr double kWheelStep = 0.01;
  static constexpr double kFineWheelStep = 0.001;

  KnobControlBase(const Rect& bounds, int paramIndex = -1,
                  Direction direction = Direction::Vertical, double gearing = kDefaultGearing);

  void OnMouseDown(float x, float y, const MouseState& state) override;
  void OnMouseUp(float x, float y, const MouseState& state) override;
  void OnMouseDrag(float x, float y, float dX, float dY, const MouseState& state) override;
  void OnMouseWheel(float x, float y, const MouseState& state, float delta) override;

  // The area whose size sets the drag scale; the hit rectangle by default.
  virtual Rect DragArea() const { return HitRect(); }

  Direction GetDirection() const { return direction_; }
  double Gearing() const { return gearing_; }
  void SetGearing(double gearing) { gearing_ = gearing; }
  bool IsMouseDown() const { return mouseDown_; }
  bool HidesPointerOnDrag() const { return hidePointerOnDrag_; }
  void SetHidePointerOnDrag(bool hide) { hidePointerOnDrag_ = hide; }

 private:
  // The value shown for a drag position: snapped to the parameter's steps when stepped.
  double SteppedValue(double dragValue) const;

  bool hidePointerOnDrag_ = true;
  Direction direction_;
  double gearing_;
  bool mouseDown_ = false;
  double dragValue_ = 0.0;
};

}  // namespace plugkit::gfx
