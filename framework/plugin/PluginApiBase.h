#pragma once

#include <cstdint>
#include <memory>

#include "framework/MidiMessage.h"
#include "framework/PluginConfig.h"
#include "framework/SpscRing.h"
#include "framework/Timer.h"
#include "framework/plugin/PluginBase.h"

namespace plugkit {

// Joins the parameter/preset side with the flow of changes between host, audio thread and
// editor: the queues between the threads, the editor-edit path towards the host and the
// instance timer that drains the queues towards the editor.
class PluginApiBase : public PluginBase {
 public:
  static constexpr uint32_t kTimerIntervalMs = 20;

  // A parameter value on its way from the audio thread to the editor (plain value).
  struct ParamChange {
    int32_t index = 0;
    double value = 0.0;
  };

  using ParamQueue = SpscRing<ParamChange, 512>;
  using MidiQueue = SpscRing<MidiMessage, 32>;
  using SysExQueue = SpscRing<SysExRecord, 4>;

  explicit PluginApiBase(const PluginConfig& config);
  ~PluginApiBase() override;

  // [main-thread] Starts the 20 ms instance timer running OnTimerTick; the host binding calls
  // it from init. A second call replaces the running timer.
  void StartInstanceTimer(TimerHost& host);
  // [main-thread]
  void StopInstanceTimer();
  bool HasInstanceTimer() const { return timer_ != nullptr; }

  // [main-thread] Drains the queues towards the editor (when the plug-in has one, open or
  // not), then OnIdle.
  void OnTimerTick();
  // [main-thread] The effect refreshes its indicators here.
  virtual void OnIdle() {}

  // [audio-thread] Queues a host change for the editor; a normalized value is converted to
  // its clamped plain value first. Dropped when the queue is full or the index is unknown.
  virtual void QueueParamForEditor(int index, double value, bool normalized);
  // [audio-thread] Incoming MIDI/SysEx shown to the editor on the next tick.
  bool QueueMidiForEditor(const MidiMessage& message) { return midiToEditor_.Push(message); }
  bool QueueSysExForEditor(const SysExMessage& message);
  // [audio-thread] Messages the editor sent towards the processor.
  bool PopMidiFromEditor(MidiMessage& message) { return midiFromEditor_.Pop(message); }
  bool PopSysExFromEditor(SysExRecord& record) { return sysExFromEditor_.Pop(record); }

  // [main-thread] The editor-edit path.
  void BeginParamEditFromUI(int index) override;
  // Stores the clamped plain value, tells the host, the effect and the editor.
  void SendParamValueFromUI(int index, double normalizedValue) override;
  void EndParamEditFromUI(int index) override;
  bool NotifyEditorResized(int width, int height, bool needsWindowResize) override;
  bool SendMidiFromUI(const MidiMessage& message) override { return midiFromEditor_.Push(message); }
  bool SendSysExFromUI(const SysExMessage& message) override;

  // [main-thread] Host notifications; the host binding overrides them.
  virtual bool ResizeEditorInHost(int, int) { return false; }
  virtual void NotifyHostGestureBegin(int) {}
  virtual void NotifyHostParamValue(int, double) {}
  virtual void NotifyHostGestureEnd(int) {}

 private:
  std::unique_ptr<Timer> timer_;
  ParamQueue paramsToEditor_;
  MidiQueue midiFromEditor_;
  MidiQueue midiToEditor_;
  SysExQueue sysExFromEditor_;
  SysExQueue sysExToEditor_;
};

}  // namespace plugkit
