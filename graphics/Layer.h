#pragma once

#include <memory>

#include "graphics/Bitmap.h"
#include "graphics/Rect.h"

namespace plugkit::gfx {

class Control;

// An off-screen surface being drawn into (bitmap rescaling, cached control drawing).
struct Layer {
  std::unique_ptr<BackendBitmap> bitmap;  // the surface
  Rect bounds;                            // pixel-aligned, in units
  Control* control = nullptr;             // the control it belongs to, if any
  bool cacheable = false;
  bool invalid = false;
};

}  // namespace plugkit::gfx
