#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "host/clap/Stream.h"

namespace clapHost {

// The host's side of state saving: collects what the plug-in writes, taking at most
// pieceSize bytes per call, and can be told to fail.
class MemoryOutputStream {
 public:
  explicit MemoryOutputStream(size_t pieceSize = std::numeric_limits<size_t>::max());
  MemoryOutputStream(const MemoryOutputStream&) = delete;
  MemoryOutputStream& operator=(const MemoryOutputStream&) = delete;

  const clap_ostream* Clap() const { return &stream_; }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  size_t WriteCalls() const { return writeCalls_; }

  // Once `afterBytes` bytes are stored, every write returns `result` (0, negative, or a count
  // larger than asked for) and stores nothing.
  void FailAfter(size_t afterBytes, int64_t result);

 private:
  static int64_t Write(const clap_ostream* stream, const void* buffer, uint64_t size);

  clap_ostream stream_;
  size_t pieceSize_;
  std::vector<uint8_t> bytes_;
  size_t writeCalls_ = 0;
  std::optional<size_t> failAfter_;
  int64_t failResult_ = -1;
};

// The host's side of state loading: hands out bytes in pieces of at most pieceSize.
class MemoryInputStream {
 public:
  explicit MemoryInputStream(std::vector<uint8_t> bytes,
                             size_t pieceSize = std::numeric_limits<size_t>::max());
  MemoryInputStream(const MemoryInputStream&) = delete;
  MemoryInputStream& operator=(const MemoryInputStream&) = delete;

  const clap_istream* Clap() const { return &stream_; }
  size_t Position() const { return position_; }
  size_t ReadCalls() const { return readCalls_; }

  // At the end of the data, read returns `result` instead of 0 (a negative value is an error).
  void SetEndResult(int64_t result) { endResult_ = result; }

 private:
  static int64_t Read(const clap_istream* stream, void* buffer, uint64_t size);

  clap_istream stream_;
  std::vector<uint8_t> bytes_;
  size_t pieceSize_;
  size_t position_ = 0;
  size_t readCalls_ = 0;
  int64_t endResult_ = 0;
};

}  // namespace clapHost
