#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "framework/PluginConfig.h"
#include "framework/PluginProcessor.h"
#include "framework/SpscRing.h"
#include "framework/plugin/PluginApiBase.h"
#include "host/ClapAdapter.h"
#include "host/ClapEditorWindow.h"
#include "host/HostTimer.h"
#include "host/MidiOutputList.h"

namespace plugkit {

// An editor gesture or value on its way to the host. Values are normalized for Double
// parameters and plain for the others, as the host sees them.
struct ParamToHost {
  enum Kind : int32_t { GestureBegin = 0, Value = 1, GestureEnd = 2 };
  Kind kind = Value;
  int32_t index = 0;
  double value = 0.0;
};

// One plug-in instance as a CLAP host sees it: the parameter and editor side
// (PluginApiBase), the audio side (PluginProcessor) and the CLAP adapter, joined.
class ClapPlugin : public PluginApiBase, public PluginProcessor, public ClapAdapter {
 public:
  using ParamToHostQueue = SpscRing<ParamToHost, 512>;

  // servesRealHost is false for the temporary instance that lists presets: it never starts
  // a timer.
  ClapPlugin(const PluginConfig& config, const clap_plugin_descriptor* descriptor,
             const clap_host* host, bool servesRealHost);
  ~ClapPlugin() override;

  // The instance behind a clap_plugin this module made; null for null.
  static ClapPlugin* FromClap(const clap_plugin* plugin);

  bool ServesRealHost() const { return servesRealHost_; }

  // [main-thread] Host notifications of the editor-edit path.
  void NotifyHostGestureBegin(int index) override;
  void NotifyHostParamValue(int index, double normalizedValue) override;
  void NotifyHostGestureEnd(int index) override;

  // [audio-thread] Kept for the host until the end of the block; always reported as sent.
  bool EmitMidi(const MidiMessage& message) override;
  bool EmitSysEx(const SysExMessage& message) override;
  // [main-thread] A latency change waits for the next activate and asks, while active, for
  // one restart.
  void SetLatencySamples(int samples) override;
  void SetTailSamples(int samples) override;

  // [audio-thread, or main-thread while not processing] Applies every input event: notes,
  // MIDI, SysEx and parameter values (a parameter change applies to the whole block).
  void ApplyInputEvents(const clap_input_events* events);
  // [audio-thread, or main-thread while not processing] Sends the waiting editor gestures and
  // values, oldest first.
  void SendParamsToHost(const clap_output_events* out);

  // [main-thread] The channel layout the audio ports show.
  int CurrentLayoutIndex() const { return layoutIndex_; }
  // [main-thread & !active] False for an index outside the layouts.
  bool SelectLayout(int index);
  // The layout that serves the requested channel count, or -1.
  int FindLayoutForChannels(int channels) const;

  // [main-thread]
  bool IsRenderingOffline() const { return renderingOffline_; }
  void SetRenderingOffline(bool offline) { renderingOffline_ = offline; }

  // [main-thread] The host's on_timer.
  void OnHostTimer(uint32_t id) const { timerHost_.OnHostTimer(id); }
  // [main-thread] What the instance timer and the editor's frame clock run on: the host's
  // timers on Linux; on Windows the thread's own message loop, as Windows plug-ins do.
  TimerHost& Timers();

  // [main-thread] The editor in the host's window ("clap.gui").
  ClapEditorWindow& EditorWindow() { return editorWindow_; }
  const ClapEditorWindow& EditorWindow() const { return editorWindow_; }
  bool ResizeEditorInHost(int width, int height) override {
    return editorWindow_.ResizeInHost(width, height);
  }

 protected:
  bool OnInit() override;
  void OnDestroy() override;
  bool OnActivate(double sampleRate, uint32_t minFrames, uint32_t maxFrames) override;
  void OnDeactivate() override;
  void OnReset() override;
  clap_process_status OnProcess(const clap_process* process) override;
  const void* OnGetExtension(const char* id) override;
  void OnMainThread() override;

 private:
  void QueueForHost(const ParamToHost& entry);
  void ApplyParamEvent(const clap_event_param_value& event);
  void ApplyEditorMessages();
  // Gathers the host's channel pointers of one direction; returns the channel total.
  // silent is cleared when a scanned channel holds a non-zero sample.
  int GatherBuffers(Direction direction, const clap_audio_buffer* ports, uint32_t portCount,
                    bool use64, uint32_t frames, bool scanForSound, bool& silent);
  clap_process_status ProcessStatus(bool inputSilent, uint32_t frames);

  const bool servesRealHost_;
  HostTimer timerHost_;
  ClapEditorWindow editorWindow_;
  ParamToHostQueue paramsToHost_;
  MidiOutputList midiOut_;
  std::vector<double*> pointers64_;
  std::vector<float*> pointers32_;
  int layoutIndex_ = 0;
  // Set by activate on the main thread, used by the process call on the audio thread.
  std::atomic<int32_t> silentSamples_{0};
  std::atomic<bool> hostSupportsTail_{false};
  // Raised with release after the tail is stored; the process call takes it with acquire
  // and tells the host, which then reads the new tail.
  std::atomic<bool> tailChanged_{false};
  std::atomic<bool> latencyChangePending_{false};
  std::atomic<bool> restartRequested_{false};
  std::atomic<int> pendingLatency_{0};
  std::atomic<bool> renderingOffline_{false};
};

}  // namespace plugkit
