// The process-wide caches behind Graphics: bitmaps per resource name and scale (with the
// search for scaled variants and redrawing at another scale), vector-image documents, fonts,
// and the off-screen layers used for redrawing.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "framework/SaturatingCast.h"
#include "graphics/Graphics.h"
#include "graphics/Resources.h"
#include "graphics/SharedStorages.h"

namespace plugkit::gfx {
namespace {

// Source scales to try for a target scale: the target, then 3, then the smaller whole numbers
// down to 1 (target 1: 1, 3, 2; target 2: 2, 3, 1; target 4: 4, 3, 2, 1).
std::vector<int> ScaleSearchOrder(int target) {
  std::vector<int> order{target};
  if (target != 3) order.push_back(3);
  for (int s = 2; s >= 1; --s) {
    if (s != target) order.push_back(s);
  }
  return order;
}

// knob.png at scale 2 is knob@2x.png; only a '.' after the last path separator starts the
// extension.
std::string ScaledVariantName(const std::string& name, int scale) {
  if (scale == 1) return name;
  const std::size_t separator = name.find_last_of("/\\");
  std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && separator != std::string::npos && dot < separator)
    dot = std::string::npos;
  const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
  const std::string extension = dot == std::string::npos ? "" : name.substr(dot);
  return stem + "@" + std::to_string(scale) + "x" + extension;
}

std::string ExtensionOf(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(dot + 1);
}

Bitmap MakeBitmap(BackendBitmap* image, int frameCount, bool framesHorizontal,
                  const std::string& name) {
  Bitmap bitmap;
  bitmap.image = image;
  const double scale = image->Scale() > 0.0f ? image->Scale() : 1.0;
  bitmap.width = SaturateTruncate<int>(image->PixelWidth() / scale);
  bitmap.height = SaturateTruncate<int>(image->PixelHeight() / scale);
  bitmap.frameCount = frameCount < 1 ? 1 : frameCount;
  bitmap.framesHorizontal = framesHorizontal;
  bitmap.resourceName = name;
  return bitmap;
}

}  // namespace

// ---- Shared storages ------------------------------------------------------------------------

void Graphics::RetainSharedStorages() {
  BitmapCache().Retain();
  VectorImageCache().Retain();
  FontCache().Retain();
}

void Graphics::ReleaseSharedStorages() {
  BitmapCache().Release();
  VectorImageCache().Release();
  FontCache().Release();
}

// ---- Bitmaps --------------------------------------------------------------------------------

ResourceLocation Graphics::FindImageResource(const char* name, const char* extension,
                                             std::string& location, int targetScale,
                                             int& sourceScale) {
  for (int scale : ScaleSearchOrder(targetScale)) {
    const ResourceLocation found = FindAsset(ScaledVariantName(name, scale), extension, location);
    if (found != ResourceLocation::NotFound) {
      sourceScale = scale;
      return found;
    }
  }
  return ResourceLocation::NotFound;
}

BackendBitmap* Graphics::FindCachedBitmap(const char* name, int targetScale, int& foundScale) {
  std::lock_guard lock(BitmapCache().Mutex());
  for (int scale : ScaleSearchOrder(targetScale)) {
    if (BackendBitmap* image = BitmapCache().Find(name, scale)) {
      foundScale = scale;
      return image;
    }
  }
  return nullptr;
}

Bitmap Graphics::LoadBitmap(const char* name, int frameCount, bool framesHorizontal,
                            int targetScale) {
  if (!name || !*name) return {};
  if (targetScale == 0)
    targetScale = SaturateTruncate<int>(std::ceil(static_cast<double>(drawScale_) * screenScale_));
  if (targetScale < 1) targetScale = 1;
  // Held for the whole load, so two editors never decode the same image twice.
  std::lock_guard lock(BitmapCache().Mutex());
  if (BackendBitmap* cached = BitmapCache().Find(name, targetScale)) {
    return MakeBitmap(cached, frameCount, framesHorizontal, name);
  }
  const std::string extension = ExtensionOf(name);
  if (!IsImageExtensionSupported(extension.c_str())) return {};

  std::string location;
  int sourceScale = 0;
  BackendBitmap* image = nullptr;
  std::unique_ptr<BackendBitmap> decoded;
  const ResourceLocation kind =
      FindImageResource(name, extension.c_str(), location, targetScale, sourceScale);
  if (kind != ResourceLocation::NotFound) {
    if (sourceScale != targetScale) image = BitmapCache().Find(name, sourceScale);
    if (!image) {
      decoded = DecodeBitmap(location.c_str(), sourceScale, kind, extension.c_str());
      image = decoded.get();
    }
  } else {
    int foundScale = 0;
    image = FindCachedBitmap(name, targetScale, foundScale);
  }
  if (!image) return {};

  if (image->Scale() == static_cast<float>(targetScale)) {
    if (decoded) BitmapCache().Add(name, image->Scale(), std::move(decoded));
    return MakeBitmap(image, frameCount, framesHorizontal, name);
  }
  // Redrawn at the target scale; a freshly decoded source is dropped rather than cached.
  return RescaleBitmap(MakeBitmap(image, frameCount, framesHorizontal, name), name, targetScale);
}

Bitmap Graphics::LoadBitmap(const char* name, const void* bytes, int size, int frameCount,
                            bool framesHorizontal, int targetScale) {
  if (!name || !*name || !bytes || size <= 0) return {};
  if (targetScale == 0)
    targetScale = SaturateTruncate<int>(std::ceil(static_cast<double>(drawScale_) * screenScale_));
  if (targetScale < 1) targetScale = 1;
  std::lock_guard lock(BitmapCache().Mutex());
  if (BackendBitmap* cached = BitmapCache().Find(name, targetScale)) {
    return MakeBitmap(cached, frameCount, framesHorizontal, name);
  }
  // Caller bytes are artwork at scale 1, like the embedded strips.
  std::unique_ptr<BackendBitmap> decoded = DecodeBitmap(name, bytes, size, 1);
  if (!decoded) return {};
  if (decoded->Scale() == static_cast<float>(targetScale)) {
    const double scale = decoded->Scale();
    BackendBitmap* image = BitmapCache().Add(name, scale, std::move(decoded));
    return MakeBitmap(image, frameCount, framesHorizontal, name);
  }
  return RescaleBitmap(MakeBitmap(decoded.get(), frameCount, framesHorizontal, name), name,
                       targetScale);
}

Bitmap Graphics::RescaleBitmap(const Bitmap& bitmap, const std::string& name, int targetScale) {
  if (!bitmap.image || targetScale < 1) return {};
  const float savedScreenScale = screenScale_;
  const float savedDrawScale = drawScale_;
  screenScale_ = static_cast<float>(targetScale);
  drawScale_ = bitmap.image->DrawScale();
  const Rect whole(0.0f, 0.0f, static_cast<float>(bitmap.width), static_cast<float>(bitmap.height));
  StartLayer(nullptr, whole, true);
  // Frame by frame, so that filtering never mixes neighbouring frames.
  const int frames = bitmap.FrameCount();
  for (int frame = 0; frame < frames; ++frame) {
    const int srcX =
        bitmap.framesHorizontal ? static_cast<int>(std::int64_t{frame} * bitmap.width / frames) : 0;
    const int srcY = bitmap.framesHorizontal
                         ? 0
                         : static_cast<int>(std::int64_t{frame} * bitmap.height / frames);
    const int endX = bitmap.framesHorizontal
                         ? static_cast<int>(std::int64_t{frame + 1} * bitmap.width / frames)
                         : bitmap.width;
    const int endY = bitmap.framesHorizontal
                         ? bitmap.height
                         : static_cast<int>(std::int64_t{frame + 1} * bitmap.height / frames);
    DrawBitmap(bitmap,
               Rect(static_cast<float>(srcX), static_cast<float>(srcY), static_cast<float>(endX),
                    static_cast<float>(endY)),
               srcX, srcY, nullptr);
  }
  // The surface below gets its clip back at the real scales.
  screenScale_ = savedScreenScale;
  drawScale_ = savedDrawScale;
  std::unique_ptr<Layer> layer = EndLayer();
  if (!layer || !layer->bitmap) return {};
  Bitmap scaled =
      MakeBitmap(layer->bitmap.release(), bitmap.frameCount, bitmap.framesHorizontal, name);
  CacheBitmap(scaled, name);
  return scaled;
}

// Takes ownership of the bitmap's image.
void Graphics::CacheBitmap(const Bitmap& bitmap, const std::string& name) {
  if (!bitmap.image) return;
  std::lock_guard lock(BitmapCache().Mutex());
  BitmapCache().Add(name, bitmap.image->Scale(), std::unique_ptr<BackendBitmap>(bitmap.image));
}

void Graphics::UncacheBitmap(const Bitmap& bitmap) {
  std::lock_guard lock(BitmapCache().Mutex());
  BitmapCache().Remove(bitmap.image);
}

// ---- Layers ---------------------------------------------------------------------------------

void Graphics::StartLayer(Control* control, const Rect& bounds, bool cacheable) {
  const float scale = PixelScale();
  const Rect aligned = bounds.PixelAligned(scale);
  auto layer = std::make_unique<Layer>();
  layer->bitmap = CreateSurfaceBitmap(
      SaturateTruncate<int>(std::ceil(static_cast<double>(aligned.W()) * scale)),
      SaturateTruncate<int>(std::ceil(static_cast<double>(aligned.H()) * scale)),
      SaturateRound<int>(screenScale_), drawScale_, cacheable);
  layer->bounds = aligned;
  layer->control = control;
  layer->cacheable = cacheable;
  layers_.push_back(std::move(layer));
  SelectLayerSurface();
  PathTransformReset();
  SetClipRect(aligned);
  PathClear();
}

std::unique_ptr<Layer> Graphics::EndLayer() {
  if (layers_.empty()) return nullptr;
  std::unique_ptr<Layer> layer = std::move(layers_.back());
  layers_.pop_back();
  SelectLayerSurface();
  PathTransformReset();
  SetClipRect(layers_.empty()
                  ? Rect(0.0f, 0.0f, static_cast<float>(width_), static_cast<float>(height_))
                  : layers_.back()->bounds);
  PathClear();
  return layer;
}

// ---- Vector images --------------------------------------------------------------------------

VectorImage Graphics::LoadVectorImage(const char* name, const void* bytes, int size,
                                      const char* units, float dpi) {
  (void)units, (void)dpi;
  if (!name || !*name || !bytes || size <= 0) return {};
  std::lock_guard lock(VectorImageCache().Mutex());
  CachedVectorDocument* document = VectorImageCache().Find(name, 1.0);
  if (!document) {
    const auto* begin = static_cast<const std::uint8_t*>(bytes);
    document = VectorImageCache().Add(
        name, 1.0,
        std::make_unique<CachedVectorDocument>(CachedVectorDocument{{begin, begin + size}}));
  }
  VectorImage image;
  image.document = document;
  return image;
}

VectorImage Graphics::LoadVectorImage(const char* fileOrResourceName, const char* units,
                                      float dpi) {
  if (!fileOrResourceName) return {};
  const std::vector<std::uint8_t> bytes = ReadResource(fileOrResourceName, "svg");
  if (bytes.size() > static_cast<std::size_t>(INT32_MAX)) return {};
  return LoadVectorImage(fileOrResourceName, bytes.data(), static_cast<int>(bytes.size()), units,
                         dpi);
}

std::vector<std::uint8_t> Graphics::ReadResource(const char* name, const char* type) {
  return ReadResourceBytes(name ? name : "", type ? type : "");
}

// ---- Fonts ----------------------------------------------------------------------------------

bool Graphics::LoadFont(const char* fontId, const char* fileOrResourceName) {
  if (!fontId || !fileOrResourceName) return false;
  const std::unique_ptr<PlatformFont> font = LoadFontFile(fontId, fileOrResourceName);
  if (!font || !CreateBackendFont(fontId, *font)) return false;
  RegisterPlatformFont(fontId, *font);
  return true;
}

bool Graphics::LoadFont(const char* fontId, const void* bytes, int size) {
  if (!fontId || !bytes || size <= 0) return false;
  const std::unique_ptr<PlatformFont> font = LoadFontData(fontId, bytes, size);
  if (!font || !CreateBackendFont(fontId, *font)) return false;
  RegisterPlatformFont(fontId, *font);
  return true;
}

}  // namespace plugkit::gfx
