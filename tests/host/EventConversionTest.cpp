// The output message lists and the transport conversion of the process call.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "host/MidiOutputList.h"
#include "host/TransportConversion.h"

namespace {

using plugkit::MidiMessage;
using plugkit::MidiOutputList;
using plugkit::SysExMessage;

struct Sent {
  uint16_t type;
  uint32_t time;
  uint8_t first;  // status byte or the first SysEx byte
};

class Capture {
 public:
  Capture() {
    list_.ctx = this;
    list_.try_push = [](const clap_output_events* list, const clap_event_header* event) {
      auto* self = static_cast<Capture*>(list->ctx);
      uint8_t first = 0;
      if (event->type == CLAP_EVENT_MIDI) {
        first = reinterpret_cast<const clap_event_midi*>(event)->data[0];
      } else if (event->type == CLAP_EVENT_MIDI_SYSEX) {
        first = reinterpret_cast<const clap_event_midi_sysex*>(event)->buffer[0];
      } else {
        first = static_cast<uint8_t>(reinterpret_cast<const clap_event_note*>(event)->key);
      }
      self->sent.push_back({event->type, event->time, first});
      return true;
    };
  }
  const clap_output_events* Clap() const { return &list_; }
  std::vector<Sent> sent;

 private:
  clap_output_events list_{};
};

TEST(MidiOutputListTest, MergesByTimeWithSysExFirstOnTiesAndCarriesLateOnes) {
  MidiOutputList list;
  const uint8_t a[] = {0xA1};
  const uint8_t b[] = {0xB2};
  list.AddMidi({10, 0xB0, 1, 2});
  list.AddMidi({3, 0xC0, 4, 0});
  list.AddSysEx({10, 1, a});
  list.AddMidi({200, 0xB0, 9, 9});
  list.AddSysEx({1, 1, b});
  list.AddMidi({10, 0xB5, 1, 2});
  Capture capture;
  list.Send(capture.Clap(), 64);
  ASSERT_EQ(capture.sent.size(), 5u);
  EXPECT_EQ(capture.sent[0].first, 0xB2);
  EXPECT_EQ(capture.sent[1].first, 0xC0);
  EXPECT_EQ(capture.sent[2].type, CLAP_EVENT_MIDI_SYSEX) << "SysEx first at equal offsets";
  EXPECT_EQ(capture.sent[3].first, 0xB0);
  EXPECT_EQ(capture.sent[4].first, 0xB5) << "same offset keeps the order of emission";
  EXPECT_EQ(list.PendingMidi(), 1u);

  // The carried message is 136 frames later, so it still waits after a 64-frame block.
  list.DiscardSent();
  Capture next;
  list.Send(next.Clap(), 64);
  EXPECT_TRUE(next.sent.empty());
  list.DiscardSent();
  list.Send(next.Clap(), 128);
  ASSERT_EQ(next.sent.size(), 1u);
  EXPECT_EQ(next.sent[0].time, 72u);
}

TEST(MidiOutputListTest, GrowsPastItsInitialRoomAndKeepsSentSysExBytesUntilDiscarded) {
  MidiOutputList list;
  for (int i = 0; i < 1500; ++i) ASSERT_TRUE(list.AddMidi({1499 - i, 0x90, 60, 1}));
  EXPECT_EQ(list.PendingMidi(), 1500u);
  Capture capture;
  list.Send(capture.Clap(), 2000);
  ASSERT_EQ(capture.sent.size(), 1500u);
  for (size_t i = 1; i < capture.sent.size(); ++i) {
    ASSERT_LE(capture.sent[i - 1].time, capture.sent[i].time);
  }
  EXPECT_EQ(capture.sent[0].type, CLAP_EVENT_NOTE_ON);

  // The host reads a SysEx buffer during the process call that sent it.
  const uint8_t bytes[] = {0xF0, 0x11, 0xF7};
  list.DiscardSent();
  list.AddSysEx({0, 3, bytes});
  std::vector<const uint8_t*> buffers;
  clap_output_events keep{&buffers, [](const clap_output_events* l, const clap_event_header* e) {
                            static_cast<std::vector<const uint8_t*>*>(l->ctx)->push_back(
                                reinterpret_cast<const clap_event_midi_sysex*>(e)->buffer);
                            return true;
                          }};
  list.Send(&keep, 16);
  list.AddSysEx({5, 3, bytes});
  ASSERT_EQ(buffers.size(), 1u);
  EXPECT_EQ(buffers[0][1], 0x11);
  EXPECT_EQ(list.PendingSysEx(), 1u);
}

TEST(TransportConversionTest, FixedPointTimesBecomePositionsAndFlagsGate) {
  clap_event_transport transport{};
  transport.flags = CLAP_TRANSPORT_HAS_TEMPO | CLAP_TRANSPORT_HAS_BEATS_TIMELINE |
                    CLAP_TRANSPORT_HAS_SECONDS_TIMELINE | CLAP_TRANSPORT_HAS_TIME_SIGNATURE |
                    CLAP_TRANSPORT_IS_PLAYING;
  transport.tempo = 90.0;
  transport.song_pos_seconds = 3 * CLAP_SECTIME_FACTOR / 2;
  transport.song_pos_beats = 5 * CLAP_BEATTIME_FACTOR;
  transport.bar_start = 4 * CLAP_BEATTIME_FACTOR;
  transport.loop_start_beats = CLAP_BEATTIME_FACTOR / 4;
  transport.loop_end_beats = 8 * CLAP_BEATTIME_FACTOR;
  transport.tsig_num = 7;
  transport.tsig_denom = 8;
  const plugkit::TransportInfo info = plugkit::TransportFromClap(transport, 48000.0);
  EXPECT_EQ(info.tempo, 90.0);
  EXPECT_DOUBLE_EQ(info.samplePosition, 72000.0);
  EXPECT_EQ(info.ppqPosition, 5.0);
  EXPECT_EQ(info.lastBarStart, 4.0);
  EXPECT_EQ(info.loopStart, 0.25);
  EXPECT_EQ(info.loopEnd, 8.0);
  EXPECT_EQ(info.numerator, 7);
  EXPECT_EQ(info.denominator, 8);
  EXPECT_TRUE(info.playing);
  EXPECT_FALSE(info.looping);

  transport.flags = CLAP_TRANSPORT_IS_LOOP_ACTIVE;
  const plugkit::TransportInfo bare = plugkit::TransportFromClap(transport, 48000.0);
  EXPECT_EQ(bare.tempo, 120.0);
  EXPECT_EQ(bare.samplePosition, -1.0);
  EXPECT_EQ(bare.ppqPosition, -1.0);
  EXPECT_EQ(bare.numerator, 4);
  EXPECT_TRUE(bare.looping);
  EXPECT_FALSE(bare.playing);

  transport.flags = CLAP_TRANSPORT_HAS_TEMPO;
  for (const double tempo : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity()}) {
    transport.tempo = tempo;
    EXPECT_EQ(plugkit::TransportFromClap(transport, 48000.0).tempo, 120.0) << tempo;
  }
}

}  // namespace
