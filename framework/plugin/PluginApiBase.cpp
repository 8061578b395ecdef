#include "framework/plugin/PluginApiBase.h"

#include <cmath>

namespace plugkit {

PluginApiBase::PluginApiBase(const PluginConfig& config) : PluginBase(config) {
  SetEditorSize(config.editorWidth, config.editorHeight);
  SetEditorSizeLimits(config.editorMinWidth, config.editorMaxWidth, config.editorMinHeight,
                      config.editorMaxHeight);
}

PluginApiBase::~PluginApiBase() {
  // Stop ticks before anything the tick reaches is torn down.
  StopInstanceTimer();
}

void PluginApiBase::StartInstanceTimer(TimerHost& host) {
  StopInstanceTimer();
  timer_ = StartTimer(
      host, [this](Timer&) { OnTimerTick(); }, kTimerIntervalMs);
}

void PluginApiBase::StopInstanceTimer() {
  if (!timer_) return;
  timer_->Stop();
  timer_.reset();
}

void PluginApiBase::OnTimerTick() {
  if (HasEditor()) {
    // Bounded by the capacities so that a busy audio thread cannot keep the tick spinning.
    ParamChange change;
    for (size_t n = 0; n < ParamQueue::capacity() && paramsToEditor_.Pop(change); ++n)
      SendParamValueToUI(change.index, change.value, false);
    MidiMessage message;
    for (size_t n = 0; n < MidiQueue::capacity() && midiToEditor_.Pop(message); ++n)
      SendMidiToUI(message);
    SysExRecord record;
    for (size_t n = 0; n < SysExQueue::capacity() && sysExToEditor_.Pop(record); ++n)
      SendSysExToUI(record.View());
  }
  OnIdle();
}

void PluginApiBase::QueueParamForEditor(int index, double value, bool normalized) {
  const Param* param = ParamAt(index);
  if (!param) return;
  if (normalized) value = param->Clamp(param->Denormalize(value));
  paramsToEditor_.Push({index, value});
}

bool PluginApiBase::QueueSysExForEditor(const SysExMessage& message) {
  SysExRecord record;
  record.Assign(message);
  return sysExToEditor_.Push(record);
}

bool PluginApiBase::SendSysExFromUI(const SysExMessage& message) {
  SysExRecord record;
  record.Assign(message);
  return sysExFromEditor_.Push(record);
}

void PluginApiBase::BeginParamEditFromUI(int index) { NotifyHostGestureBegin(index); }

void PluginApiBase::SendParamValueFromUI(int index, double normalizedValue) {
  Param* param = ParamAt(index);
  if (!param || std::isnan(normalizedValue)) return;
  param->SetPlain(param->Clamp(param->Denormalize(normalizedValue)));
  NotifyHostParamValue(index, normalizedValue);
  OnParamChange(index, ParamSource::UI, -1);
  OnParamChangeForEditor(index, ParamSource::UI);
}

void PluginApiBase::EndParamEditFromUI(int index) { NotifyHostGestureEnd(index); }

bool PluginApiBase::NotifyEditorResized(int width, int height, bool needsWindowResize) {
  return needsWindowResize ? ResizeEditorInHost(width, height) : true;
}

}  // namespace plugkit
