#include "framework/MidiMessage.h"

#include <algorithm>
#include <cstring>

namespace plugkit {

void SysExRecord::Assign(const SysExMessage& message) {
  offset = message.offset;
  size = message.data ? std::clamp(message.size, 0, kMaxBytes) : 0;
  if (size > 0) std::memcpy(data, message.data, static_cast<size_t>(size));
}

}  // namespace plugkit
