#pragma once

#include <cstdint>

namespace plugkit {

// One short MIDI message at a sample offset within the block.
struct MidiMessage {
  int32_t offset = 0;
  uint8_t status = 0;
  uint8_t data1 = 0;
  uint8_t data2 = 0;
};

// A SysEx message that borrows its bytes from the caller.
struct SysExMessage {
  int32_t offset = 0;
  int32_t size = 0;
  const uint8_t* data = nullptr;
};

// A SysEx message with its bytes copied in, so it can travel through a queue.
struct SysExRecord {
  static constexpr int32_t kMaxBytes = 512;

  int32_t offset = 0;
  int32_t size = 0;
  uint8_t data[kMaxBytes] = {};

  // Copies the message; longer messages are cut at kMaxBytes, a null or negative-sized one
  // becomes empty.
  void Assign(const SysExMessage& message);
  SysExMessage View() const { return {offset, size, data}; }
};

static_assert(sizeof(SysExRecord) == 520);

}  // namespace plugkit
