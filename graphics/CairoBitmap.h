#pragma once

#include <cairo.h>

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "graphics/Bitmap.h"

namespace plugkit::gfx {

// The Cairo backend's image: a decoded raster image, or the off-screen surface of a layer.
// Owns its surface (and, for layers, the drawing context on it).
class CairoBitmap : public BackendBitmap {
 public:
  // Takes ownership of the surface reference.
  CairoBitmap(cairo_surface_t* surface, float scale, float drawScale);
  ~CairoBitmap() override;

  // A transparent ARGB32 surface to draw into; null when Cairo refuses the size.
  static std::unique_ptr<CairoBitmap> CreateSurface(int pixelWidth, int pixelHeight, float scale,
                                                    float drawScale);
  // Decoded PNG images; null when the data is not a readable PNG.
  static std::unique_ptr<CairoBitmap> DecodePng(std::span<const unsigned char> bytes, float scale);
  static std::unique_ptr<CairoBitmap> DecodePngFile(const std::string& path, float scale);
  // The surface as PNG bytes, for generated artwork and frames; empty when Cairo fails.
  static std::vector<unsigned char> EncodePng(cairo_surface_t* surface);

  cairo_surface_t* Surface() const { return surface_; }
  // The drawing context on this surface, made on first use with its base state saved once.
  cairo_t* Context();

 private:
  cairo_surface_t* surface_;
  cairo_t* context_ = nullptr;
};

}  // namespace plugkit::gfx
