#include "tools/clap-host/EventLists.h"

#include <algorithm>

namespace clapHost {
namespace {

clap_event_header Header(uint32_t time, uint16_t type, size_t size) {
  return clap_event_header{static_cast<uint32_t>(size), time, CLAP_CORE_EVENT_SPACE_ID, type, 0};
}

size_t Words(size_t bytes) { return (bytes + sizeof(uint64_t) - 1) / sizeof(uint64_t); }

}  // namespace

clap_event_param_value MakeParamValue(uint32_t time, clap_id paramId, double value) {
  clap_event_param_value event{};
  event.header = Header(time, CLAP_EVENT_PARAM_VALUE, sizeof(event));
  event.param_id = paramId;
  event.note_id = -1;
  event.port_index = -1;
  event.channel = -1;
  event.key = -1;
  event.value = value;
  return event;
}

clap_event_param_gesture MakeGesture(uint32_t time, clap_id paramId, bool begin) {
  clap_event_param_gesture event{};
  event.header = Header(time, begin ? CLAP_EVENT_PARAM_GESTURE_BEGIN : CLAP_EVENT_PARAM_GESTURE_END,
                        sizeof(event));
  event.param_id = paramId;
  return event;
}

clap_event_note MakeNote(uint32_t time, bool on, int16_t channel, int16_t key, double velocity) {
  clap_event_note event{};
  event.header = Header(time, on ? CLAP_EVENT_NOTE_ON : CLAP_EVENT_NOTE_OFF, sizeof(event));
  event.note_id = -1;
  event.channel = channel;
  event.key = key;
  event.velocity = velocity;
  return event;
}

clap_event_midi MakeMidi(uint32_t time, uint8_t status, uint8_t data1, uint8_t data2) {
  clap_event_midi event{};
  event.header = Header(time, CLAP_EVENT_MIDI, sizeof(event));
  event.data[0] = status;
  event.data[1] = data1;
  event.data[2] = data2;
  return event;
}

clap_event_transport MakeTransport(uint32_t time) {
  clap_event_transport event{};
  event.header = Header(time, CLAP_EVENT_TRANSPORT, sizeof(event));
  event.tempo = 120.0;
  event.tsig_num = 4;
  event.tsig_denom = 4;
  return event;
}

InputEventList::InputEventList() : clapList_{this, SizeOf, Get} {}

void InputEventList::Clear() {
  events_.clear();
  sysexBytes_.clear();
}

void InputEventList::AddBytes(const void* event, size_t size) {
  const auto* header = static_cast<const clap_event_header*>(event);
  std::vector<uint64_t> words(Words(std::max<size_t>(size, header->size)), 0);
  std::memcpy(words.data(), event, size);
  events_.push_back(std::move(words));
}

void InputEventList::AddSysex(uint32_t time, std::vector<uint8_t> bytes) {
  sysexBytes_.push_back(std::move(bytes));
  const std::vector<uint8_t>& stored = sysexBytes_.back();
  AddSysexPointer(time, stored.data(), static_cast<uint32_t>(stored.size()));
}

void InputEventList::AddSysexPointer(uint32_t time, const uint8_t* buffer, uint32_t size) {
  clap_event_midi_sysex event{};
  event.header = Header(time, CLAP_EVENT_MIDI_SYSEX, sizeof(event));
  event.buffer = buffer;
  event.size = size;
  Add(event);
}

void InputEventList::AddNull() { events_.emplace_back(); }

// [audio-thread]
uint32_t InputEventList::SizeOf(const clap_input_events* list) {
  return static_cast<const InputEventList*>(list->ctx)->Size();
}

// [audio-thread]
const clap_event_header* InputEventList::Get(const clap_input_events* list, uint32_t index) {
  const auto& events = static_cast<const InputEventList*>(list->ctx)->events_;
  if (index >= events.size() || events[index].empty()) return nullptr;
  return reinterpret_cast<const clap_event_header*>(events[index].data());
}

OutputEventList::OutputEventList(size_t capacity) : clapList_{this, TryPush}, capacity_(capacity) {}

void OutputEventList::Clear() {
  events_.clear();
  refused_ = 0;
}

const clap_event_header& OutputEventList::Header(size_t index) const {
  return *reinterpret_cast<const clap_event_header*>(events_.at(index).bytes.data());
}

// [audio-thread]
bool OutputEventList::TryPush(const clap_output_events* list, const clap_event_header* event) {
  auto& self = *static_cast<OutputEventList*>(list->ctx);
  if (event == nullptr || event->size < sizeof(clap_event_header) ||
      self.events_.size() >= self.capacity_) {
    ++self.refused_;
    return false;
  }
  Captured captured;
  captured.bytes.assign(Words(event->size), 0);
  std::memcpy(captured.bytes.data(), event, event->size);
  if (event->space_id == CLAP_CORE_EVENT_SPACE_ID && event->type == CLAP_EVENT_MIDI_SYSEX &&
      event->size >= sizeof(clap_event_midi_sysex)) {
    const auto* sysex = reinterpret_cast<const clap_event_midi_sysex*>(event);
    if (sysex->buffer != nullptr) captured.sysex.assign(sysex->buffer, sysex->buffer + sysex->size);
  }
  self.events_.push_back(std::move(captured));
  return true;
}

}  // namespace clapHost
