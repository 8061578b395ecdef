#include "editor/BrackmoorKnobControl.h"

#include <string>

#include "framework/Param.h"
#include "graphics/Graphics.h"

namespace quorvel {

using plugkit::gfx::Color;
using plugkit::gfx::MouseState;
using plugkit::gfx::Rect;

namespace {

constexpr Color kReadoutFill{180, 0, 0, 0};
constexpr float kReadoutRadius = 5.0f;
constexpr float kPromptWidth = 40.0f;
constexpr float kPromptHeight = 16.0f;

plugkit::gfx::TextStyle ReadoutStyle() {
  plugkit::gfx::TextStyle style;
  style.SetFontId("Roboto-Regular");
  style.size = 16.0f;
  style.foreground = plugkit::gfx::kColorWhite;
  style.entryBackground = plugkit::gfx::kColorWhite;
  style.entryForeground = plugkit::gfx::kColorBlack;
  style.angle = 0.0f;
  style.align = plugkit::gfx::TextAlign::Center;
  style.valign = plugkit::gfx::TextVAlign::Middle;
  return style;
}

}  // namespace

void RequestPrompt(plugkit::gfx::Control& control, float promptX, float promptY, float x, float y) {
  const int valueIndex = control.ValueIndexAt(x, y);
  if (valueIndex == -1 || !control.GetParam(valueIndex) || control.PromptDisabled()) return;
  if (plugkit::gfx::Graphics* g = control.GetGraphics()) {
    const Rect box{promptX, promptY, promptX + kPromptWidth, promptY + kPromptHeight};
    g->ShowParamPrompt(&control, box, valueIndex);
  }
}

BrackmoorKnobControl::BrackmoorKnobControl(float x, float y, const plugkit::gfx::Bitmap& bitmap,
                                           int paramIndex, plugkit::gfx::Direction direction,
                                           double gearing)
    : BitmapKnobControl(x, y, bitmap, paramIndex, direction, gearing),
      promptX_(x + static_cast<float>(bitmap.FrameWidth()) * 0.5f - kPromptWidth / 2.0f),
      promptY_(y + static_cast<float>(bitmap.FrameHeight()) * 0.5f - kPromptHeight / 2.0f),
      readoutStyle_(ReadoutStyle()),
      knobRect_(DrawRect()) {}

BrackmoorKnobControl::~BrackmoorKnobControl() = default;

Rect BrackmoorKnobControl::ReadoutBox() const {
  const float cx = knobRect_.MW() + readoutOffsetX_;
  const float cy = knobRect_.MH() + readoutOffsetY_;
  return Rect{cx - readoutWidth_ / 2.0f, cy - readoutHeight_ / 2.0f, cx + readoutWidth_ / 2.0f,
              cy + readoutHeight_ / 2.0f};
}

std::string BrackmoorKnobControl::ReadoutText() const {
  const plugkit::Param* param = GetParam(0);
  if (!param) return {};
  // The knob's own value: it is what the drag has just sent to the parameter.
  return param->FormatValue(Value(0), true, true);
}

// The graphics context clips each control to its draw rectangle and redraws only dirty
// rectangles, so the read-out, which is wider than most knobs, needs the draw rectangle to
// cover it while it shows and for the one frame that erases it.
void BrackmoorKnobControl::ShowReadoutArea() {
  // A knob moved since the last drag takes its new place as its own rectangle.
  if (DrawRect() != knobRect_.Union(ReadoutBox())) knobRect_ = DrawRect();
  SetDrawRect(knobRect_.Union(ReadoutBox()));
}

void BrackmoorKnobControl::OnMouseDown(float x, float y, const MouseState& state) {
  if (state.S) {
    RequestPrompt(*this, promptX_, promptY_, x, y);
    return;
  }
  dragging_ = true;
  ShowReadoutArea();
  SetDirty(false);
  KnobControlBase::OnMouseDown(x, y, state);
}

void BrackmoorKnobControl::OnMouseUp(float x, float y, const MouseState& state) {
  dragging_ = false;
  SetDirty(false);
  KnobControlBase::OnMouseUp(x, y, state);
}

void BrackmoorKnobControl::OnMouseDrag(float x, float y, float dX, float dY,
                                       const MouseState& state) {
  KnobControlBase::OnMouseDrag(x, y, dX, dY, state);
  if (dragging_) SetDirty(false);
}

void BrackmoorKnobControl::OnMouseDblClick(float x, float y, const MouseState& state) {
  Control::OnMouseDblClick(x, y, state);
}

void BrackmoorKnobControl::Draw(plugkit::gfx::Graphics& g) {
  // A drag whose release never arrives (the pointer capture was dropped) ends here.
  if (dragging_ && !g.IsCaptured(this)) dragging_ = false;
  DrawFrame(g);
  if (!dragging_) {
    // The frame that erased the read-out has been drawn; shrink back to the knob.
    if (DrawRect() != knobRect_) SetDrawRect(knobRect_);
    return;
  }
  if (!GetParam(0)) return;
  const std::string text = ReadoutText();
  const Rect box = ReadoutBox();
  g.FillRoundRect(kReadoutFill, box, kReadoutRadius);
  g.DrawText(readoutStyle_, text.c_str(), box);
}

}  // namespace quorvel
