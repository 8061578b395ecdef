// The drawing operations of Graphics, each expressed through the path interface, and the
// transform stack they use.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "graphics/Graphics.h"

namespace plugkit::gfx {

namespace {

// Bounds the work of one grid or plot whatever the caller passes.
constexpr int kMaxGridLines = 4096;

StrokeOptions DashedStroke(float dashLength) {
  StrokeOptions options;
  options.dash.Set(&dashLength, 1);
  return options;
}

}  // namespace

// ---- Transform stack ------------------------------------------------------------------------

void Graphics::PathTransformSave() { transformStack_.push_back(transform_); }

void Graphics::PathTransformRestore() {
  if (!transformStack_.empty()) {
    transform_ = transformStack_.back();
    transformStack_.pop_back();
  }
  SetTransform(transform_);
}

void Graphics::PathTransformReset() {
  transform_ = Matrix{};
  SetTransform(transform_);
}

void Graphics::PathTransformTranslate(float x, float y) {
  transform_.Translate(x, y);
  SetTransform(transform_);
}

void Graphics::PathTransformScale(float x, float y) {
  transform_.Scale(x, y);
  SetTransform(transform_);
}

void Graphics::PathTransformRotate(float degrees) {
  transform_.Rotate(degrees);
  SetTransform(transform_);
}

// ---- Bitmaps --------------------------------------------------------------------------------

void Graphics::DrawBitmap(const Bitmap& bitmap, const Rect& bounds, int frame, const Blend* blend) {
  if (!bitmap.image) return;
  const int n = bitmap.FrameCount();
  const int f = std::clamp(frame, 1, n);
  int srcX = 0;
  int srcY = 0;
  if (n >= 2 && f >= 2) {
    // Multiplication first, as whole numbers.
    const std::int64_t step = f - 1;
    if (bitmap.framesHorizontal) {
      srcX = static_cast<int>(step * bitmap.width / n);
    } else {
      srcY = static_cast<int>(step * bitmap.height / n);
    }
  }
  DrawBitmap(bitmap, bounds, srcX, srcY, blend);
}

void Graphics::DrawBitmapScaledToFit(const Bitmap& bitmap, const Rect& bounds, const Blend* blend) {
  if (!bitmap.image || bitmap.width <= 0 || bitmap.height <= 0) return;
  PathTransformSave();
  PathTransformTranslate(bounds.L, bounds.T);
  PathTransformScale(bounds.W() / static_cast<float>(bitmap.width),
                     bounds.H() / static_cast<float>(bitmap.height));
  DrawBitmap(bitmap,
             Rect{0.0f, 0.0f, static_cast<float>(bitmap.width), static_cast<float>(bitmap.height)},
             0, 0, blend);
  PathTransformRestore();
}

void Graphics::DrawRotatedBitmap(const Bitmap& bitmap, float cx, float cy, double angle,
                                 const Blend* blend) {
  if (!bitmap.image) return;
  const float drawScale = bitmap.image->DrawScale() > 0.0f ? bitmap.image->DrawScale() : 1.0f;
  const float w = static_cast<float>(bitmap.width) / drawScale;
  const float h = static_cast<float>(bitmap.height) / drawScale;
  PathTransformSave();
  PathTransformTranslate(cx, cy);
  PathTransformRotate(static_cast<float>(angle));
  DrawBitmap(bitmap, Rect{-w / 2.0f, -h / 2.0f, w / 2.0f, h / 2.0f}, 0, 0, blend);
  PathTransformRestore();
}

void Graphics::DrawVectorImage(const VectorImage&, const Rect&, const Blend*) {}

void Graphics::DrawRotatedVectorImage(const VectorImage&, float, float, float, float, double,
                                      const Blend*) {}

// ---- Lines and outlines ---------------------------------------------------------------------

void Graphics::DrawPoint(const Color& color, float x, float y, const Blend* blend) {
  FillRect(color, Rect{x, y, x + 1.0f, y + 1.0f}, blend);
}

void Graphics::DrawLine(const Color& color, float x1, float y1, float x2, float y2,
                        const Blend* blend, float thickness) {
  PathClear();
  PathMoveTo(x1, y1);
  PathLineTo(x2, y2);
  PathStroke(color, thickness, StrokeOptions{}, blend);
}

void Graphics::DrawHorizontalLine(const Color& color, float y, float x1, float x2,
                                  const Blend* blend, float thickness) {
  DrawLine(color, x1, y, x2, y, blend, thickness);
}

void Graphics::DrawRadialLine(const Color& color, float cx, float cy, float angle, float rMin,
                              float rMax, const Blend* blend, float thickness) {
  const float a = (angle - 90.0f) * std::numbers::pi_v<float> / 180.0f;
  const float c = std::cos(a);
  const float s = std::sin(a);
  DrawLine(color, cx + rMin * c, cy + rMin * s, cx + rMax * c, cy + rMax * s, blend, thickness);
}

void Graphics::DrawDottedLine(const Color& color, float x1, float y1, float x2, float y2,
                              const Blend* blend, float thickness, float dashLength) {
  PathClear();
  PathMoveTo(x1, y1);
  PathLineTo(x2, y2);
  PathStroke(color, thickness, DashedStroke(dashLength), blend);
}

namespace {

void TrianglePath(Graphics& g, float x1, float y1, float x2, float y2, float x3, float y3) {
  g.PathClear();
  g.PathMoveTo(x1, y1);
  g.PathLineTo(x2, y2);
  g.PathLineTo(x3, y3);
  g.PathClose();
}

void RectPath(Graphics& g, const Rect& r) {
  g.PathClear();
  g.PathMoveTo(r.L, r.T);
  g.PathLineTo(r.R, r.T);
  g.PathLineTo(r.R, r.B);
  g.PathLineTo(r.L, r.B);
  g.PathClose();
}

void RoundRectPath(Graphics& g, const Rect& r, float tl, float tr, float br, float bl) {
  if (tl <= 0.0f && tr <= 0.0f && br <= 0.0f && bl <= 0.0f) {
    RectPath(g, r);
    return;
  }
  g.PathClear();
  g.PathArc(r.L + tl, r.T + tl, tl, 270.0f, 360.0f);
  g.PathArc(r.R - tr, r.T + tr, tr, 0.0f, 90.0f);
  g.PathArc(r.R - br, r.B - br, br, 90.0f, 180.0f);
  g.PathArc(r.L + bl, r.B - bl, bl, 180.0f, 270.0f);
  g.PathClose();
}

void CirclePath(Graphics& g, float cx, float cy, float r) {
  g.PathClear();
  g.PathMoveTo(cx, cy - r);
  g.PathArc(cx, cy, r, 0.0f, 360.0f);
  g.PathClose();
}

// A unit circle under translate, rotate and scale; false (no path) for a radius of 0 or below.
bool EllipsePath(Graphics& g, float cx, float cy, float rx, float ry, float angle) {
  if (!(rx > 0.0f) || !(ry > 0.0f)) return false;
  g.PathClear();
  g.PathTransformSave();
  g.PathTransformTranslate(cx, cy);
  g.PathTransformRotate(angle);
  g.PathTransformScale(rx, ry);
  g.PathArc(0.0f, 0.0f, 1.0f, 0.0f, 360.0f);
  g.PathTransformRestore();
  return true;
}

bool PolygonPath(Graphics& g, const float* x, const float* y, int count) {
  if (!x || !y || count < 1) return false;
  g.PathClear();
  g.PathMoveTo(x[0], y[0]);
  for (int i = 1; i < count; ++i) g.PathLineTo(x[i], y[i]);
  g.PathClose();
  return true;
}

}  // namespace

void Graphics::DrawTriangle(const Color& color, float x1, float y1, float x2, float y2, float x3,
                            float y3, const Blend* blend, float thickness) {
  TrianglePath(*this, x1, y1, x2, y2, x3, y3);
  PathStroke(color, thickness, StrokeOptions{}, blend);
}

void Graphics::DrawRect(const Color& color, const Rect& bounds, const Blend* blend,
                        float thickness) {
  RectPath(*this, bounds);
  PathStroke(color, thickness, StrokeOptions{}, blend);
}

void Graphics::DrawRoundRect(const Color& color, const Rect& bounds, float rTL, float rTR,
                             float rBR, float rBL, const Blend* blend, float thickness) {
  RoundRectPath(*this, bounds, rTL, rTR, rBR, rBL);
  PathStroke(color, thickness, StrokeOptions{}, blend);
}

void Graphics::DrawRoundRect(const Color& color, const Rect& bounds, float radius,
                             const Blend* blend, float thickness) {
  DrawRoundRect(color, bounds, radius, radius, radius, radius, blend, thickness);
}

void Graphics::DrawArc(const Color& color, float cx, float cy, float r, float a1, float a2,
                       const Blend* blend, float thickness) {
  PathClear();
  PathArc(cx, cy, r, a1, a2);
  PathStroke(color, thickness, StrokeOptions{}, blend);
}

void Graphics::DrawCircle(const Color& color, float cx, float cy, float r, const Blend* blend,
                          float thickness) {
  CirclePath(*this, cx, cy, r);
  PathStroke(color, thickness, StrokeOptions{}, blend);
}

void Graphics::DrawEllipse(const Color& color, float cx, float cy, float rx, float ry, float angle,
                           const Blend* blend, float thickness) {
  // Stroked after the transform is restored, so the line keeps its thickness.
  if (EllipsePath(*this, cx, cy, rx, ry, angle))
    PathStroke(color, thickness, StrokeOptions{}, blend);
}

void Graphics::DrawEllipse(const Color& color, const Rect& bounds, const Blend* blend,
                           float thickness) {
  DrawEllipse(color, bounds.MW(), bounds.MH(), bounds.W() / 2.0f, bounds.H() / 2.0f, 0.0f, blend,
              thickness);
}

void Graphics::DrawConvexPolygon(const Color& color, const float* x, const float* y, int count,
                                 const Blend* blend, float thickness) {
  if (PolygonPath(*this, x, y, count)) PathStroke(color, thickness, StrokeOptions{}, blend);
}

void Graphics::DrawDottedRect(const Color& color, const Rect& bounds, const Blend* blend,
                              float thickness, float dashLength) {
  RectPath(*this, bounds);
  PathStroke(color, thickness, DashedStroke(dashLength), blend);
}

void Graphics::DrawGrid(const Color& color, const Rect& bounds, float stepX, float stepY,
                        const Blend* blend, float thickness) {
  PathClear();
  if (stepX > 1.0f) {
    for (int i = 1; i <= kMaxGridLines; ++i) {
      const float x = bounds.L + static_cast<float>(i) * stepX;
      if (!(x < bounds.R)) break;
      PathMoveTo(x, bounds.T);
      PathLineTo(x, bounds.B);
    }
  }
  if (stepY > 1.0f) {
    for (int i = 1; i <= kMaxGridLines; ++i) {
      const float y = bounds.T + static_cast<float>(i) * stepY;
      if (!(y < bounds.B)) break;
      PathMoveTo(bounds.L, y);
      PathLineTo(bounds.R, y);
    }
  }
  PathStroke(color, thickness, StrokeOptions{}, blend);
}

void Graphics::DrawValuePlot(const Color& color, const Rect& bounds, const ValueFunction& function,
                             int pointCount, const Blend* blend, float thickness) {
  if (!function || pointCount < 2) return;
  pointCount = std::min(pointCount, kMaxGridLines);
  PathClear();
  for (int i = 0; i < pointCount; ++i) {
    const double t = static_cast<double>(i) / static_cast<double>(pointCount - 1);
    const float x = bounds.L + static_cast<float>(t) * bounds.W();
    const float y = bounds.B - static_cast<float>(function(t)) * bounds.H();
    if (i == 0) {
      PathMoveTo(x, y);
    } else {
      PathLineTo(x, y);
    }
  }
  PathStroke(color, thickness, StrokeOptions{}, blend);
}

// ---- Fills ----------------------------------------------------------------------------------

void Graphics::FillTriangle(const Color& color, float x1, float y1, float x2, float y2, float x3,
                            float y3, const Blend* blend) {
  TrianglePath(*this, x1, y1, x2, y2, x3, y3);
  PathFill(color, FillOptions{}, blend);
}

void Graphics::FillRect(const Color& color, const Rect& bounds, const Blend* blend) {
  RectPath(*this, bounds);
  PathFill(color, FillOptions{}, blend);
}

void Graphics::FillRoundRect(const Color& color, const Rect& bounds, float rTL, float rTR,
                             float rBR, float rBL, const Blend* blend) {
  RoundRectPath(*this, bounds, rTL, rTR, rBR, rBL);
  PathFill(color, FillOptions{}, blend);
}

void Graphics::FillRoundRect(const Color& color, const Rect& bounds, float radius,
                             const Blend* blend) {
  FillRoundRect(color, bounds, radius, radius, radius, radius, blend);
}

void Graphics::FillCircle(const Color& color, float cx, float cy, float r, const Blend* blend) {
  CirclePath(*this, cx, cy, r);
  PathFill(color, FillOptions{}, blend);
}

void Graphics::FillEllipse(const Color& color, float cx, float cy, float rx, float ry, float angle,
                           const Blend* blend) {
  if (EllipsePath(*this, cx, cy, rx, ry, angle)) PathFill(color, FillOptions{}, blend);
}

void Graphics::FillEllipse(const Color& color, const Rect& bounds, const Blend* blend) {
  FillEllipse(color, bounds.MW(), bounds.MH(), bounds.W() / 2.0f, bounds.H() / 2.0f, 0.0f, blend);
}

void Graphics::FillArc(const Color& color, float cx, float cy, float r, float a1, float a2,
                       const Blend* blend) {
  PathClear();
  PathMoveTo(cx, cy);
  PathArc(cx, cy, r, a1, a2);
  PathClose();
  PathFill(color, FillOptions{}, blend);
}

void Graphics::FillConvexPolygon(const Color& color, const float* x, const float* y, int count,
                                 const Blend* blend) {
  if (PolygonPath(*this, x, y, count)) PathFill(color, FillOptions{}, blend);
}

// ---- Text and layers ------------------------------------------------------------------------

float Graphics::MeasureText(const TextStyle& style, const char* str, Rect& bounds) const {
  if (!str || !*str) return 0.0f;
  return BackendMeasureText(style, str, bounds);
}

void Graphics::DrawText(const TextStyle& style, const char* str, const Rect& bounds,
                        const Blend* blend) {
  if (!str || !*str) return;
  BackendDrawText(style, str, bounds, blend);
}

void Graphics::DrawMultiLineText(const TextStyle& style, const char* str, const Rect& bounds,
                                 const Blend* blend) {
  DrawText(style, str, bounds, blend);
}

void Graphics::ApplyLayerShadow(Layer& layer, const Shadow& shadow) {
  std::vector<std::uint8_t> mask;
  if (ReadLayerPixels(layer, mask)) CompositeShadow(layer, mask, shadow);
}

}  // namespace plugkit::gfx
