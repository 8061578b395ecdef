#pragma once

#include <vector>

#include "graphics/Control.h"

namespace plugkit::gfx {

// Click-to-cycle through a number of states; a double click counts as another click.
class SwitchControlBase : public Control {
 public:
  SwitchControlBase(const Rect& bounds, int paramIndex = -1, ActionFunction action = nullptr,
                    int stateCount = 2);

  void OnMouseDown(float x, float y, const MouseState& state) override;
  void OnMouseUp(float x, float y, const MouseState& state) override;
  // Takes the state count from the bound parameter's range.
  void OnInit() override;

  int StateCount() const { return stateCount_; }
  bool IsMouseDown() const { return mouseDown_; }
  bool IsStateDisabled(int state) const;

 private:
  int stateCount_;
  std::vector<bool> stateDisabled_;
  bool mouseDown_ = false;
};

}  // namespace plugkit::gfx
