#include "graphics/BitmapControls.h"

#include <algorithm>
#include <cmath>

#include "framework/SaturatingCast.h"
#include "graphics/Graphics.h"

namespace plugkit::gfx {

namespace {

Rect FrameRect(float x, float y, const Bitmap& bitmap) {
  return Rect{x, y, x + static_cast<float>(bitmap.FrameWidth()),
              y + static_cast<float>(bitmap.FrameHeight())};
}

}  // namespace

int BitmapBase::FrameForValue(double value) const {
  const int n = bitmap_.FrameCount();
  if (n < 2) return 1;
  return std::clamp(1 + SaturateTruncate<int>(value * (n - 1) + 0.5), 1, n);
}

Rect BitmapBase::FrameDestination() const {
  const Rect& draw = owner_->DrawRect();
  const float fw = static_cast<float>(bitmap_.FrameWidth());
  const float fh = static_cast<float>(bitmap_.FrameHeight());
  const float l = (draw.L + draw.R) / 2.0f - fw / 2.0f;
  const float t = (draw.T + draw.B) / 2.0f - fh / 2.0f;
  return Rect{l, t, l + fw, t + fh};
}

void BitmapBase::DrawFrame(Graphics& g) {
  g.DrawBitmap(bitmap_, FrameDestination(), FrameForValue(owner_->Value(0)), &owner_->GetBlend());
}

void BitmapBase::ReloadBitmap() {
  Graphics* g = owner_->GetGraphics();
  if (!g) return;
  const int scale = SaturateTruncate<int>(std::ceil(g->DrawScale() * g->ScreenScale()));
  Bitmap loaded = g->LoadBitmap(bitmap_.resourceName.c_str(), bitmap_.frameCount,
                                bitmap_.framesHorizontal, scale);
  // Keep the strip's identity even when loading fails, so a later rescale can try again.
  loaded.resourceName = bitmap_.resourceName;
  loaded.frameCount = bitmap_.frameCount;
  loaded.framesHorizontal = bitmap_.framesHorizontal;
  bitmap_ = loaded;
}

BitmapControl::BitmapControl(float x, float y, const Bitmap& bitmap, int paramIndex,
                             const Blend& blend)
    : Control(FrameRect(x, y, bitmap), paramIndex), BitmapBase(bitmap, this) {
  SetBlend(blend);
}

BitmapKnobControl::BitmapKnobControl(float x, float y, const Bitmap& bitmap, int paramIndex,
                                     Direction direction, double gearing)
    : KnobControlBase(FrameRect(x, y, bitmap), paramIndex, direction, gearing),
      BitmapBase(bitmap, this) {}

BitmapSwitchControl::BitmapSwitchControl(float x, float y, const Bitmap& bitmap, int paramIndex)
    : SwitchControlBase(FrameRect(x, y, bitmap), paramIndex, nullptr, 2),
      BitmapBase(bitmap, this) {}

void BitmapSwitchControl::OnMouseDown(float, float, const MouseState&) {
  const int n = GetBitmap().FrameCount();
  double value = Value(0) + (n >= 2 ? 1.0 / static_cast<double>(n - 1) : 1.0);
  if (value > 1.001) value = 0.0;
  SetValue(value, 0);
  SetDirty(true);
}

}  // namespace plugkit::gfx
