#pragma once

// Film-strip controls: each draws the frame of its bitmap that matches value 0.

#include "graphics/Bitmap.h"
#include "graphics/Control.h"
#include "graphics/KnobControlBase.h"
#include "graphics/SwitchControlBase.h"

namespace plugkit::gfx {

class BitmapBase {
 public:
  BitmapBase(const Bitmap& bitmap, Control* owner) : bitmap_(bitmap), owner_(owner) {}
  virtual ~BitmapBase() = default;

  const Bitmap& GetBitmap() const { return bitmap_; }
  // The frame (1-based) shown for value 0, rounded to the nearest frame.
  int FrameForValue(double value) const;
  // The frame-sized rectangle centred in the owner's draw rectangle.
  Rect FrameDestination() const;
  void DrawFrame(Graphics& g);
  // Fetches the cached image made for the current total scale.
  void ReloadBitmap();

 private:
  Bitmap bitmap_;
  Control* owner_;
};

// A static or value-driven image (the editor's background is one).
class BitmapControl : public Control, public BitmapBase {
 public:
  BitmapControl(float x, float y, const Bitmap& bitmap, int paramIndex = -1,
                const Blend& blend = {});

  void Draw(Graphics& g) override { DrawFrame(g); }
  void OnRescale() override { ReloadBitmap(); }
};

class BitmapKnobControl : public KnobControlBase, public BitmapBase {
 public:
  BitmapKnobControl(float x, float y, const Bitmap& bitmap, int paramIndex,
                    Direction direction = Direction::Vertical, double gearing = kDefaultGearing);

  void Draw(Graphics& g) override { DrawFrame(g); }
  void OnRescale() override { ReloadBitmap(); }
};

// Steps through the frames of its strip: the frame count, not the parameter's range, decides
// the stepping.
class BitmapSwitchControl : public SwitchControlBase, public BitmapBase {
 public:
  BitmapSwitchControl(float x, float y, const Bitmap& bitmap, int paramIndex = -1);

  void OnMouseDown(float x, float y, const MouseState& state) override;
  void Draw(Graphics& g) override { DrawFrame(g); }
  void OnRescale() override { ReloadBitmap(); }
};

}  // namespace plugkit::gfx
