#include "graphics/platform/PlatformFonts.h"

#include <string>
#include <vector>

#include "graphics/FontData.h"
#include "graphics/Resources.h"

namespace plugkit::gfx {

std::unique_ptr<PlatformFont> MakePlatformFont(const void* bytes, int size) {
  if (!bytes || size <= 0) return nullptr;
  const auto* begin = static_cast<const unsigned char*>(bytes);
  std::vector<unsigned char> fileBytes(begin, begin + size);
  FontData face = ReadFontData(std::move(fileBytes), 0);
  if (!face.IsValid()) return nullptr;
  return std::make_unique<PlatformFont>(std::move(face.bytes), std::string());
}

std::unique_ptr<PlatformFont> LoadPlatformFontFile(const char* fileOrResourceName) {
  if (!fileOrResourceName) return nullptr;
  std::string location;
  switch (FindAsset(fileOrResourceName, "ttf", location)) {
    case ResourceLocation::FilePath: {
      const std::vector<unsigned char> bytes = ReadWholeFile(location);
      if (bytes.size() > static_cast<std::size_t>(INT32_MAX)) return nullptr;
      return MakePlatformFont(bytes.data(), static_cast<int>(bytes.size()));
    }
    case ResourceLocation::Embedded: {
      const auto bytes = ReadEmbeddedResource(location, "ttf");
      if (bytes.size() > static_cast<std::size_t>(INT32_MAX)) return nullptr;
      return MakePlatformFont(bytes.data(), static_cast<int>(bytes.size()));
    }
    case ResourceLocation::NotFound:
      break;
  }
  return nullptr;
}

}  // namespace plugkit::gfx
