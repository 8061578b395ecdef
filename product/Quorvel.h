#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "effect/QuorvelEngine.h"
#include "effect/QuorvelParameters.h"
#include "host/ClapPlugin.h"

namespace quorvel {

// The effect instance: sixty parameters, 27 factory presets and the engine reading a
// snapshot of the parameter values.
class Quorvel : public plugkit::ClapPlugin {
 public:
  // [main-thread] Under the construction lock.
  Quorvel(const clap_plugin_descriptor* descriptor, const clap_host* host, bool servesRealHost);

  // [thread-safe] Copies the parameter's plain value into the snapshot; indices outside the
  // sixty are ignored.
  using ClapPlugin::OnParamChange;
  void OnParamChange(int index) override;

  // [thread-safe] The snapshot value of one parameter.
  double ParamValue(ParamIndex index) const {
    return paramValues_[static_cast<size_t>(ToIndex(index))].load(std::memory_order_relaxed);
  }

  // [audio-thread] Runs the signal chain on the block.
  void ProcessAudioBlock(double** inputs, double** outputs, int frames) override;
  // [main-thread] on activate, [audio-thread] on reset: sizes the engine for the sample rate
  // and the largest block.
  void OnProcessingReset() override;

  // [main-thread] Every 20 ms: picks up setting changes the host made on the audio thread for
  // the tail, and hands the engine's latest indicator values to the open editor.
  void OnIdle() override;
  // [main-thread] Remembers the editor's zoom for the next opening.
  void OnEditorClosing() override;

  // [main-thread] The editor-snapshot extension: draws the editor as the host would show it
  // now (current parameter values, latest indicators) and copies the frame; a closed editor
  // is opened without a window at `scale` and closed again, leaving the remembered zoom and
  // the display-scale preference untouched; an open editor is drawn at its own scale. False
  // for a scale outside 0.5 … 4, no editor, or too small a buffer.
  bool SnapshotEditor(double scale, void* pixels, uint64_t capacity, uint32_t& width,
                      uint32_t& height);

  // [thread-safe] The values the editor's indicators show.
  const IndicatorValues& Indicators() const { return engine_.Indicators(); }

  // [main-thread] The tail follows the settings: worked out again when a parameter changed
  // since the last time (or at once with force), and announced to the host when it moved.
  void UpdateTail(bool force);

 protected:
  // [thread-safe] The product's own extension, then the framework's.
  const void* OnGetExtension(const char* id) override;
  // [main-thread] A snapshot editor has no window in the host to resize.
  bool ResizeEditorInHost(int width, int height) override;
  // [main-thread] Sample rate and settings may have changed: the tail is worked out afresh.
  void OnActivated(bool active) override;
  void OnStateRestored() override;

  // The plain value of every parameter as last reported. Each element is written and read
  // whole from either thread without a lock.
  std::array<std::atomic<double>, kParamCount> paramValues_;
  // Set with release after a value above is stored, so that the main thread taking it with
  // acquire works the tail out from values at least that new.
  std::atomic<bool> tailSettingsChanged_{true};

 private:
  // The engine reads a plain copy, taken once per block.
  std::array<double, kParamCount> Snapshot() const;
  ChannelState Channels() const;

  QuorvelEngine engine_;
  // The open editor is a snapshot's: headless, and forgotten when it closes.
  bool snapshotEditor_ = false;
};

}  // namespace quorvel
