#include "tools/clap-host/AudioBlock.h"

#include <stdexcept>

namespace clapHost {

AudioBlock::AudioBlock(std::vector<uint32_t> inputChannels, std::vector<uint32_t> outputChannels,
                       uint32_t frames, SampleSize size)
    : frames_(frames), capacity_(frames), size_(size) {
  Build(inputs_, inputChannels);
  Build(outputs_, outputChannels);
}

void AudioBlock::Build(Direction& direction, const std::vector<uint32_t>& channels) {
  const size_t portCount = channels.size();
  direction.ports.resize(portCount);
  direction.pointers32.resize(portCount);
  direction.pointers64.resize(portCount);
  direction.samples32.resize(portCount);
  direction.samples64.resize(portCount);
  for (size_t port = 0; port < portCount; ++port) {
    clap_audio_buffer& buffer = direction.ports[port];
    buffer = clap_audio_buffer{};
    buffer.channel_count = channels[port];
    for (uint32_t channel = 0; channel < channels[port]; ++channel) {
      if (size_ == SampleSize::Float32) {
        direction.samples32[port].emplace_back(capacity_, 0.0f);
      } else {
        direction.samples64[port].emplace_back(capacity_, 0.0);
      }
    }
    for (auto& samples : direction.samples32[port])
      direction.pointers32[port].push_back(samples.data());
    for (auto& samples : direction.samples64[port])
      direction.pointers64[port].push_back(samples.data());
    if (size_ == SampleSize::Float32) {
      buffer.data32 = direction.pointers32[port].data();
    } else {
      buffer.data64 = direction.pointers64[port].data();
    }
  }
}

void AudioBlock::SetFrames(uint32_t frames) {
  if (frames > capacity_) throw std::out_of_range("AudioBlock::SetFrames beyond capacity");
  frames_ = frames;
}

double AudioBlock::Read(const Direction& direction, uint32_t port, uint32_t channel,
                        uint32_t frame) const {
  if (size_ == SampleSize::Float32) return direction.samples32.at(port).at(channel).at(frame);
  return direction.samples64.at(port).at(channel).at(frame);
}

void AudioBlock::Write(Direction& direction, uint32_t port, uint32_t channel, uint32_t frame,
                       double value) {
  if (size_ == SampleSize::Float32) {
    direction.samples32.at(port).at(channel).at(frame) = static_cast<float>(value);
  } else {
    direction.samples64.at(port).at(channel).at(frame) = value;
  }
}

double AudioBlock::Input(uint32_t port, uint32_t channel, uint32_t frame) const {
  return Read(inputs_, port, channel, frame);
}

void AudioBlock::SetInput(uint32_t port, uint32_t channel, uint32_t frame, double value) {
  Write(inputs_, port, channel, frame, value);
}

void AudioBlock::FillInput(uint32_t port, uint32_t channel, double value) {
  for (uint32_t frame = 0; frame < capacity_; ++frame) Write(inputs_, port, channel, frame, value);
}

double AudioBlock::Output(uint32_t port, uint32_t channel, uint32_t frame) const {
  return Read(outputs_, port, channel, frame);
}

void AudioBlock::FillOutputs(double value) {
  for (uint32_t port = 0; port < OutputCount(); ++port) {
    for (uint32_t channel = 0; channel < outputs_.ports[port].channel_count; ++channel) {
      for (uint32_t frame = 0; frame < capacity_; ++frame) {
        Write(outputs_, port, channel, frame, value);
      }
    }
  }
}

}  // namespace clapHost
