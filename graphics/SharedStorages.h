#pragma once

#include <cairo.h>

#include <cstdint>
#include <vector>

#include "graphics/Bitmap.h"
#include "graphics/CacheStorage.h"
#include "graphics/FontData.h"

namespace plugkit::gfx {

// A loaded font: its file data and the Cairo face made from it.
struct CachedFont {
  CachedFont(FontData fontData, cairo_font_face_t* fontFace)
      : data(std::move(fontData)), face(fontFace) {}
  ~CachedFont() { cairo_font_face_destroy(face); }
  CachedFont(const CachedFont&) = delete;
  CachedFont& operator=(const CachedFont&) = delete;

  FontData data;
  cairo_font_face_t* face;
};

// The bytes of a vector image document. The Cairo backend cannot render vector images, so the
// document is only kept (never drawn by this editor).
struct CachedVectorDocument {
  std::vector<std::uint8_t> bytes;
};

// Fonts are cached under their id alone; this is the scale part of their key.
inline constexpr double kFontCacheScale = 1.0;

// [thread-safe] The process-wide storages shared by every graphics context.
CacheStorage<BackendBitmap>& BitmapCache();
CacheStorage<CachedVectorDocument>& VectorImageCache();
CacheStorage<CachedFont>& FontCache();

}  // namespace plugkit::gfx
