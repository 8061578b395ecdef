#include "framework/PluginProcessor.h"

#include <algorithm>
#include <cstdio>

namespace plugkit {

PluginProcessor::PluginProcessor(const PluginConfig& config)
    : pluginKind_(config.pluginKind),
      receivesMidi_(config.receivesMidi),
      sendsMidi_(config.sendsMidi),
      usesMpe_(config.usesMpe),
      latency_(config.latencySamples),
      layouts_(ParseChannelLayouts(config.channelLayouts ? config.channelLayouts : "")) {
  // Wildcard buses count negative; never size anything below zero.
  const auto inputs = static_cast<size_t>(std::max(layouts_.maxInputChannels, 0));
  const auto outputs = static_cast<size_t>(std::max(layouts_.maxOutputChannels, 0));
  inputPointers_.assign(inputs, nullptr);
  outputPointers_.assign(outputs, nullptr);
  inputSlots_.resize(inputs);
  outputSlots_.resize(outputs);
  for (size_t i = 0; i < inputs; ++i) inputSlots_[i].entry = &inputPointers_[i];
  for (size_t i = 0; i < outputs; ++i) outputSlots_[i].entry = &outputPointers_[i];
}

PluginProcessor::~PluginProcessor() = default;

void PluginProcessor::ProcessAudioBlock(double** inputs, double** outputs, int frames) {
  const int nIn = ChannelSlotCount(Direction::Input);
  const int nOut = ChannelSlotCount(Direction::Output);
  const auto n = static_cast<size_t>(std::max(frames, 0));
  for (int i = 0; i < nOut; ++i) {
    double* out = outputs[i];
    if (!out) continue;
    const double* in = i < nIn ? inputs[i] : nullptr;
    if (in)
      std::copy_n(in, n, out);
    else
      std::fill_n(out, n, 0.0);
  }
}

void PluginProcessor::HandleMidi(const MidiMessage& message) { EmitMidi(message); }

bool PluginProcessor::EmitMidiList(std::span<const MidiMessage> messages) {
  bool allSent = true;
  for (const MidiMessage& message : messages) allSent = EmitMidi(message) && allSent;
  return allSent;
}

void PluginProcessor::BusName(Direction direction, int busIndex, int busCount,
                              std::string& out) const {
  char text[32];
  if (direction == Direction::Input) {
    if (busCount == 1) {
      out = "Input";
      return;
    }
    if (busCount == 2) {
      out = busIndex == 0 ? "Main" : "Aux";
      return;
    }
    std::snprintf(text, sizeof text, "Input %i", busIndex);
  } else {
    if (busCount == 1) {
      out = "Output";
      return;
    }
    std::snprintf(text, sizeof text, "Output %i", busIndex);
  }
  out = text;
}

std::pair<int, int> PluginProcessor::Range(const std::vector<ChannelSlot>& slots, int first,
                                           int count) {
  const int size = static_cast<int>(slots.size());
  const int begin = std::clamp(first, 0, size);
  // Computed in 64 bits so that huge counts cannot overflow.
  const long long end = std::clamp<long long>(static_cast<long long>(first) + count, begin, size);
  return {begin, static_cast<int>(end)};
}

void PluginProcessor::MarkChannelsConnected(Direction direction, int first, int count,
                                            bool connected) {
  auto& slots = Slots(direction);
  const auto [begin, end] = Range(slots, first, count);
  for (int i = begin; i < end; ++i) {
    ChannelSlot& slot = slots[static_cast<size_t>(i)];
    slot.connected = connected;
    if (!connected) {
      *slot.entry = slot.scratch.data();
      slot.hostOutput32 = nullptr;
    }
  }
}

namespace {

// Hands the host's buffers out in order to the connected slots of the range.
template <class Slots, class Attach>
void AttachToConnected(Slots& slots, std::pair<int, int> range, Attach attach) {
  int next = 0;
  for (int i = range.first; i < range.second; ++i) {
    auto& slot = slots[static_cast<size_t>(i)];
    if (slot.connected) attach(slot, next++);
  }
}

}  // namespace

void PluginProcessor::AttachHostBuffers64(Direction direction, int first, int count,
                                          double* const* pointers) {
  if (!pointers) return;
  auto& slots = Slots(direction);
  AttachToConnected(slots, Range(slots, first, count), [pointers](auto& slot, int next) {
    *slot.entry = pointers[next];
    slot.hostOutput32 = nullptr;
  });
}

void PluginProcessor::AttachHostBuffers32(Direction direction, int first, int count,
                                          float* const* pointers, int frames) {
  if (!pointers) return;
  auto& slots = Slots(direction);
  AttachToConnected(slots, Range(slots, first, count), [&](auto& slot, int next) {
    float* host = pointers[next];
    if (direction == Direction::Input && host) {
      const size_t n = std::min(static_cast<size_t>(std::max(frames, 0)), slot.scratch.size());
      for (size_t s = 0; s < n; ++s) slot.scratch[s] = host[s];
      slot.hostOutput32 = nullptr;
    } else {
      slot.hostOutput32 = direction == Direction::Output ? host : nullptr;
    }
    *slot.entry = slot.scratch.data();
  });
}

void PluginProcessor::RunBlock64(int frames) {
  ProcessAudioBlock(inputPointers_.data(), outputPointers_.data(), frames);
}

void PluginProcessor::RunBlock32(int frames) {
  ProcessAudioBlock(inputPointers_.data(), outputPointers_.data(), frames);
  for (ChannelSlot& slot : outputSlots_) {
    if (!slot.connected || !slot.hostOutput32) continue;
    const size_t n = std::min(static_cast<size_t>(std::max(frames, 0)), slot.scratch.size());
    for (size_t s = 0; s < n; ++s) slot.hostOutput32[s] = static_cast<float>(slot.scratch[s]);
  }
}

void PluginProcessor::PrepareBlockSize(int frames) {
  frames = std::max(frames, 0);
  if (frames == blockSize_) return;
  for (auto* slots : {&inputSlots_, &outputSlots_}) {
    for (ChannelSlot& slot : *slots) {
      slot.scratch.assign(static_cast<size_t>(frames), 0.0);
      // The old buffer is gone and host pointers are stale between blocks.
      *slot.entry = slot.scratch.data();
    }
  }
  blockSize_ = frames;
}

bool PluginProcessor::IsChannelConnected(Direction direction, int index) const {
  const auto& slots = Slots(direction);
  return index >= 0 && index < static_cast<int>(slots.size()) &&
         slots[static_cast<size_t>(index)].connected;
}

int PluginProcessor::ConnectedChannelCount(Direction direction) const {
  const auto& slots = Slots(direction);
  return static_cast<int>(
      std::count_if(slots.begin(), slots.end(), [](const ChannelSlot& s) { return s.connected; }));
}

int PluginProcessor::MaxBusCount(Direction direction, int* layoutIndex) const {
  int best = 0;
  int bestIndex = -1;
  for (size_t i = 0; i < layouts_.layouts.size(); ++i) {
    const int count = static_cast<int>(layouts_.layouts[i].Buses(direction).size());
    if (count >= best) {
      best = count;
      bestIndex = static_cast<int>(i);
    }
  }
  if (layoutIndex) *layoutIndex = bestIndex;
  return best;
}

}  // namespace plugkit
