#include "editor/QuorvelManualHotspotControl.h"

namespace quorvel {

QuorvelManualHotspotControl::QuorvelManualHotspotControl(const plugkit::gfx::Rect& bounds,
                                                         std::function<void()> action)
    : Control(bounds), action_(std::move(action)) {}

QuorvelManualHotspotControl::~QuorvelManualHotspotControl() = default;

void QuorvelManualHotspotControl::OnMouseDown(float, float, const plugkit::gfx::MouseState&) {
  if (action_) action_();
}

}  // namespace quorvel
