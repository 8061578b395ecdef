#include "graphics/CacheStorage.h"

#include <algorithm>
#include <cstdio>

namespace plugkit::gfx {

std::uint64_t CacheKeyHash(std::string_view name, double scale) {
  char suffix[48];
  int length = std::snprintf(suffix, sizeof suffix, "-%.1fx", scale);
  std::uint64_t hash = 14695981039346656037ull;
  auto mix = [&hash](std::string_view bytes) {
    for (unsigned char c : bytes) {
      hash ^= c;
      hash *= 1099511628211ull;
    }
  };
  mix(name);
  if (length > 0) mix(std::string_view(suffix, std::min<std::size_t>(length, sizeof suffix - 1)));
  return hash;
}

}  // namespace plugkit::gfx
