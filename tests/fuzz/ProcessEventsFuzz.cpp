// process and params.flush with an input event list built from arbitrary bytes: any header
// size, space, type and payload, SysEx bytes from the input, any frame count up to the
// announced maximum and either sample size. The output must stay finite.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "tests/fuzz/FuzzInstance.h"

namespace {

// Large enough for every core event, whatever size the header claims.
constexpr size_t kEventStorage = 128;

struct EventList {
  std::vector<std::array<uint64_t, kEventStorage / 8>> events;
};

uint32_t Size(const clap_input_events* list) {
  return static_cast<uint32_t>(static_cast<const EventList*>(list->ctx)->events.size());
}

const clap_event_header* Get(const clap_input_events* list, uint32_t index) {
  const auto& events = static_cast<const EventList*>(list->ctx)->events;
  if (index >= events.size()) return nullptr;
  return reinterpret_cast<const clap_event_header*>(events[index].data());
}

bool Push(const clap_output_events*, const clap_event_header*) { return true; }

class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  size_t Remaining() const { return size_ - position_; }
  size_t Take(void* out, size_t n) {
    n = std::min(n, Remaining());
    std::memcpy(out, data_ + position_, n);
    position_ += n;
    return n;
  }
  uint8_t Byte() {
    uint8_t b = 0;
    Take(&b, 1);
    return b;
  }
  const uint8_t* Here() const { return data_ + position_; }
  void Skip(size_t n) { position_ += std::min(n, Remaining()); }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static quorvelFuzz::FuzzInstance instance;
  Reader reader(data, size);
  const uint32_t frames = reader.Byte() % (quorvelFuzz::kMaxFrames + 1);
  const bool use64 = (reader.Byte() & 1) != 0;
  const bool viaFlush = (reader.Byte() & 1) != 0;

  EventList list;
  while (reader.Remaining() > 0 && list.events.size() < 64) {
    auto& storage = list.events.emplace_back();
    storage.fill(0);
    const size_t length = reader.Byte() % (sizeof(clap_event_midi_sysex) + 24);
    reader.Take(storage.data(), length);
    auto* header = reinterpret_cast<clap_event_header*>(storage.data());
    // Most events keep the core space so that the parsing behind it is reached.
    if (header->space_id & 0x8000) header->space_id = 0;
    header->type = static_cast<uint16_t>(header->type % 14);
    if (header->type == CLAP_EVENT_MIDI_SYSEX) {
      auto* sysex = reinterpret_cast<clap_event_midi_sysex*>(storage.data());
      const uint8_t mode = reader.Byte();
      sysex->size = std::min<uint32_t>(mode, static_cast<uint32_t>(reader.Remaining()));
      sysex->buffer = (mode & 3) == 0 && sysex->size == 0 ? nullptr : reader.Here();
      reader.Skip(sysex->size);
    }
  }
  const clap_input_events in{&list, Size, Get};
  const clap_output_events out{nullptr, Push};

  std::array<std::array<double, quorvelFuzz::kMaxFrames>, 4> samples64{};
  std::array<std::array<float, quorvelFuzz::kMaxFrames>, 4> samples32{};
  std::array<double*, 4> channels64{};
  std::array<float*, 4> channels32{};
  for (size_t c = 0; c < 4; ++c) {
    for (uint32_t f = 0; f < quorvelFuzz::kMaxFrames; ++f) {
      samples64[c][f] = std::sin(0.01 * f + static_cast<double>(c));
      samples32[c][f] = static_cast<float>(samples64[c][f]);
    }
    channels64[c] = samples64[c].data();
    channels32[c] = samples32[c].data();
  }
  clap_audio_buffer inputs[2]{};
  clap_audio_buffer outputs[1]{};
  for (size_t port = 0; port < 2; ++port) {
    inputs[port].channel_count = 2;
    if (use64) {
      inputs[port].data64 = channels64.data() + 2 * port;
    } else {
      inputs[port].data32 = channels32.data() + 2 * port;
    }
  }
  outputs[0].channel_count = 2;
  if (use64) {
    outputs[0].data64 = channels64.data();  // in place
  } else {
    outputs[0].data32 = channels32.data();
  }

  if (viaFlush) {
    instance.Get<clap_plugin_params>(CLAP_EXT_PARAMS).flush(instance.Plugin(), &in, &out);
  }
  clap_process process{};
  process.steady_time = -1;
  process.frames_count = frames;
  process.audio_inputs = inputs;
  process.audio_outputs = outputs;
  process.audio_inputs_count = 2;
  process.audio_outputs_count = 1;
  process.in_events = viaFlush ? nullptr : &in;
  process.out_events = &out;
  if (instance.Plugin()->process(instance.Plugin(), &process) == CLAP_PROCESS_ERROR) std::abort();
  for (size_t c = 0; c < 2; ++c) {
    for (uint32_t f = 0; f < frames; ++f) {
      const double sample = use64 ? samples64[c][f] : samples32[c][f];
      if (!std::isfinite(sample)) std::abort();
    }
  }
  instance.CheckParameters();
  return 0;
}
