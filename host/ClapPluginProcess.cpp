// The process call of ClapPlugin: input events, editor messages, audio and output events.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "framework/SaturatingCast.h"
#include "host/ClapPlugin.h"
#include "host/TransportConversion.h"

namespace plugkit {
namespace {

constexpr uint32_t kHeaderSize = sizeof(clap_event_header);

// The event as its full structure, or false when the host's size says it is shorter.
template <class Event>
bool ReadEvent(const clap_event_header* header, Event& event) {
  if (header->size < sizeof(Event)) return false;
  std::memcpy(&event, header, sizeof(Event));
  return true;
}

int32_t Offset(uint32_t time) {
  return static_cast<int32_t>(std::min<uint32_t>(time, std::numeric_limits<int32_t>::max()));
}

uint8_t Velocity127(double velocity) {
  return static_cast<uint8_t>(std::clamp(SaturateRound<int>(velocity * 127.0), 0, 127));
}

const clap_audio_buffer* FirstPortWithChannels(const clap_audio_buffer* ports, uint32_t count) {
  for (uint32_t p = 0; p < count; ++p) {
    if (ports[p].channel_count > 0) return &ports[p];
  }
  return nullptr;
}

// True when every port with channels has non-null pointers of the chosen size.
bool BuffersUsable(const clap_audio_buffer* ports, uint32_t count, bool use64) {
  for (uint32_t p = 0; p < count; ++p) {
    const clap_audio_buffer& port = ports[p];
    if (port.channel_count == 0) continue;
    if (use64 ? !port.data64 : !port.data32) return false;
    for (uint32_t c = 0; c < port.channel_count; ++c) {
      if (use64 ? !port.data64[c] : !port.data32[c]) return false;
    }
  }
  return true;
}

template <class Sample>
bool HasSound(const Sample* samples, uint32_t frames) {
  // A NaN compares unequal to zero and counts as sound; -0 counts as silence.
  for (uint32_t i = 0; i < frames; ++i) {
    if (samples[i] != 0) return true;
  }
  return false;
}

// Output channels beyond what the processor declares would otherwise keep whatever the
// host left in them.
void SilenceSurplusOutputs(const clap_audio_buffer* ports, uint32_t count, int declared, bool use64,
                           uint32_t frames) {
  int64_t channelIndex = 0;
  for (uint32_t p = 0; p < count; ++p) {
    for (uint32_t c = 0; c < ports[p].channel_count; ++c, ++channelIndex) {
      if (channelIndex < declared) continue;
      if (use64) {
        std::fill_n(ports[p].data64[c], frames, 0.0);
      } else {
        std::fill_n(ports[p].data32[c], frames, 0.0f);
      }
    }
  }
}

}  // namespace

// [audio-thread]
void ClapPlugin::ApplyParamEvent(const clap_event_param_value& event) {
  if (event.param_id >= static_cast<uint32_t>(ParamCount())) return;
  // A value that is not a number would poison the parameter, the engine and the editor.
  if (!std::isfinite(event.value)) return;
  const int index = static_cast<int>(event.param_id);
  Param* param = ParamAt(index);
  const bool isDouble = param->Type() == ParamType::Double;
  // Normalized values beyond [0, 1] would map outside the range on even-exponent curves.
  const double value = isDouble ? std::clamp(event.value, 0.0, 1.0) : param->Clamp(event.value);
  param->SetPlain(isDouble ? param->Clamp(param->Denormalize(value)) : value);
  QueueParamForEditor(index, value, isDouble);
  OnParamChange(index, ParamSource::Host, Offset(event.header.time));
}

// [audio-thread, or main-thread while not processing]
void ClapPlugin::ApplyInputEvents(const clap_input_events* events) {
  if (!events || !events->size || !events->get) return;
  // The size is asked again after every event, as a list may grow while it is read.
  for (uint32_t i = 0; i < events->size(events); ++i) {
    const clap_event_header* header = events->get(events, i);
    if (!header || header->size < kHeaderSize || header->space_id != CLAP_CORE_EVENT_SPACE_ID) {
      continue;
    }
    switch (header->type) {
      case CLAP_EVENT_NOTE_ON:
      case CLAP_EVENT_NOTE_OFF: {
        clap_event_note note;
        if (!ReadEvent(header, note)) break;
        const bool on = header->type == CLAP_EVENT_NOTE_ON;
        MidiMessage message;
        message.offset = Offset(header->time);
        message.status = static_cast<uint8_t>((on ? 0x90 : 0x80) | (note.channel & 0x0F));
        message.data1 = static_cast<uint8_t>(note.key & 0xFF);
        message.data2 = on ? Velocity127(note.velocity) : 0;
        HandleMidi(message);
        QueueMidiForEditor(message);
        break;
      }
      case CLAP_EVENT_PARAM_VALUE: {
        clap_event_param_value event;
        if (ReadEvent(header, event)) ApplyParamEvent(event);
        break;
      }
      case CLAP_EVENT_MIDI: {
        clap_event_midi midi;
        if (!ReadEvent(header, midi)) break;
        const MidiMessage message{Offset(header->time), midi.data[0], midi.data[1], midi.data[2]};
        HandleMidi(message);
        QueueMidiForEditor(message);
        break;
      }
      case CLAP_EVENT_MIDI_SYSEX: {
        clap_event_midi_sysex sysex;
        if (!ReadEvent(header, sysex)) break;
        if (!sysex.buffer && sysex.size > 0) break;
        const SysExMessage message{Offset(header->time),
                                   static_cast<int32_t>(std::min<uint32_t>(
                                       sysex.size, std::numeric_limits<int32_t>::max())),
                                   sysex.buffer};
        HandleSysEx(message);
        QueueSysExForEditor(message);
        break;
      }
      default:
        break;
    }
  }
}

// [audio-thread]
void ClapPlugin::ApplyEditorMessages() {
  MidiMessage message;
  for (size_t n = 0; n < MidiQueue::capacity() && PopMidiFromEditor(message); ++n) {
    HandleMidi(message);
  }
  SysExRecord record;
  for (size_t n = 0; n < SysExQueue::capacity() && PopSysExFromEditor(record); ++n) {
    EmitSysEx(record.View());
  }
}

// [audio-thread]
int ClapPlugin::GatherBuffers(Direction direction, const clap_audio_buffer* ports,
                              uint32_t portCount, bool use64, uint32_t frames, bool scanForSound,
                              bool& silent) {
  int64_t total = 0;
  size_t gathered = 0;
  for (uint32_t p = 0; p < portCount; ++p) {
    const clap_audio_buffer& port = ports[p];
    total += port.channel_count;
    // Without frames the channels keep their scratch buffers; host pointers may be null.
    if (frames == 0) continue;
    for (uint32_t c = 0; c < port.channel_count && gathered < pointers64_.size(); ++c) {
      if (use64) {
        pointers64_[gathered] = port.data64[c];
        if (scanForSound && silent && HasSound(port.data64[c], frames)) silent = false;
      } else {
        pointers32_[gathered] = port.data32[c];
        if (scanForSound && silent && HasSound(port.data32[c], frames)) silent = false;
      }
      ++gathered;
    }
  }
  const int count = static_cast<int>(std::min<int64_t>(total, std::numeric_limits<int>::max()));
  MarkChannelsConnected(direction, 0, ChannelSlotCount(direction), false);
  MarkChannelsConnected(direction, 0, count, true);
  if (count == 0 || frames == 0) return count;
  // Channels beyond what the processor declares are ignored.
  const int attached = static_cast<int>(std::min<size_t>(gathered, static_cast<size_t>(count)));
  if (use64) {
    AttachHostBuffers64(direction, 0, attached, pointers64_.data());
  } else {
    AttachHostBuffers32(direction, 0, attached, pointers32_.data(), static_cast<int>(frames));
  }
  return count;
}

// [audio-thread]
clap_process_status ClapPlugin::ProcessStatus(bool inputSilent, uint32_t frames) {
  if (hostSupportsTail_) return CLAP_PROCESS_TAIL;
  const int tail = TailSamples();
  if (tail == 0) return CLAP_PROCESS_CONTINUE_IF_NOT_QUIET;
  if (tail == kInfiniteTail) return CLAP_PROCESS_CONTINUE;
  const int64_t counted =
      static_cast<int64_t>(silentSamples_.load(std::memory_order_relaxed)) + frames;
  const auto silent = inputSilent ? static_cast<int32_t>(std::min<int64_t>(tail, counted)) : 0;
  silentSamples_.store(silent, std::memory_order_relaxed);
  return silent < tail ? CLAP_PROCESS_CONTINUE : CLAP_PROCESS_SLEEP;
}

// [audio-thread]
clap_process_status ClapPlugin::OnProcess(const clap_process* process) {
  if (!process || (process->audio_inputs_count > 0 && !process->audio_inputs) ||
      (process->audio_outputs_count > 0 && !process->audio_outputs)) {
    return CLAP_PROCESS_ERROR;
  }
  // Scratch buffers hold at most the block size announced at activate.
  if (!IsActive() || process->frames_count > static_cast<uint32_t>(BlockSize())) {
    return CLAP_PROCESS_ERROR;
  }
  const uint32_t frames = process->frames_count;
  const clap_audio_buffer* inputs = process->audio_inputs;
  const clap_audio_buffer* outputs = process->audio_outputs;
  const uint32_t inputCount = process->audio_inputs_count;
  const uint32_t outputCount = process->audio_outputs_count;

  // One sample size for the whole block, from the first port that has channels; the ports
  // ask hosts for a common size.
  bool use64 = false;
  if (const clap_audio_buffer* first = FirstPortWithChannels(inputs, inputCount)) {
    use64 = first->data64 != nullptr;
  } else if ((first = FirstPortWithChannels(outputs, outputCount))) {
    use64 = first->data64 != nullptr;
  }
  // A block of no frames reads no samples, and some hosts send no buffers with it.
  if (frames > 0 &&
      (!BuffersUsable(inputs, inputCount, use64) || !BuffersUsable(outputs, outputCount, use64))) {
    return CLAP_PROCESS_ERROR;
  }

  midiOut_.DiscardSent();
  if (process->transport) SetTransport(TransportFromClap(*process->transport, SampleRate()));
  ApplyInputEvents(process->in_events);
  ApplyEditorMessages();

  const int tail = TailSamples();
  const bool detectSilence = !hostSupportsTail_ && tail != 0 && tail != kInfiniteTail;
  bool inputSilent = true;
  GatherBuffers(Direction::Input, inputs, inputCount, use64, frames, detectSilence, inputSilent);
  bool unused = true;
  GatherBuffers(Direction::Output, outputs, outputCount, use64, frames, false, unused);
  if (use64) {
    RunBlock64(static_cast<int>(frames));
  } else {
    RunBlock32(static_cast<int>(frames));
  }
  if (frames > 0) {
    SilenceSurplusOutputs(outputs, outputCount, ChannelSlotCount(Direction::Output), use64, frames);
  }

  SendParamsToHost(process->out_events);
  midiOut_.Send(process->out_events, frames);
  if (tailChanged_.exchange(false, std::memory_order_acq_rel)) Host().TailChanged();
  return ProcessStatus(inputSilent, frames);
}

}  // namespace plugkit
