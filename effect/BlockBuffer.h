#pragma once

#include <cstddef>
#include <vector>

namespace quorvel {

// Per-block buffers only grow: the engine sizes them for the longest block ahead of
// processing, so the audio thread never allocates in normal operation.
template <class T>
void GrowBlockBuffer(std::vector<T>& buffer, std::size_t n) {
  if (buffer.size() < n) buffer.resize(n);
}

}  // namespace quorvel
