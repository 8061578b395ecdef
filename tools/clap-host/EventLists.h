#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>
#include <limits>
#include <memory>
#include <vector>

#include "host/clap/Events.h"

namespace clapHost {

// Core events with their headers filled in; adjust any field before adding them to a list.
clap_event_param_value MakeParamValue(uint32_t time, clap_id paramId, double value);
clap_event_param_gesture MakeGesture(uint32_t time, clap_id paramId, bool begin);
clap_event_note MakeNote(uint32_t time, bool on, int16_t channel, int16_t key, double velocity);
clap_event_midi MakeMidi(uint32_t time, uint8_t status, uint8_t data1, uint8_t data2);
// Stopped, 120 BPM, 4/4, no timeline flags.
clap_event_transport MakeTransport(uint32_t time = 0);

// The host's input event list for one process or flush call. Events keep whatever size,
// space and type their header says, so malformed events can be sent on purpose.
class InputEventList {
 public:
  InputEventList();
  InputEventList(const InputEventList&) = delete;
  InputEventList& operator=(const InputEventList&) = delete;

  const clap_input_events* Clap() const { return &clapList_; }
  uint32_t Size() const { return static_cast<uint32_t>(events_.size()); }
  void Clear();

  // Copies the event; the storage is at least as large as the header's size claims.
  template <class Event>
  void Add(const Event& event) {
    AddBytes(&event, sizeof(Event));
  }
  // A SysEx event whose bytes the list keeps alive.
  void AddSysex(uint32_t time, std::vector<uint8_t> bytes);
  // A SysEx event pointing at caller-owned bytes (or at null).
  void AddSysexPointer(uint32_t time, const uint8_t* buffer, uint32_t size);
  // An entry for which get returns null.
  void AddNull();

 private:
  void AddBytes(const void* event, size_t size);
  static uint32_t SizeOf(const clap_input_events* list);
  static const clap_event_header* Get(const clap_input_events* list, uint32_t index);

  clap_input_events clapList_;
  // 8-byte words keep 64-bit fields aligned; an empty vector stands for a null entry.
  std::vector<std::vector<uint64_t>> events_;
  std::deque<std::vector<uint8_t>> sysexBytes_;
};

// Captures what the plug-in pushes: a copy of each event and, for SysEx, of its bytes.
class OutputEventList {
 public:
  // Pushes beyond capacity are refused, as a full host queue would.
  explicit OutputEventList(size_t capacity = std::numeric_limits<size_t>::max());
  OutputEventList(const OutputEventList&) = delete;
  OutputEventList& operator=(const OutputEventList&) = delete;

  const clap_output_events* Clap() const { return &clapList_; }
  size_t Size() const { return events_.size(); }
  size_t RefusedCount() const { return refused_; }
  void Clear();

  const clap_event_header& Header(size_t index) const;
  // The event as the given type; bytes beyond the pushed size read as zero.
  template <class Event>
  Event As(size_t index) const {
    Event event{};
    const auto& bytes = events_.at(index).bytes;
    std::memcpy(&event, bytes.data(), std::min(sizeof(Event), bytes.size() * sizeof(uint64_t)));
    return event;
  }
  const std::vector<uint8_t>& SysexBytes(size_t index) const { return events_.at(index).sysex; }

 private:
  struct Captured {
    std::vector<uint64_t> bytes;
    std::vector<uint8_t> sysex;
  };
  static bool TryPush(const clap_output_events* list, const clap_event_header* event);

  clap_output_events clapList_;
  size_t capacity_;
  size_t refused_ = 0;
  std::vector<Captured> events_;
};

}  // namespace clapHost
