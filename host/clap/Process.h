#pragma once

#include "host/clap/AudioBuffer.h"
#include "host/clap/Events.h"

CLAP_EXTERN_C_BEGIN

enum {
  // Processing failed; the output buffers must be discarded.
  CLAP_PROCESS_ERROR = 0,
  // Keep processing.
  CLAP_PROCESS_CONTINUE = 1,
  // Keep processing while the input is not quiet.
  CLAP_PROCESS_CONTINUE_IF_NOT_QUIET = 2,
  // The plug-in reports its tail through the tail extension.
  CLAP_PROCESS_TAIL = 3,
  // The output is quiet until the input changes.
  CLAP_PROCESS_SLEEP = 4,
};
typedef int32_t clap_process_status;

typedef struct clap_process {
  // Running sample counter, or -1 when unknown.
  int64_t steady_time;
  uint32_t frames_count;

  // Null while the host does not report a transport.
  const clap_event_transport_t* transport;

  const clap_audio_buffer_t* audio_inputs;
  clap_audio_buffer_t* audio_outputs;
  uint32_t audio_inputs_count;
  uint32_t audio_outputs_count;

  const clap_input_events_t* in_events;
  const clap_output_events_t* out_events;
} clap_process_t;

CLAP_EXTERN_C_END
