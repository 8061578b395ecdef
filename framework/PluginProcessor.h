#pragma once

#include <atomic>
#include <span>
#include <string>
#include <vector>

#include "framework/ChannelLayout.h"
#include "framework/MidiMessage.h"
#include "framework/PluginConfig.h"
#include "framework/TransportInfo.h"

namespace plugkit {

// One input or output channel: its connection, its entry in the channel pointer array handed
// to ProcessAudioBlock, and a 64-bit scratch buffer used when the host is absent or 32-bit.
struct ChannelSlot {
  bool connected = false;
  double** entry = nullptr;
  float* hostOutput32 = nullptr;
  std::vector<double> scratch;
};

// Audio side of an instance: channel layouts, host buffer attachment with 32/64-bit
// conversion, sample rate, block size, latency, tail and transport.
class PluginProcessor {
 public:
  static constexpr int kInfiniteTail = 2147483647;

  explicit PluginProcessor(const PluginConfig& config);
  PluginProcessor(const PluginProcessor&) = delete;
  PluginProcessor& operator=(const PluginProcessor&) = delete;
  virtual ~PluginProcessor();

  // [audio-thread] Default: copies input i to output i and silences the remaining outputs.
  virtual void ProcessAudioBlock(double** inputs, double** outputs, int frames);
  // [audio-thread] Default: passes the message on to EmitMidi.
  virtual void HandleMidi(const MidiMessage& message);
  virtual void HandleSysEx(const SysExMessage&) {}
  virtual void OnProcessingReset() {}
  // [main-thread]
  virtual void OnActivated(bool) {}
  // [audio-thread] The host binding delivers these; without one they report failure.
  virtual bool EmitMidi(const MidiMessage&) { return false; }
  virtual bool EmitMidiList(std::span<const MidiMessage> messages);
  virtual bool EmitSysEx(const SysExMessage&) { return false; }
  // [main-thread] "Input"/"Output", "Main"/"Aux" for two input buses, else numbered.
  virtual void BusName(Direction direction, int busIndex, int busCount, std::string& out) const;
  virtual void SetLatencySamples(int samples) {
    latency_.store(samples, std::memory_order_relaxed);
  }
  virtual void SetTailSamples(int samples) {
    tailLength_.store(samples, std::memory_order_relaxed);
  }

  // [audio-thread] Per-block connection and buffers. Ranges are cut at the slot count.
  void MarkChannelsConnected(Direction direction, int first, int count, bool connected);
  void AttachHostBuffers64(Direction direction, int first, int count, double* const* pointers);
  void AttachHostBuffers32(Direction direction, int first, int count, float* const* pointers,
                           int frames);
  void RunBlock64(int frames);
  void RunBlock32(int frames);
  // [main-thread] While inactive: sizes and clears every scratch buffer.
  void PrepareBlockSize(int frames);

  bool IsChannelConnected(Direction direction, int index) const;
  int ConnectedChannelCount(Direction direction) const;
  int ChannelSlotCount(Direction direction) const {
    return static_cast<int>(Slots(direction).size());
  }
  // Largest bus count of the direction over all layouts; layoutIndex gets the last layout
  // that has it (-1 without layouts).
  int MaxBusCount(Direction direction, int* layoutIndex = nullptr) const;
  const std::vector<ChannelLayout>& ChannelLayouts() const { return layouts_.layouts; }

  double SampleRate() const { return sampleRate_; }
  void SetSampleRate(double sampleRate) { sampleRate_ = sampleRate; }
  int BlockSize() const { return blockSize_; }
  // [thread-safe]
  int LatencySamples() const { return latency_.load(std::memory_order_relaxed); }
  int TailSamples() const { return tailLength_.load(std::memory_order_relaxed); }
  const TransportInfo& Transport() const { return transport_; }
  void SetTransport(const TransportInfo& transport) { transport_ = transport; }
  int PluginKind() const { return pluginKind_; }
  bool IsInstrument() const { return pluginKind_ == 1; }
  bool ReceivesMidi() const { return receivesMidi_; }
  bool SendsMidi() const { return sendsMidi_; }
  bool UsesMpe() const { return usesMpe_; }

 private:
  std::vector<ChannelSlot>& Slots(Direction d) {
    return d == Direction::Input ? inputSlots_ : outputSlots_;
  }
  const std::vector<ChannelSlot>& Slots(Direction d) const {
    return d == Direction::Input ? inputSlots_ : outputSlots_;
  }
  // Slot range [begin, end) of first/count, cut at the slot list.
  static std::pair<int, int> Range(const std::vector<ChannelSlot>& slots, int first, int count);

  int pluginKind_;
  bool receivesMidi_;
  bool sendsMidi_;
  bool usesMpe_;
  // Set on the main thread, read by the process call and by the host from either thread.
  std::atomic<int> latency_;
  double sampleRate_ = 48000.0;
  int blockSize_ = 0;
  std::atomic<int> tailLength_{0};
  ParsedChannelLayouts layouts_;
  std::vector<double*> inputPointers_;
  std::vector<double*> outputPointers_;
  std::vector<ChannelSlot> inputSlots_;
  std::vector<ChannelSlot> outputSlots_;
  TransportInfo transport_;
};

}  // namespace plugkit
