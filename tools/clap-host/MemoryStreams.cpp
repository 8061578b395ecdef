#include "tools/clap-host/MemoryStreams.h"

#include <algorithm>
#include <cstring>

namespace clapHost {

MemoryOutputStream::MemoryOutputStream(size_t pieceSize)
    : stream_{this, Write}, pieceSize_(std::max<size_t>(pieceSize, 1)) {}

void MemoryOutputStream::FailAfter(size_t afterBytes, int64_t result) {
  failAfter_ = afterBytes;
  failResult_ = result;
}

// [main-thread]
int64_t MemoryOutputStream::Write(const clap_ostream* stream, const void* buffer, uint64_t size) {
  auto& self = *static_cast<MemoryOutputStream*>(stream->ctx);
  ++self.writeCalls_;
  if (self.failAfter_ && self.bytes_.size() >= *self.failAfter_) return self.failResult_;
  if (buffer == nullptr) return -1;
  size_t count = static_cast<size_t>(std::min<uint64_t>(size, self.pieceSize_));
  if (self.failAfter_) count = std::min(count, *self.failAfter_ - self.bytes_.size());
  const auto* bytes = static_cast<const uint8_t*>(buffer);
  self.bytes_.insert(self.bytes_.end(), bytes, bytes + count);
  return static_cast<int64_t>(count);
}

MemoryInputStream::MemoryInputStream(std::vector<uint8_t> bytes, size_t pieceSize)
    : stream_{this, Read}, bytes_(std::move(bytes)), pieceSize_(std::max<size_t>(pieceSize, 1)) {}

// [main-thread]
int64_t MemoryInputStream::Read(const clap_istream* stream, void* buffer, uint64_t size) {
  auto& self = *static_cast<MemoryInputStream*>(stream->ctx);
  ++self.readCalls_;
  const size_t left = self.bytes_.size() - self.position_;
  if (left == 0) return self.endResult_;
  if (buffer == nullptr) return -1;
  const size_t count = static_cast<size_t>(std::min<uint64_t>({size, self.pieceSize_, left}));
  std::memcpy(buffer, self.bytes_.data() + self.position_, count);
  self.position_ += count;
  return static_cast<int64_t>(count);
}

}  // namespace clapHost
