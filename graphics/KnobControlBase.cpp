#include "graphics/KnobControlBase.h"

#include <algorithm>
#include <cmath>

#include "framework/Param.h"
#include "graphics/Graphics.h"

namespace plugkit::gfx {

namespace {

double Clip01(double v) { return std::isnan(v) ? 0.0 : std::clamp(v, 0.0, 1.0); }

const Param* SteppedParam(const Param* param) {
  return param && param->HasFlag(Param::Stepped) && param->Step() > 0.0 ? param : nullptr;
}

}  // namespace

KnobControlBase::KnobControlBase(const Rect& bounds, int paramIndex, Direction direction,
                                 double gearing)
    : Control(bounds, paramIndex), direction_(direction), gearing_(gearing) {}

void KnobControlBase::OnMouseDown(float x, float y, const MouseState& state) {
  mouseDown_ = true;
  dragValue_ = Value(0);
  if (hidePointerOnDrag_ && GetGraphics()) GetGraphics()->HidePointer(true, true);
  Control::OnMouseDown(x, y, state);
}

void KnobControlBase::OnMouseUp(float, float, const MouseState&) {
  if (hidePointerOnDrag_ && GetGraphics()) GetGraphics()->HidePointer(false, true);
  mouseDown_ = false;
  SetDirty(false);
}

void KnobControlBase::OnMouseDrag(float, float, float dX, float dY, const MouseState& state) {
  const double gearing = (state.C || state.S) ? gearing_ * kFineFactor : gearing_;
  const Rect area = DragArea();
  const double extent = direction_ == Direction::Vertical ? area.T - area.B : area.R - area.L;
  const double delta = direction_ == Direction::Vertical ? dY : dX;
  // A collapsed drag area or a zero gearing has no meaningful travel.
  const double step = delta / extent / gearing;
  if (!std::isfinite(step)) return;
  // The drag value is clipped, not accumulated past the ends, so reversing moves at once.
  dragValue_ = Clip01(dragValue_ + step);
  SetValue(SteppedValue(dragValue_), 0);
  SetDirty(true);
}

double KnobControlBase::SteppedValue(double dragValue) const {
  const Param* param = SteppedParam(GetParam(0));
  if (!param) return dragValue;
  return Clip01(param->Normalize(param->Clamp(param->Denormalize(dragValue))));
}

void KnobControlBase::OnMouseWheel(float, float, const MouseState& state, float delta) {
  const double step = (state.C || state.S) ? kFineWheelStep : kWheelStep;
  double value = Value(0);
  if (const Param* param = SteppedParam(GetParam(0))) {
    // One parameter step per event, whatever the size of delta.
    if (delta != 0.0f) {
      const double plain =
          param->Clamp(param->Denormalize(value)) + (delta > 0.0f ? param->Step() : -param->Step());
      value = Clip01(param->Normalize(plain));
    }
  } else {
    value += static_cast<double>(delta) * step;
  }
  SetValue(value, 0);
  SetDirty(true);
}

}  // namespace plugkit::gfx
