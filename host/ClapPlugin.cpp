#include "host/ClapPlugin.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "host/AudioPortsExtensions.h"
#include "host/GuiExtension.h"
#include "host/InstanceTimers.h"
#include "host/ParamsExtension.h"
#include "host/PresetLoadExtension.h"
#include "host/RuntimeExtensions.h"
#include "host/StateExtension.h"

namespace plugkit {

ClapPlugin::ClapPlugin(const PluginConfig& config, const clap_plugin_descriptor* descriptor,
                       const clap_host* host, bool servesRealHost)
    : PluginApiBase(config),
      PluginProcessor(config),
      ClapAdapter(descriptor, host),
      servesRealHost_(servesRealHost),
      timerHost_(Host()),
      editorWindow_(*this, Host()) {
  const auto channels = static_cast<size_t>(
      std::max(ChannelSlotCount(Direction::Input), ChannelSlotCount(Direction::Output)));
  pointers64_.assign(channels, nullptr);
  pointers32_.assign(channels, nullptr);
}

ClapPlugin::~ClapPlugin() {
  // The timers' platform primitive is a member here: the editor's frame clock and the
  // instance timer stop before the members go.
  editorWindow_.Destroy();
  StopInstanceTimer();
}

ClapPlugin* ClapPlugin::FromClap(const clap_plugin* plugin) {
  return static_cast<ClapPlugin*>(ClapAdapter::FromClap(plugin));
}

int ClapPlugin::FindLayoutForChannels(int channels) const {
  const auto& layouts = ChannelLayouts();
  for (size_t i = 0; i < layouts.size(); ++i) {
    const ChannelLayout& layout = layouts[i];
    if (layout.outputBuses.empty() || layout.outputBuses.front().channelCount != channels) {
      continue;
    }
    const bool inputMatches =
        !layout.inputBuses.empty() && layout.inputBuses.front().channelCount == channels;
    const bool instrumentWithoutInput =
        IsInstrument() &&
        (layout.inputBuses.empty() || layout.inputBuses.front().channelCount == 0);
    if (inputMatches || instrumentWithoutInput) return static_cast<int>(i);
  }
  return -1;
}

bool ClapPlugin::SelectLayout(int index) {
  if (index < 0 || index >= static_cast<int>(ChannelLayouts().size())) return false;
  layoutIndex_ = index;
  return true;
}

// [main-thread]
bool ClapPlugin::OnInit() {
  layoutIndex_ = 0;
  int32_t channels = 0;
  int chosen = -1;
  if (Host().TrackChannelCount(channels)) {
    chosen = FindLayoutForChannels(channels);
    if (chosen < 0 && channels != 2) chosen = FindLayoutForChannels(2);
  } else {
    chosen = FindLayoutForChannels(2);
  }
  if (chosen >= 0) layoutIndex_ = chosen;
  if (servesRealHost_) StartInstanceTimer(Timers());
  return true;
}

// [main-thread]
void ClapPlugin::OnDestroy() {
  // A host may destroy the instance with the editor still open.
  editorWindow_.Destroy();
  if (IsActive()) Deactivate();
  StopInstanceTimer();
  // Waiting callbacks see the destroying flag and skip their host calls.
  RunMainThreadCallbacks();
  delete this;
}

// [main-thread]
bool ClapPlugin::OnActivate(double sampleRate, uint32_t, uint32_t maxFrames) {
  // The engine divides by the rate and sizes buffers by the block: refuse what it cannot use.
  if (!std::isfinite(sampleRate) || sampleRate <= 0.0 ||
      maxFrames > static_cast<uint32_t>(std::numeric_limits<int>::max())) {
    return false;
  }
  PrepareBlockSize(static_cast<int>(maxFrames));
  SetSampleRate(sampleRate);
  OnActivated(true);
  OnAllParamsChanged(ParamSource::Reset);
  OnProcessingReset();
  hostSupportsTail_ = Host().HasCompleteTail();
  silentSamples_ = 0;
  if (latencyChangePending_) {
    latencyChangePending_ = false;
    restartRequested_ = false;
    if (pendingLatency_ != LatencySamples()) {
      PluginProcessor::SetLatencySamples(pendingLatency_);
      Host().LatencyChanged();
    }
  }
  return true;
}

// [main-thread]
void ClapPlugin::OnDeactivate() { OnActivated(false); }

// [audio-thread]
void ClapPlugin::OnReset() { OnProcessingReset(); }

TimerHost& ClapPlugin::Timers() { return InstanceTimers(timerHost_); }

// [main-thread]
void ClapPlugin::OnMainThread() {
  RunMainThreadCallbacks();
  timerHost_.OnMainThreadCallback();
}

void ClapPlugin::QueueForHost(const ParamToHost& entry) {
  // A full queue drops the entry; the flush request below still drains what is waiting.
  paramsToHost_.Push(entry);
  if (IsProcessing()) return;
  RunOnMainThread([this] {
    if (!IsDestroying()) Host().ParamsRequestFlush();
  });
}

// [main-thread]
void ClapPlugin::NotifyHostGestureBegin(int index) {
  if (!ParamAt(index)) return;
  QueueForHost({ParamToHost::GestureBegin, index, 0.0});
}

// [main-thread]
void ClapPlugin::NotifyHostGestureEnd(int index) {
  if (!ParamAt(index)) return;
  QueueForHost({ParamToHost::GestureEnd, index, 0.0});
}

// [main-thread]
void ClapPlugin::NotifyHostParamValue(int index, double normalizedValue) {
  const Param* param = ParamAt(index);
  if (!param || !std::isfinite(normalizedValue)) return;
  const double value = param->Type() == ParamType::Double
                           ? normalizedValue
                           : param->Clamp(param->Denormalize(normalizedValue));
  QueueForHost({ParamToHost::Value, index, value});
}

// [audio-thread]
bool ClapPlugin::EmitMidi(const MidiMessage& message) {
  midiOut_.AddMidi(message);
  return true;
}

// [audio-thread]
bool ClapPlugin::EmitSysEx(const SysExMessage& message) {
  midiOut_.AddSysEx(message);
  return true;
}

// [main-thread]
void ClapPlugin::SetLatencySamples(int samples) {
  const int current = latencyChangePending_ ? pendingLatency_.load() : LatencySamples();
  if (samples == current) return;
  pendingLatency_ = samples;
  latencyChangePending_ = true;
  if (!IsActive() || restartRequested_) return;
  restartRequested_ = true;
  RunOnMainThread([this] {
    if (!IsDestroying()) Host().RequestRestart();
  });
}

// [main-thread]
void ClapPlugin::SetTailSamples(int samples) {
  PluginProcessor::SetTailSamples(samples);
  if (Host().HasCompleteTail()) tailChanged_.store(true, std::memory_order_release);
}

// [audio-thread, or main-thread while not processing]
void ClapPlugin::SendParamsToHost(const clap_output_events* out) {
  const bool canPush = out && out->try_push;
  ParamToHost entry;
  // Bounded so an editor that keeps editing cannot hold the caller here.
  for (size_t n = 0; n < ParamToHostQueue::capacity() && paramsToHost_.Pop(entry); ++n) {
    if (!canPush) continue;
    if (entry.kind == ParamToHost::Value) {
      clap_event_param_value event{};
      event.header = {static_cast<uint32_t>(sizeof event), 0, CLAP_CORE_EVENT_SPACE_ID,
                      CLAP_EVENT_PARAM_VALUE, 0};
      event.param_id = static_cast<clap_id>(entry.index);
      event.cookie = nullptr;
      event.note_id = -1;
      event.port_index = -1;
      event.channel = -1;
      event.key = -1;
      event.value = entry.value;
      out->try_push(out, &event.header);
    } else {
      clap_event_param_gesture event{};
      const uint16_t type = entry.kind == ParamToHost::GestureBegin ? CLAP_EVENT_PARAM_GESTURE_BEGIN
                                                                    : CLAP_EVENT_PARAM_GESTURE_END;
      event.header = {static_cast<uint32_t>(sizeof event), 0, CLAP_CORE_EVENT_SPACE_ID, type, 0};
      event.param_id = static_cast<clap_id>(entry.index);
      out->try_push(out, &event.header);
    }
  }
}

// [thread-safe]
const void* ClapPlugin::OnGetExtension(const char* id) {
  const auto is = [id](const char* name) { return std::strcmp(id, name) == 0; };
  if (is(CLAP_EXT_PARAMS)) return &ParamsExtension();
  if (is(CLAP_EXT_STATE)) return &StateExtension();
  if (is(CLAP_EXT_PRESET_LOAD) || is(CLAP_EXT_PRESET_LOAD_COMPAT)) {
    return PresetCount() > 0 ? &PresetLoadExtension() : nullptr;
  }
  if (is(CLAP_EXT_AUDIO_PORTS)) {
    const bool hasBus = MaxBusCount(Direction::Input) > 0 || MaxBusCount(Direction::Output) > 0;
    return hasBus ? &AudioPortsExtension() : nullptr;
  }
  if (is(CLAP_EXT_AUDIO_PORTS_CONFIG)) {
    return ChannelLayouts().empty() ? nullptr : &AudioPortsConfigExtension();
  }
  if (is(CLAP_EXT_LATENCY)) return &LatencyExtension();
  if (is(CLAP_EXT_TAIL)) return &TailExtension();
  if (is(CLAP_EXT_RENDER)) return &RenderExtension();
  if (is(CLAP_EXT_GUI)) return HasEditor() ? &GuiExtension() : nullptr;
  if (is(CLAP_EXT_TIMER_SUPPORT)) return UsesHostTimers() ? &TimerSupportExtension() : nullptr;
  return nullptr;
}

}  // namespace plugkit
