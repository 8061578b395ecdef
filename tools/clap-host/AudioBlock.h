#pragma once

#include <cstdint>
#include <vector>

#include "host/clap/AudioBuffer.h"

namespace clapHost {

enum class SampleSize { Float32, Float64 };

// Host-owned audio buffers for one process call: input and output ports with their channels,
// all of one sample size. Channel pointers stay valid for the life of the block.
class AudioBlock {
 public:
  AudioBlock(std::vector<uint32_t> inputChannels, std::vector<uint32_t> outputChannels,
             uint32_t frames, SampleSize size);
  AudioBlock(const AudioBlock&) = delete;
  AudioBlock& operator=(const AudioBlock&) = delete;

  uint32_t Frames() const { return frames_; }
  uint32_t Capacity() const { return capacity_; }
  // Processes fewer frames than allocated; at most Capacity().
  void SetFrames(uint32_t frames);
  SampleSize Size() const { return size_; }

  // Samples read and written as double whatever the sample size.
  double Input(uint32_t port, uint32_t channel, uint32_t frame) const;
  void SetInput(uint32_t port, uint32_t channel, uint32_t frame, double value);
  void FillInput(uint32_t port, uint32_t channel, double value);
  double Output(uint32_t port, uint32_t channel, uint32_t frame) const;
  void FillOutputs(double value);

  // The structures handed to the plug-in; tests may edit them to send broken buffers.
  clap_audio_buffer* Inputs() { return inputs_.ports.data(); }
  clap_audio_buffer* Outputs() { return outputs_.ports.data(); }
  uint32_t InputCount() const { return static_cast<uint32_t>(inputs_.ports.size()); }
  uint32_t OutputCount() const { return static_cast<uint32_t>(outputs_.ports.size()); }

 private:
  struct Direction {
    std::vector<clap_audio_buffer> ports;
    std::vector<std::vector<float*>> pointers32;
    std::vector<std::vector<double*>> pointers64;
    std::vector<std::vector<std::vector<float>>> samples32;
    std::vector<std::vector<std::vector<double>>> samples64;
  };
  void Build(Direction& direction, const std::vector<uint32_t>& channels);
  double Read(const Direction& direction, uint32_t port, uint32_t channel, uint32_t frame) const;
  void Write(Direction& direction, uint32_t port, uint32_t channel, uint32_t frame, double value);

  uint32_t frames_;
  uint32_t capacity_;
  SampleSize size_;
  Direction inputs_;
  Direction outputs_;
};

}  // namespace clapHost
