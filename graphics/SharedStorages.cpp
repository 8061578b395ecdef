#include "graphics/SharedStorages.h"

namespace plugkit::gfx {

CacheStorage<BackendBitmap>& BitmapCache() {
  static CacheStorage<BackendBitmap> storage;
  return storage;
}

CacheStorage<CachedVectorDocument>& VectorImageCache() {
  static CacheStorage<CachedVectorDocument> storage;
  return storage;
}

CacheStorage<CachedFont>& FontCache() {
  static CacheStorage<CachedFont> storage;
  return storage;
}

}  // namespace plugkit::gfx
