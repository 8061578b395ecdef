#pragma once

#include <functional>

#include "graphics/Control.h"

namespace quorvel {

// An invisible area that runs its action on any press (the logo opens the manual).
class QuorvelManualHotspotControl : public plugkit::gfx::Control {
 public:
  // [main-thread]
  QuorvelManualHotspotControl(const plugkit::gfx::Rect& bounds, std::function<void()> action);
  ~QuorvelManualHotspotControl() override;

  void OnMouseDown(float x, float y, const plugkit::gfx::MouseState& state) override;
  void Draw(plugkit::gfx::Graphics&) override {}

 private:
  std::function<void()> action_;
};

}  // namespace quorvel
