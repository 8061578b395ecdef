#pragma once

#include <string>

namespace plugkit::gfx {

// A decoded image owned by the drawing backend (and held by the process-wide bitmap cache).
class BackendBitmap {
 public:
  BackendBitmap(int pixelWidth, int pixelHeight, float scale, float drawScale)
      : pixelWidth_(pixelWidth), pixelHeight_(pixelHeight), scale_(scale), drawScale_(drawScale) {}
  virtual ~BackendBitmap() = default;
  BackendBitmap(const BackendBitmap&) = delete;
  BackendBitmap& operator=(const BackendBitmap&) = delete;

  int PixelWidth() const { return pixelWidth_; }
  int PixelHeight() const { return pixelHeight_; }
  // The image scale the pixels were made for (1 for scale-1 artwork).
  float Scale() const { return scale_; }
  // 1.0 except for layers, which keep the draw scale current when they were made.
  float DrawScale() const { return drawScale_; }

 private:
  int pixelWidth_;
  int pixelHeight_;
  float scale_;
  float drawScale_;
};

// A film strip of equally sized frames, stacked vertically unless framesHorizontal is set.
// Width and height are in units (pixel size divided by the image scale). A null image means
// no bitmap; drawing it does nothing.
struct Bitmap {
  BackendBitmap* image = nullptr;  // not owned
  int width = 0;
  int height = 0;
  int frameCount = 1;
  bool framesHorizontal = false;
  std::string resourceName;

  bool IsValid() const { return image != nullptr; }
  int FrameCount() const { return frameCount < 1 ? 1 : frameCount; }
  int FrameWidth() const { return framesHorizontal ? width / FrameCount() : width; }
  int FrameHeight() const { return framesHorizontal ? height : height / FrameCount(); }
};

}  // namespace plugkit::gfx
