#pragma once

#include <bit>
#include <cstdint>
#include <type_traits>
#include <vector>

namespace plugkit {

static_assert(std::endian::native == std::endian::little,
              "saved state is little-endian; a big-endian target needs byte swapping here");

// Growable byte buffer for state chunks and preset data. Values are stored in native
// (little-endian) order.
class ByteChunk {
 public:
  // Appends n bytes and returns the new size.
  int PutBytes(const void* bytes, int n);
  // Reads n bytes at position; returns the position after them, or -1 when fewer than n
  // bytes remain (or the position is outside the chunk).
  int GetBytes(void* out, int n, int position) const;

  template <typename T>
  int Put(const T& value) {
    static_assert(std::is_trivially_copyable_v<T>);
    return PutBytes(&value, static_cast<int>(sizeof(T)));
  }
  template <typename T>
  int Get(T& value, int position) const {
    static_assert(std::is_trivially_copyable_v<T>);
    return GetBytes(&value, static_cast<int>(sizeof(T)), position);
  }

  int Size() const { return static_cast<int>(bytes_.size()); }
  const uint8_t* Data() const { return bytes_.data(); }
  void Clear() { bytes_.clear(); }

 private:
  std::vector<uint8_t> bytes_;
};

}  // namespace plugkit
