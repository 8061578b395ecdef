#include "graphics/SwitchControlBase.h"

#include <algorithm>

#include "framework/Param.h"
#include "framework/SaturatingCast.h"

namespace plugkit::gfx {

namespace {

// The next double above 1: a sum of steps that lands a rounding error past 1 still counts as 1.
constexpr double kWrapThreshold = 1.0000000000000002;

}  // namespace

SwitchControlBase::SwitchControlBase(const Rect& bounds, int paramIndex, ActionFunction action,
                                     int stateCount)
    : Control(bounds, paramIndex, std::move(action)),
      stateCount_(stateCount),
      stateDisabled_(static_cast<std::size_t>(std::max(stateCount, 0)), false) {
  SetDirty(false);
  SetDoubleClickAsSingle(true);
}

void SwitchControlBase::OnInit() {
  if (const Param* param = GetParam(0)) {
    stateCount_ = SaturateTruncate<int>(param->Max() - param->Min()) + 1;
    stateDisabled_.assign(static_cast<std::size_t>(std::max(stateCount_, 0)), false);
  }
}

void SwitchControlBase::OnMouseDown(float, float, const MouseState&) {
  double value = Value(0);
  if (stateCount_ == 2) {
    value = value == 0.0 ? 1.0 : 0.0;
  } else {
    value += 1.0 / static_cast<double>(stateCount_ - 1);
    if (value > kWrapThreshold) value = 0.0;
  }
  SetValue(value, 0);
  mouseDown_ = true;
  SetDirty(true);
}

void SwitchControlBase::OnMouseUp(float, float, const MouseState&) {
  mouseDown_ = false;
  SetDirty(false);
}

bool SwitchControlBase::IsStateDisabled(int state) const {
  if (state < 0 || state >= static_cast<int>(stateDisabled_.size())) return false;
  return stateDisabled_[static_cast<std::size_t>(state)];
}

}  // namespace plugkit::gfx
