#include "framework/ByteChunk.h"

#include <cstring>

namespace plugkit {

int ByteChunk::PutBytes(const void* bytes, int n) {
  if (n > 0 && bytes) {
    const auto* first = static_cast<const uint8_t*>(bytes);
    bytes_.insert(bytes_.end(), first, first + n);
  }
  return Size();
}

int ByteChunk::GetBytes(void* out, int n, int position) const {
  if (position < 0 || n < 0 || position > Size() || Size() - position < n) return -1;
  if (n > 0) std::memcpy(out, bytes_.data() + position, static_cast<size_t>(n));
  return position + n;
}

}  // namespace plugkit
