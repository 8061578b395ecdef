#pragma once

#include <string>

#include "graphics/BitmapControls.h"
#include "graphics/GraphicsTypes.h"

namespace quorvel {

// The film-strip knob (and slider) of the editor: a bitmap knob that shows its parameter's
// value in a small box while it is being dragged.
class BrackmoorKnobControl : public plugkit::gfx::BitmapKnobControl {
 public:
  static constexpr float kReadoutWidth = 80.0f;
  static constexpr float kReadoutHeight = 24.0f;

  // [main-thread]
  BrackmoorKnobControl(float x, float y, const plugkit::gfx::Bitmap& bitmap, int paramIndex,
                       plugkit::gfx::Direction direction = plugkit::gfx::Direction::Vertical,
                       double gearing = kDefaultGearing);
  ~BrackmoorKnobControl() override;

  void OnMouseDown(float x, float y, const plugkit::gfx::MouseState& state) override;
  void OnMouseUp(float x, float y, const plugkit::gfx::MouseState& state) override;
  void OnMouseDrag(float x, float y, float dX, float dY,
                   const plugkit::gfx::MouseState& state) override;
  void OnMouseDblClick(float x, float y, const plugkit::gfx::MouseState& state) override;
  void Draw(plugkit::gfx::Graphics& g) override;

  bool IsDragging() const { return dragging_; }
  // The read-out box for the current rectangle of the knob itself.
  plugkit::gfx::Rect ReadoutBox() const;
  // The read-out text, empty when the knob is not bound to a parameter.
  std::string ReadoutText() const;

 protected:
  // The knob's own rectangle; the draw rectangle grows over the read-out while it shows.
  const plugkit::gfx::Rect& KnobRect() const { return knobRect_; }

 private:
  void ShowReadoutArea();

  float promptX_;
  float promptY_;
  bool dragging_ = false;
  float readoutWidth_ = kReadoutWidth;
  float readoutHeight_ = kReadoutHeight;
  float readoutOffsetX_ = 0.0f;
  float readoutOffsetY_ = 0.0f;
  plugkit::gfx::TextStyle readoutStyle_;
  plugkit::gfx::Rect knobRect_;
};

// Asks for a value prompt over the 40 × 16 box at the prompt origin (the Shift press of the
// maker's knobs and switches). Every control of this editor keeps prompts disabled.
void RequestPrompt(plugkit::gfx::Control& control, float promptX, float promptY, float x, float y);

}  // namespace quorvel
