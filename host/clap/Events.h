#pragma once

#include <stdbool.h>
#include <stdint.h>

#include "host/clap/Id.h"

CLAP_EXTERN_C_BEGIN

typedef struct clap_event_header {
  // Size of the whole event, header included.
  uint32_t size;
  // Sample offset within the block.
  uint32_t time;
  uint16_t space_id;
  uint16_t type;
  uint32_t flags;
} clap_event_header_t;

static const CLAP_CONSTEXPR uint16_t CLAP_CORE_EVENT_SPACE_ID = 0;

enum clap_event_flags {
  CLAP_EVENT_IS_LIVE = 1 << 0,
  CLAP_EVENT_DONT_RECORD = 1 << 1,
};

enum {
  CLAP_EVENT_NOTE_ON = 0,
  CLAP_EVENT_NOTE_OFF = 1,
  CLAP_EVENT_NOTE_CHOKE = 2,
  CLAP_EVENT_NOTE_END = 3,
  CLAP_EVENT_NOTE_EXPRESSION = 4,
  CLAP_EVENT_PARAM_VALUE = 5,
  CLAP_EVENT_PARAM_MOD = 6,
  CLAP_EVENT_PARAM_GESTURE_BEGIN = 7,
  CLAP_EVENT_PARAM_GESTURE_END = 8,
  CLAP_EVENT_TRANSPORT = 9,
  CLAP_EVENT_MIDI = 10,
  CLAP_EVENT_MIDI_SYSEX = 11,
  CLAP_EVENT_MIDI2 = 12,
};

typedef struct clap_event_note {
  clap_event_header_t header;
  int32_t note_id;  // -1 for any
  int16_t port_index;
  int16_t channel;                // 0..15, -1 for any
  int16_t key;                    // 0..127, -1 for any
  CLAP_ALIGN(8) double velocity;  // 0..1
} clap_event_note_t;

typedef struct clap_event_param_value {
  clap_event_header_t header;
  clap_id param_id;
  void* cookie;
  int32_t note_id;
  int16_t port_index;
  int16_t channel;
  int16_t key;
  CLAP_ALIGN(8) double value;
} clap_event_param_value_t;

typedef struct clap_event_param_gesture {
  clap_event_header_t header;
  clap_id param_id;
} clap_event_param_gesture_t;

// Fixed-point musical and clock time: 2^31 units per beat or second.
typedef int64_t clap_beattime;
typedef int64_t clap_sectime;

static const CLAP_CONSTEXPR int64_t CLAP_BEATTIME_FACTOR = 1LL << 31;
static const CLAP_CONSTEXPR int64_t CLAP_SECTIME_FACTOR = 1LL << 31;

enum clap_transport_flags {
  CLAP_TRANSPORT_HAS_TEMPO = 1 << 0,
  CLAP_TRANSPORT_HAS_BEATS_TIMELINE = 1 << 1,
  CLAP_TRANSPORT_HAS_SECONDS_TIMELINE = 1 << 2,
  CLAP_TRANSPORT_HAS_TIME_SIGNATURE = 1 << 3,
  CLAP_TRANSPORT_IS_PLAYING = 1 << 4,
  CLAP_TRANSPORT_IS_RECORDING = 1 << 5,
  CLAP_TRANSPORT_IS_LOOP_ACTIVE = 1 << 6,
  CLAP_TRANSPORT_IS_WITHIN_PRE_ROLL = 1 << 7,
};

typedef struct clap_event_transport {
  clap_event_header_t header;
  uint32_t flags;

  CLAP_ALIGN(8) clap_beattime song_pos_beats;
  CLAP_ALIGN(8) clap_sectime song_pos_seconds;

  CLAP_ALIGN(8) double tempo;      // beats per minute
  CLAP_ALIGN(8) double tempo_inc;  // per sample, until the next transport event

  CLAP_ALIGN(8) clap_beattime loop_start_beats;
  CLAP_ALIGN(8) clap_beattime loop_end_beats;
  CLAP_ALIGN(8) clap_sectime loop_start_seconds;
  CLAP_ALIGN(8) clap_sectime loop_end_seconds;

  CLAP_ALIGN(8) clap_beattime bar_start;
  int32_t bar_number;

  uint16_t tsig_num;
  uint16_t tsig_denom;
} clap_event_transport_t;

typedef struct clap_event_midi {
  clap_event_header_t header;
  uint16_t port_index;
  uint8_t data[3];
} clap_event_midi_t;

typedef struct clap_event_midi_sysex {
  clap_event_header_t header;
  uint16_t port_index;
  const uint8_t* buffer;  // owned by the sender, valid during the call
  uint32_t size;
} clap_event_midi_sysex_t;

// Input events, sorted by time.
typedef struct clap_input_events {
  void* ctx;

  uint32_t(CLAP_ABI* size)(const struct clap_input_events* list);

  // The event stays owned by the list.
  const clap_event_header_t*(CLAP_ABI* get)(const struct clap_input_events* list, uint32_t index);
} clap_input_events_t;

typedef struct clap_output_events {
  void* ctx;

  // Copies the event; false when it could not be queued.
  bool(CLAP_ABI* try_push)(const struct clap_output_events* list, const clap_event_header_t* event);
} clap_output_events_t;

CLAP_EXTERN_C_END
