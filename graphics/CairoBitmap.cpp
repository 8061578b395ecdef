#include "graphics/CairoBitmap.h"

#include <cstring>

#include "graphics/Resources.h"

namespace plugkit::gfx {
namespace {

struct PngReader {
  std::span<const unsigned char> bytes;
  std::size_t position = 0;
};

cairo_status_t ReadPngBytes(void* closure, unsigned char* data, unsigned int length) {
  auto* reader = static_cast<PngReader*>(closure);
  if (length > reader->bytes.size() - reader->position) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(data, reader->bytes.data() + reader->position, length);
  reader->position += length;
  return CAIRO_STATUS_SUCCESS;
}

std::unique_ptr<CairoBitmap> WrapDecoded(cairo_surface_t* surface, float scale) {
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  return std::make_unique<CairoBitmap>(surface, scale, 1.0f);
}

}  // namespace

CairoBitmap::CairoBitmap(cairo_surface_t* surface, float scale, float drawScale)
    : BackendBitmap(cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface),
                    scale, drawScale),
      surface_(surface) {}

CairoBitmap::~CairoBitmap() {
  if (context_) cairo_destroy(context_);
  cairo_surface_destroy(surface_);
}

std::unique_ptr<CairoBitmap> CairoBitmap::CreateSurface(int pixelWidth, int pixelHeight,
                                                        float scale, float drawScale) {
  if (pixelWidth <= 0 || pixelHeight <= 0) return nullptr;
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixelWidth, pixelHeight);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  return std::make_unique<CairoBitmap>(surface, scale, drawScale);
}

std::unique_ptr<CairoBitmap> CairoBitmap::DecodePng(std::span<const unsigned char> bytes,
                                                    float scale) {
  if (bytes.empty()) return nullptr;
  PngReader reader{bytes};
  return WrapDecoded(cairo_image_surface_create_from_png_stream(&ReadPngBytes, &reader), scale);
}

std::unique_ptr<CairoBitmap> CairoBitmap::DecodePngFile(const std::string& path, float scale) {
  return DecodePng(ReadWholeFile(path), scale);
}

std::vector<unsigned char> CairoBitmap::EncodePng(cairo_surface_t* surface) {
  std::vector<unsigned char> png;
  const cairo_status_t status = cairo_surface_write_to_png_stream(
      surface,
      [](void* closure, const unsigned char* data, unsigned int length) {
        auto* out = static_cast<std::vector<unsigned char>*>(closure);
        out->insert(out->end(), data, data + length);
        return CAIRO_STATUS_SUCCESS;
      },
      &png);
  if (status != CAIRO_STATUS_SUCCESS) png.clear();
  return png;
}

cairo_t* CairoBitmap::Context() {
  if (!context_) {
    context_ = cairo_create(surface_);
    cairo_save(context_);
  }
  return context_;
}

}  // namespace plugkit::gfx
