// clap.state load with arbitrary bytes, read through a stream whose piece size the input
// chooses. Whatever it accepts must leave every parameter valid and save 480 bytes again;
// whatever it refuses must change nothing.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "tests/fuzz/FuzzInstance.h"

namespace {

struct Stream {
  const uint8_t* data;
  size_t size;
  size_t position;
  size_t piece;
};

int64_t Read(const clap_istream* stream, void* buffer, uint64_t size) {
  auto* self = static_cast<Stream*>(stream->ctx);
  const size_t n =
      std::min<size_t>({static_cast<size_t>(size), self->piece, self->size - self->position});
  std::memcpy(buffer, self->data + self->position, n);
  self->position += n;
  return static_cast<int64_t>(n);
}

int64_t Write(const clap_ostream* stream, const void* buffer, uint64_t size) {
  auto* bytes = static_cast<std::vector<uint8_t>*>(stream->ctx);
  const auto* begin = static_cast<const uint8_t*>(buffer);
  bytes->insert(bytes->end(), begin, begin + size);
  return static_cast<int64_t>(size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static quorvelFuzz::FuzzInstance instance;
  if (size == 0) return 0;
  const size_t piece = data[0] == 0 ? 1 : data[0];
  Stream source{data + 1, size - 1, 0, piece};
  const clap_istream input{&source, Read};
  const auto& state = instance.Get<clap_plugin_state>(CLAP_EXT_STATE);
  std::vector<uint8_t> before;
  const clap_ostream beforeOutput{&before, Write};
  if (!state.save(instance.Plugin(), &beforeOutput)) std::abort();
  const bool loaded = state.load(instance.Plugin(), &input);
  instance.CheckParameters();

  std::vector<uint8_t> saved;
  const clap_ostream output{&saved, Write};
  if (!state.save(instance.Plugin(), &output) || saved.size() != 480) std::abort();
  // A refused state changes nothing.
  if (!loaded && saved != before) std::abort();
  // What was just saved must load back and save identically.
  Stream again{saved.data(), saved.size(), 0, 17};
  const clap_istream reload{&again, Read};
  if (!state.load(instance.Plugin(), &reload)) std::abort();
  std::vector<uint8_t> resaved;
  const clap_ostream output2{&resaved, Write};
  if (!state.save(instance.Plugin(), &output2) || resaved != saved) std::abort();
  return 0;
}
