#pragma once

#include <cairo.h>

#include <cstdint>
#include <vector>

#include "graphics/Graphics.h"

namespace plugkit::gfx {

struct CachedFont;

// The drawing backend: every drawing operation of Graphics on Cairo's CPU raster backend, over
// one pixel buffer the size of the window (B, G, R, A bytes, premultiplied, rows of
// width × 4 bytes). Presenting the buffer is the platform layer's business.
class GraphicsCairo : public Graphics {
 public:
  GraphicsCairo(GraphicsEditorDelegate& delegate, int width, int height, int frameRate,
                float drawScale);
  ~GraphicsCairo() override;

  // [main-thread]
  void OnWindowCreated() override;
  void EndFrame() override;

  using Graphics::DrawBitmap;
  void DrawBitmap(const Bitmap& bitmap, const Rect& dest, int srcX, int srcY,
                  const Blend* blend = nullptr) override;

  // [main-thread] The unpremultiplied colour of the surface pixel under (x, y) in units;
  // transparent outside the surface.
  Color ReadPixel(float x, float y) override;
  // The cairo_t* being drawn into (the innermost layer's while one is open).
  void* NativeCanvas() const override { return canvas_; }
  const char* BackendName() const override { return "CAIRO | CPU"; }
  bool IsImageExtensionSupported(const char* extension) const override;
  void SelectLayerSurface() override;

  void PathClear() override;
  void PathClose() override;
  void PathArc(float cx, float cy, float r, float a1, float a2,
               Winding winding = Winding::Clockwise) override;
  void PathMoveTo(float x, float y) override;
  void PathLineTo(float x, float y) override;
  void PathCubicTo(float c1x, float c1y, float c2x, float c2y, float x2, float y2) override;
  void PathQuadTo(float cx, float cy, float x2, float y2) override;
  void PathStroke(const Color& color, float thickness, const StrokeOptions& options = {},
                  const Blend* blend = nullptr) override;
  void PathFill(const Color& color, const FillOptions& options = {},
                const Blend* blend = nullptr) override;

  void SetTransform(const Matrix& matrix) override;
  void SetClipRect(const Rect& clip) override;
  void RebuildSurface() override;

  std::unique_ptr<BackendBitmap> DecodeBitmap(const char* name, const void* bytes, int size,
                                              int scale) override;
  std::unique_ptr<BackendBitmap> DecodeBitmap(const char* location, int scale,
                                              ResourceLocation kind,
                                              const char* extension) override;
  std::unique_ptr<BackendBitmap> CreateSurfaceBitmap(int pixelWidth, int pixelHeight, int scale,
                                                     float drawScale, bool cacheable) override;
  bool CreateBackendFont(const char* fontId, const PlatformFont& font) override;
  int AlphaByteOffset() const override { return 3; }
  bool IsBitmapFlipped() const override { return false; }

  float BackendMeasureText(const TextStyle& style, const char* str, Rect& bounds) const override;
  void BackendDrawText(const TextStyle& style, const char* str, const Rect& bounds,
                       const Blend* blend = nullptr) override;

  // The frame's pixel buffer (flushed: every drawing so far is in it).
  const std::uint8_t* Pixels();
  int SurfaceWidth() const { return surfaceWidth_; }
  int SurfaceHeight() const { return surfaceHeight_; }
  bool HasSurface() const { return surface_ != nullptr; }
  // [main-thread] Writes the frame as a PNG file; false without a surface or on a write error.
  bool WriteFramePng(const char* path);

 private:
  struct PreparedText;

  void DestroySurface();
  // Sets the clip matrix (pixel scale, minus the innermost layer's origin) on the canvas.
  void ApplyClipMatrix();
  void ApplyFinalMatrix();
  // Whether paths and drawing can go through the current transform (finite and invertible).
  bool CanDraw() const { return canvas_ && transformUsable_; }
  bool PrepareText(const CachedFont& font, const TextStyle& style, const char* str,
                   const Rect& bounds, PreparedText& text) const;
  // Moves the rotated text box into `bounds` by the alignment; returns the translation.
  static void RotatedTextBox(const TextStyle& style, const Rect& bounds, Rect& box, double& tx,
                             double& ty);

  std::vector<std::uint32_t> pixels_;
  cairo_surface_t* surface_ = nullptr;
  cairo_t* mainCanvas_ = nullptr;
  cairo_t* canvas_ = nullptr;
  int surfaceWidth_ = 0;
  int surfaceHeight_ = 0;
  cairo_matrix_t currentMatrix_;
  cairo_matrix_t clipMatrix_;
  cairo_matrix_t finalMatrix_;
  bool transformUsable_ = true;
};

}  // namespace plugkit::gfx
