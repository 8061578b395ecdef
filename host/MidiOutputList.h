#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/MidiMessage.h"
#include "host/clap/Events.h"

namespace plugkit {

// MIDI and SysEx messages the processor emits, each list kept sorted by sample offset, sent
// to the host merged in time order. Room grows in steps of 512 entries, and only when full,
// so the audio thread allocates only when a block emits more than ever before.
class MidiOutputList {
 public:
  static constexpr size_t kGrowth = 512;

  MidiOutputList();

  // [audio-thread] False when the list was full and could not grow (the message is dropped).
  bool AddMidi(const MidiMessage& message);
  bool AddSysEx(const SysExMessage& message);

  // [audio-thread] Removes what the last Send handed to the host. The host may read SysEx
  // bytes until process returns, so they stay in place until the next block starts.
  void DiscardSent();

  // [audio-thread] Sends the messages with offsets below frames, earliest first (MIDI
  // before SysEx only when strictly earlier), and moves the rest into the next block.
  void Send(const clap_output_events* out, uint32_t frames);

  size_t PendingMidi() const { return midi_.size() - midiSent_; }
  size_t PendingSysEx() const { return sysEx_.size() - sysExSent_; }

 private:
  template <class Entry>
  static bool InsertSorted(std::vector<Entry>& list, size_t firstPending, const Entry& entry);
  static void PushMidi(const clap_output_events* out, const MidiMessage& message);
  static void PushSysEx(const clap_output_events* out, const SysExRecord& record);

  std::vector<MidiMessage> midi_;
  std::vector<SysExRecord> sysEx_;
  // Entries at the front of each list that were sent in the last block.
  size_t midiSent_ = 0;
  size_t sysExSent_ = 0;
};

}  // namespace plugkit
