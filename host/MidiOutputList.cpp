#include "host/MidiOutputList.h"

#include <algorithm>
#include <climits>

namespace plugkit {
namespace {

uint32_t EventTime(int32_t offset) { return offset > 0 ? static_cast<uint32_t>(offset) : 0; }

}  // namespace

MidiOutputList::MidiOutputList() {
  midi_.reserve(kGrowth);
  sysEx_.reserve(kGrowth);
}

template <class Entry>
bool MidiOutputList::InsertSorted(std::vector<Entry>& list, size_t firstPending,
                                  const Entry& entry) {
  if (list.size() == list.capacity()) {
    try {
      list.reserve(list.capacity() + kGrowth);
    } catch (...) {
      return false;
    }
  }
  // After the entries of equal offset, so messages of one instant keep their order.
  const auto at =
      std::upper_bound(list.begin() + static_cast<std::ptrdiff_t>(firstPending), list.end(), entry,
                       [](const Entry& a, const Entry& b) { return a.offset < b.offset; });
  list.insert(at, entry);
  return true;
}

bool MidiOutputList::AddMidi(const MidiMessage& message) {
  return InsertSorted(midi_, midiSent_, message);
}

bool MidiOutputList::AddSysEx(const SysExMessage& message) {
  SysExRecord record;
  record.Assign(message);
  return InsertSorted(sysEx_, sysExSent_, record);
}

void MidiOutputList::DiscardSent() {
  midi_.erase(midi_.begin(), midi_.begin() + static_cast<std::ptrdiff_t>(midiSent_));
  sysEx_.erase(sysEx_.begin(), sysEx_.begin() + static_cast<std::ptrdiff_t>(sysExSent_));
  midiSent_ = 0;
  sysExSent_ = 0;
}

void MidiOutputList::PushMidi(const clap_output_events* out, const MidiMessage& message) {
  const int kind = message.status >> 4;
  if (kind == 0x9 || kind == 0x8) {
    clap_event_note note{};
    note.header = {sizeof(clap_event_note), EventTime(message.offset), CLAP_CORE_EVENT_SPACE_ID,
                   static_cast<uint16_t>(kind == 0x9 ? CLAP_EVENT_NOTE_ON : CLAP_EVENT_NOTE_OFF),
                   0};
    note.note_id = -1;
    note.port_index = 0;
    note.channel = static_cast<int16_t>(message.status & 0x0F);
    note.key = message.data1;
    note.velocity = message.data2 / 127.0;
    out->try_push(out, &note.header);
    return;
  }
  clap_event_midi midi{};
  midi.header = {sizeof(clap_event_midi), EventTime(message.offset), CLAP_CORE_EVENT_SPACE_ID,
                 CLAP_EVENT_MIDI, 0};
  midi.port_index = 0;
  midi.data[0] = message.status;
  midi.data[1] = message.data1;
  midi.data[2] = message.data2;
  out->try_push(out, &midi.header);
}

void MidiOutputList::PushSysEx(const clap_output_events* out, const SysExRecord& record) {
  clap_event_midi_sysex sysex{};
  sysex.header = {sizeof(clap_event_midi_sysex), EventTime(record.offset), CLAP_CORE_EVENT_SPACE_ID,
                  CLAP_EVENT_MIDI_SYSEX, 0};
  sysex.port_index = 0;
  sysex.buffer = record.data;
  sysex.size = static_cast<uint32_t>(record.size);
  out->try_push(out, &sysex.header);
}

void MidiOutputList::Send(const clap_output_events* out, uint32_t frames) {
  const bool canPush = out && out->try_push;
  // Offsets are compared in 64 bits: a negative offset is earlier than everything.
  const int64_t end = frames;
  size_t midi = midiSent_;
  size_t sysex = sysExSent_;
  for (;;) {
    const bool hasMidi = midi < midi_.size() && midi_[midi].offset < end;
    const bool hasSysEx = sysex < sysEx_.size() && sysEx_[sysex].offset < end;
    if (!hasMidi && !hasSysEx) break;
    if (hasMidi && (!hasSysEx || midi_[midi].offset < sysEx_[sysex].offset)) {
      if (canPush) PushMidi(out, midi_[midi]);
      ++midi;
    } else {
      if (canPush) PushSysEx(out, sysEx_[sysex]);
      ++sysex;
    }
  }
  midiSent_ = midi;
  sysExSent_ = sysex;
  const auto shift = [frames](auto& list, size_t from) {
    for (size_t i = from; i < list.size(); ++i) {
      const int64_t moved = static_cast<int64_t>(list[i].offset) - frames;
      list[i].offset = static_cast<int32_t>(std::max<int64_t>(moved, INT32_MIN));
    }
  };
  shift(midi_, midi);
  shift(sysEx_, sysex);
}

}  // namespace plugkit
