#pragma once

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
  virtual void SetLatencySamples(int samples) { mLatency = samples; }
  virtual void SetTailSamples(int samples) { mTailLength = samples; }

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
  int ChannelSlotCount(Direction direction) const { return static_cast<int>(Slots(direction).size()); }
  // Largest bus count of the direction over all layouts; layoutIndex gets the last layout
  // that has it (-1 without layouts).
  int MaxBusCount(Direction direction, int* layoutIndex = nullptr) const;
  const std::vector<ChannelLayout>& ChannelLayouts() const { return mLayouts.layouts; }

  double SampleRate() const { return mSampleRate; }
  void SetSampleRate(double sampleRate) { mSampleRate = sampleRate; }
  int BlockSize() const { return mBlockSize; }
  int LatencySamples() const { return mLatency; }
  int TailSamples() const { return mTailLength; }
  const TransportInfo& Transport() const { return mTransport; }
  void SetTransport(const TransportInfo& transport) { mTransport = transport; }
  int PluginKind() const { return mPluginKind; }
  bool IsInstrument() const { return mPluginKind == 1; }
  bool ReceivesMidi() const { return mReceivesMidi; }
  bool SendsMidi() const { return mSendsMidi; }
  bool UsesMpe() const { return mUsesMpe; }

 private:
  std::vector<ChannelSlot>& Slots(Direction d) { return d == Direction::Input ? mInputSlots : mOutputSlots; }
  const std::vector<ChannelSlot>& Slots(Direction d) const {
    return d == Direction::Input ? mInputSlots : mOutputSlots;
  }
  // Slot range [begin, end) of first/count, cut at the slot list.
  static std::pair<int, int> Range(const std::vector<ChannelSlot>& slots, int first, int count);

  int mPluginKind;
  bool mReceivesMidi;
  bool mSendsMidi;
  bool mUsesMpe;
  int mLatency;
  double mSampleRate = 48000.0;
  int mBlockSize = 0;
  int mTailLength = 0;
  ParsedChannelLayouts mLayouts;
  std::vector<double*> mInputPointers;
  std::vector<double*> mOutputPointers;
  std::vector<ChannelSlot> mInputSlots;
  std::vector<ChannelSlot> mOutputSlots;
  TransportInfo mTransport;
};

}  // namespace plugkit
