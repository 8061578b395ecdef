#include "graphics/Control.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "framework/Param.h"
#include "graphics/Graphics.h"
#include "graphics/GraphicsEditorDelegate.h"
#include "graphics/PopupMenu.h"

namespace plugkit::gfx {

namespace {

// Normalized values live in 0..1; a NaN would reach frame selection as garbage, so it becomes 0.
double Clip01(double v) { return std::isnan(v) ? 0.0 : std::clamp(v, 0.0, 1.0); }

}  // namespace

Control::Control(const Rect& bounds, int paramIndex, ActionFunction action)
    : drawRect_(bounds), hitRect_(bounds), action_(std::move(action)), values_{{paramIndex, 0.0}} {}

Control::~Control() = default;

void Control::SetGraphics(Graphics* graphics, GraphicsEditorDelegate* delegate) {
  graphics_ = graphics;
  delegate_ = delegate;
}

// ---- Events -----------------------------------------------------------------------------

void Control::OnMouseDown(float x, float y, const MouseState& state) {
  if (state.R) PromptForValue(x, y);
}

void Control::OnMouseUp(float, float, const MouseState&) {}

void Control::OnMouseDrag(float, float, float, float, const MouseState&) {}

void Control::OnMouseDblClick(float x, float y, const MouseState&) {
  ResetToDefault(ValueIndexAt(x, y));
}

void Control::OnMouseWheel(float, float, const MouseState&, float) {}

bool Control::OnKeyDown(float, float, const KeyEvent&) { return false; }

bool Control::OnKeyUp(float, float, const KeyEvent&) { return false; }

void Control::OnMouseOver(float, float, const MouseState&) {
  if (mouseIsOver_) return;
  mouseIsOver_ = true;
  SetDirty(false);
}

void Control::OnMouseOut() {
  if (!mouseIsOver_) return;
  mouseIsOver_ = false;
  SetDirty(false);
}

void Control::OnTouchCancelled(float, float, const MouseState&) {}

void Control::OnDrop(const char*) {}

void Control::OnDropMultiple(const std::vector<std::string>& paths) {
  if (!paths.empty()) OnDrop(paths.front().c_str());
}

void Control::OnMessage(int, int, const void*) {}

void Control::OnMidiMessage(const MidiMessage&) {}

bool Control::OnGesture(const GestureInfo& info) {
  const auto it = gestureHandlers_.find(info.type);
  if (it == gestureHandlers_.end()) return false;
  it->second(*this, info);
  lastGesture_ = info.type;
  return true;
}

void Control::AttachGestureHandler(GestureType type, GestureFunction function) {
  gestureHandlers_[type] = std::move(function);
  if (graphics_) graphics_->RegisterGesture(type);
}

void Control::FillContextMenu(PopupMenu&) {}

void Control::OnMenuChoice(PopupMenu* menu, int valueIndex) {
  if (!menu || valueIndex < 0 || promptDisabled_) return;
  if (const Param* param = GetParam(valueIndex)) {
    SetValueFromUser(param->Normalize(static_cast<double>(menu->ChosenIndex())), valueIndex);
  }
}

void Control::OnTextEntered(const char*, int) {}

void Control::OnContextMenuChoice(int) {}

void Control::PromptForValue(float x, float y) {
  const int i = ValueIndexAt(x, y);
  if (i < 0 || promptDisabled_ || !graphics_) return;
  const Param* param = GetParam(i);
  if (!param) return;
  const Rect bounds = param->DisplayTextCount() > 0
                          ? drawRect_
                          : Rect{drawRect_.MW() - 20.0f, drawRect_.MH() - 8.0f,
                                 drawRect_.MW() + 20.0f, drawRect_.MH() + 8.0f};
  graphics_->ShowParamPrompt(this, bounds, i);
  SetDirty(false);
}

void Control::DrawAutomationHighlight(Graphics& g) {
  if (highlighted_) g.FillCircle(highlightColor_, hitRect_.R - 5.0f, hitRect_.T + 5.0f, 2.0f);
}

void Control::SetHighlighted(bool highlighted, const Color& color) {
  highlighted_ = highlighted;
  highlightColor_ = color;
  SetDirty(false);
}

// ---- Values -----------------------------------------------------------------------------

int Control::ParamIndex(int valueIndex) const {
  if (valueIndex < 0 || valueIndex >= ValueCount()) return -1;
  return values_[static_cast<std::size_t>(valueIndex)].paramIndex;
}

double Control::Value(int valueIndex) const {
  if (valueIndex < 0 || valueIndex >= ValueCount()) return 0.0;
  return values_[static_cast<std::size_t>(valueIndex)].value;
}

const Param* Control::GetParam(int valueIndex) const {
  const int p = ParamIndex(valueIndex);
  if (p < 0 || !delegate_) return nullptr;
  return delegate_->ParamAt(p);
}

void Control::AddValue(int paramIndex) { values_.push_back({paramIndex, 0.0}); }

void Control::BindParam(int paramIndex, int valueIndex) {
  if (valueIndex < 0 || valueIndex >= ValueCount())
    throw std::out_of_range("control value index out of range");
  values_[static_cast<std::size_t>(valueIndex)].paramIndex = paramIndex;
  SetDirty(false);
}

int Control::ValueIndexAt(float, float) const { return ValueCount() == 1 ? 0 : -1; }

void Control::ReceiveValue(double value, int valueIndex) {
  // The pointer wins over host automation while it holds the control.
  if (graphics_ && graphics_->IsCaptured(this)) return;
  if (valueIndex < 0 || valueIndex >= ValueCount()) return;
  const double current = Value(valueIndex);
  if (value != current || std::isnan(current)) {
    SetValue(value, valueIndex);
    SetDirty(false, -1);
  }
}

void Control::SetValueFromUser(double value, int valueIndex) {
  if (valueIndex < 0 || valueIndex >= ValueCount()) return;
  const double current = Value(valueIndex);
  if (value != current || std::isnan(current)) {
    SetValue(value, valueIndex);
    SetDirty(true, valueIndex);
  }
}

void Control::ResetToDefault(int valueIndex) {
  if (ValueCount() == 1) valueIndex = 0;
  const auto reset = [this](int i) {
    if (const Param* param = GetParam(i)) SetValue(param->Normalize(param->DefaultValue()), i);
  };
  if (valueIndex >= 0) {
    reset(valueIndex);
  } else {
    for (int i = 0; i < ValueCount(); ++i) reset(i);
  }
  SetDirty(true, valueIndex);
}

void Control::SetValue(double value, int valueIndex) {
  if (valueIndex < 0 || valueIndex >= ValueCount()) return;
  values_[static_cast<std::size_t>(valueIndex)].value = value;
}

// ---- Geometry and state -------------------------------------------------------------------

void Control::MoveTo(float x, float y) {
  x = std::max(x, 0.0f);
  y = std::max(y, 0.0f);
  const float hitOffsetX = hitRect_.L - drawRect_.L;
  const float hitOffsetY = hitRect_.T - drawRect_.T;
  const float hitW = hitRect_.W();
  const float hitH = hitRect_.H();
  drawRect_ = Rect{x, y, x + drawRect_.W(), y + drawRect_.H()};
  mouseIsOver_ = false;
  OnResize();
  hitRect_ = Rect{x + hitOffsetX, y + hitOffsetY, x + hitOffsetX + hitW, y + hitOffsetY + hitH};
  mouseIsOver_ = false;
}

void Control::SetSize(float width, float height) {
  width = std::max(width, 0.0f);
  height = std::max(height, 0.0f);
  drawRect_ = Rect{drawRect_.L, drawRect_.T, drawRect_.L + width, drawRect_.T + height};
  hitRect_ = drawRect_;
  mouseIsOver_ = false;
  OnResize();
}

void Control::Hide(bool hide) {
  hidden_ = hide;
  SetDirty(false);
}

void Control::SetDisabled(bool disable) {
  disabled_ = disable;
  blend_.weight = disable ? 0.25f : 1.0f;
  SetDirty(false);
}

bool Control::HitTest(float x, float y) const {
  return !hitRect_.Empty() && hitRect_.ContainsPoint(x, y);
}

void Control::SetDirty(bool triggerAction, int valueIndex) {
  if (ValueCount() == 1) valueIndex = 0;
  const auto clip = [this](int i) { SetValue(Clip01(Value(i)), i); };
  if (valueIndex >= 0) {
    clip(valueIndex);
  } else {
    for (int i = 0; i < ValueCount(); ++i) clip(i);
  }
  dirty_ = true;
  if (!triggerAction) return;
  const auto send = [this](int i) {
    if (!GetParam(i)) return;
    delegate_->SendParamValueFromUI(ParamIndex(i), Value(i));
    if (graphics_) graphics_->UpdatePeers(this, i);
  };
  if (valueIndex >= 0) {
    send(valueIndex);
  } else {
    for (int i = 0; i < ValueCount(); ++i) send(i);
  }
  if (action_) action_(*this);
}

bool Control::IsDirty() const { return animation_ ? true : dirty_; }

bool Control::WantsGestures() const { return !gestureHandlers_.empty() && !animation_; }

void Control::SetValueFromPointer(float x, float y, Direction direction, const Rect& bounds,
                                  int valueIndex, double, double lowerClip, double upperClip) {
  x = std::min(std::max(x, bounds.L), bounds.R);
  y = std::min(std::max(y, bounds.T), bounds.B);
  const double raw = direction == Direction::Horizontal ? (x - bounds.L) / bounds.W()
                                                        : 1.0 - (y - bounds.T) / bounds.H();
  const double value = std::min(upperClip, std::max(lowerClip, std::round(raw * 1000.0) / 1000.0));
  if (valueIndex >= 0) {
    SetValue(value, valueIndex);
  } else {
    for (int i = 0; i < ValueCount(); ++i) SetValue(value, i);
  }
  SetDirty(true, valueIndex);
}

void Control::OnAnimationEnd() {
  animation_ = nullptr;
  SetDirty(false);
  if (animationEnd_) {
    const ActionFunction function = animationEnd_;
    function(*this);
  }
}

}  // namespace plugkit::gfx
