#include "graphics/GraphicsCairo.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>

#include "framework/SaturatingCast.h"
#include "graphics/CairoBitmap.h"
#include "graphics/CairoHelpers.h"
#include "graphics/Resources.h"

namespace plugkit::gfx {
namespace {

// Cairo's image surfaces are limited to this many pixels per side.
constexpr int kMaxSurfaceSide = 32767;

bool IsFinite(const cairo_matrix_t& m) {
  return std::isfinite(m.xx) && std::isfinite(m.yx) && std::isfinite(m.xy) && std::isfinite(m.yy) &&
         std::isfinite(m.x0) && std::isfinite(m.y0);
}

bool IsFinite(const Rect& r) {
  return std::isfinite(r.L) && std::isfinite(r.T) && std::isfinite(r.R) && std::isfinite(r.B);
}

CairoBitmap* AsCairo(BackendBitmap* bitmap) { return static_cast<CairoBitmap*>(bitmap); }

}  // namespace

GraphicsCairo::GraphicsCairo(GraphicsEditorDelegate& delegate, int width, int height, int frameRate,
                             float drawScale)
    : Graphics(delegate, width, height, frameRate, drawScale) {
  cairo_matrix_init_identity(&currentMatrix_);
  cairo_matrix_init_identity(&clipMatrix_);
  cairo_matrix_init_identity(&finalMatrix_);
}

GraphicsCairo::~GraphicsCairo() {
  // Layers draw through contexts owned by their bitmaps; drop them before the main surface.
  canvas_ = nullptr;
  layers_.clear();
  DestroySurface();
}

void GraphicsCairo::OnWindowCreated() { RebuildSurface(); }

void GraphicsCairo::EndFrame() {
  if (surface_) cairo_surface_flush(surface_);
}

void GraphicsCairo::DestroySurface() {
  if (canvas_ == mainCanvas_) canvas_ = nullptr;
  if (mainCanvas_) cairo_destroy(mainCanvas_);
  if (surface_) cairo_surface_destroy(surface_);
  mainCanvas_ = nullptr;
  surface_ = nullptr;
  surfaceWidth_ = surfaceHeight_ = 0;
}

void GraphicsCairo::RebuildSurface() {
  DestroySurface();
  const int unitsW = SaturateTruncate<int>(static_cast<double>(width_) * drawScale_);
  const int unitsH = SaturateTruncate<int>(static_cast<double>(height_) * drawScale_);
  const int w = SaturateTruncate<int>(std::ceil(static_cast<double>(unitsW) * screenScale_));
  const int h = SaturateTruncate<int>(std::ceil(static_cast<double>(unitsH) * screenScale_));
  if (w <= 0 || h <= 0 || w > kMaxSurfaceSide || h > kMaxSurfaceSide) {
    pixels_.clear();
    SelectLayerSurface();
    return;
  }
  pixels_.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0u);
  surface_ = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(pixels_.data()),
                                                 CAIRO_FORMAT_ARGB32, w, h, w * 4);
  if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
    DestroySurface();
    SelectLayerSurface();
    return;
  }
  surfaceWidth_ = w;
  surfaceHeight_ = h;
  mainCanvas_ = cairo_create(surface_);
  cairo_save(mainCanvas_);
  SelectLayerSurface();
  SetTransform(transform_);
}

const std::uint8_t* GraphicsCairo::Pixels() {
  if (!surface_) return nullptr;
  cairo_surface_flush(surface_);
  return reinterpret_cast<const std::uint8_t*>(pixels_.data());
}

bool GraphicsCairo::WriteFramePng(const char* path) {
  if (!surface_ || !path) return false;
  cairo_surface_flush(surface_);
  return cairo_surface_write_to_png(surface_, path) == CAIRO_STATUS_SUCCESS;
}

void GraphicsCairo::SelectLayerSurface() {
  if (layers_.empty()) {
    canvas_ = mainCanvas_;
  } else {
    // A layer whose surface could not be made swallows its drawing.
    BackendBitmap* layer = layers_.back()->bitmap.get();
    canvas_ = layer ? AsCairo(layer)->Context() : nullptr;
  }
}

void GraphicsCairo::ApplyClipMatrix() {
  const double scale = PixelScale();
  cairo_matrix_init_scale(&clipMatrix_, scale, scale);
  if (!layers_.empty()) {
    cairo_matrix_translate(&clipMatrix_, -layers_.back()->bounds.L, -layers_.back()->bounds.T);
  }
  transformUsable_ = IsFinite(clipMatrix_) && scale > 0.0;
  if (canvas_ && transformUsable_) cairo_set_matrix(canvas_, &clipMatrix_);
}

void GraphicsCairo::ApplyFinalMatrix() {
  cairo_matrix_multiply(&finalMatrix_, &currentMatrix_, &clipMatrix_);
  cairo_matrix_t inverse = finalMatrix_;
  // Cairo puts a context into a permanent error state for a singular or non-finite matrix;
  // such a transform draws nothing instead.
  transformUsable_ =
      IsFinite(finalMatrix_) && cairo_matrix_invert(&inverse) == CAIRO_STATUS_SUCCESS;
  if (canvas_ && transformUsable_) cairo_set_matrix(canvas_, &finalMatrix_);
}

void GraphicsCairo::SetTransform(const Matrix& matrix) {
  cairo_matrix_init(&currentMatrix_, matrix.xx, matrix.yx, matrix.xy, matrix.yy, matrix.tx,
                    matrix.ty);
  if (!canvas_) return;
  ApplyClipMatrix();
  ApplyFinalMatrix();
}

void GraphicsCairo::SetClipRect(const Rect& clip) {
  if (!canvas_) return;
  SetAsidePath keep(canvas_);
  cairo_restore(canvas_);
  cairo_save(canvas_);
  ApplyClipMatrix();
  if (transformUsable_) {
    cairo_set_antialias(canvas_, CAIRO_ANTIALIAS_NONE);
    // A clip that is not a real rectangle lets nothing through.
    const Rect area = IsFinite(clip) ? clip : Rect();
    cairo_rectangle(canvas_, area.L, area.T, area.W(), area.H());
    cairo_clip(canvas_);
    cairo_set_antialias(canvas_, CAIRO_ANTIALIAS_DEFAULT);
  }
  ApplyFinalMatrix();
}

void GraphicsCairo::DrawBitmap(const Bitmap& bitmap, const Rect& dest, int srcX, int srcY,
                               const Blend* blend) {
  if (!bitmap.image || !CanDraw() || !IsFinite(dest)) return;
  CairoBitmap* image = AsCairo(bitmap.image);
  const double k = static_cast<double>(image->Scale()) * image->DrawScale();
  if (!(k > 0.0) || !std::isfinite(k)) return;

  // Sampling is limited to the image area the destination shows, clamped at its edges: a
  // film-strip frame drawn at a fractional scale must not blend in rows of its neighbours,
  // nor fade out at the strip's border.
  const int x0 = std::clamp(SaturateRound<int>(srcX * k), 0, image->PixelWidth());
  const int y0 = std::clamp(SaturateRound<int>(srcY * k), 0, image->PixelHeight());
  const int x1 = std::clamp(SaturateRound<int>((srcX + static_cast<double>(dest.W())) * k), x0,
                            image->PixelWidth());
  const int y1 = std::clamp(SaturateRound<int>((srcY + static_cast<double>(dest.H())) * k), y0,
                            image->PixelHeight());
  if (x1 <= x0 || y1 <= y0) return;

  SetAsidePath keep(canvas_);
  cairo_save(canvas_);
  cairo_rectangle(canvas_, dest.L, dest.T, dest.W(), dest.H());
  cairo_clip(canvas_);
  cairo_translate(canvas_, dest.L, dest.T);
  cairo_scale(canvas_, 1.0 / k, 1.0 / k);
  cairo_translate(canvas_, -srcX * k, -srcY * k);
  const cairo_operator_t op = CairoOperator(blend);
  if (IsUnbounded(op)) {
    cairo_rectangle(canvas_, x0, y0, x1 - x0, y1 - y0);
    cairo_clip(canvas_);
  }
  cairo_surface_t* shown =
      cairo_surface_create_for_rectangle(image->Surface(), x0, y0, x1 - x0, y1 - y0);
  cairo_set_source_surface(canvas_, shown, x0, y0);
  cairo_pattern_set_filter(cairo_get_source(canvas_), CAIRO_FILTER_BILINEAR);
  cairo_pattern_set_extend(cairo_get_source(canvas_), CAIRO_EXTEND_PAD);
  cairo_set_operator(canvas_, op);
  if (blend) {
    cairo_paint_with_alpha(canvas_, WeightedAlpha(255, blend) / 255.0);
  } else {
    cairo_paint(canvas_);
  }
  cairo_restore(canvas_);
  cairo_surface_destroy(shown);
}

Color GraphicsCairo::ReadPixel(float x, float y) {
  if (!surface_) return kColorTransparent;
  const double scale = PixelScale();
  const int px = SaturateTruncate<int>(std::floor(x * scale));
  const int py = SaturateTruncate<int>(std::floor(y * scale));
  if (px < 0 || py < 0 || px >= surfaceWidth_ || py >= surfaceHeight_) return kColorTransparent;
  cairo_surface_flush(surface_);
  const std::uint32_t argb = pixels_[static_cast<std::size_t>(py) * surfaceWidth_ + px];
  const int a = static_cast<int>(argb >> 24);
  if (a == 0) return kColorTransparent;
  auto unpremultiply = [a](std::uint32_t c) { return static_cast<int>((c * 255 + a / 2) / a); };
  return {a, unpremultiply((argb >> 16) & 0xFF), unpremultiply((argb >> 8) & 0xFF),
          unpremultiply(argb & 0xFF)};
}

bool GraphicsCairo::IsImageExtensionSupported(const char* extension) const {
  if (!extension) return false;
  std::string lower(extension);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower.find("png") != std::string::npos;
}

std::unique_ptr<BackendBitmap> GraphicsCairo::DecodeBitmap(const char* name, const void* bytes,
                                                           int size, int scale) {
  (void)name;
  if (!bytes || size <= 0) return nullptr;
  return CairoBitmap::DecodePng(
      {static_cast<const unsigned char*>(bytes), static_cast<std::size_t>(size)},
      static_cast<float>(scale));
}

std::unique_ptr<BackendBitmap> GraphicsCairo::DecodeBitmap(const char* location, int scale,
                                                           ResourceLocation kind,
                                                           const char* extension) {
  if (!location) return nullptr;
  switch (kind) {
    case ResourceLocation::Embedded:
      return CairoBitmap::DecodePng(ReadEmbeddedResource(location, extension ? extension : ""),
                                    static_cast<float>(scale));
    case ResourceLocation::FilePath:
      return CairoBitmap::DecodePngFile(location, static_cast<float>(scale));
    case ResourceLocation::NotFound:
      break;
  }
  return nullptr;
}

std::unique_ptr<BackendBitmap> GraphicsCairo::CreateSurfaceBitmap(int pixelWidth, int pixelHeight,
                                                                  int scale, float drawScale,
                                                                  bool cacheable) {
  (void)cacheable;
  return CairoBitmap::CreateSurface(pixelWidth, pixelHeight, static_cast<float>(scale), drawScale);
}

}  // namespace plugkit::gfx
