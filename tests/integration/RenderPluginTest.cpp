// Audio through Quorvel.clap as a host sends it: channel layouts, side-chain routing,
// broken input, empty blocks and every factory preset.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "host/clap/Clap.h"
#include "host/clap/ext/AudioPortsConfig.h"
#include "host/clap/ext/Params.h"
#include "host/clap/ext/PresetLoad.h"
#include "tests/HostLibraryNames.h"
#include "tools/clap-host/AudioBlock.h"
#include "tools/clap-host/EventLists.h"
#include "tools/clap-host/Host.h"
#include "tools/clap-host/PluginInstance.h"
#include "tools/clap-host/PluginModule.h"

namespace quorvelTest {
namespace {

constexpr double kRate = 48000.0;
constexpr uint32_t kBlock = 512;
constexpr double kCeiling = 0.98855309465694;

// Parameter ids the tests set.
constexpr clap_id kSidechainDetector = 0;
constexpr clap_id kOutputModSource = 54;
constexpr clap_id kOutputModStrength = 55;
constexpr clap_id kOutput = 56;
constexpr clap_id kBrickwallLimit = 58;

// Pulses of noise over a low tone, so every source of modulation moves.
double Signal(uint64_t frame, uint32_t channel) {
  uint32_t seed = static_cast<uint32_t>(frame * 2654435761u + channel * 40503u);
  seed ^= seed >> 13;
  seed *= 1274126177u;
  const double noise = static_cast<double>(seed >> 8) / 8388608.0 - 1.0;
  const double t = static_cast<double>(frame) / kRate;
  const double pulse = std::fmod(t, 0.25) < 0.06 ? 0.7 : 0.05;
  return pulse * noise + 0.4 * std::sin(6.283185307179586 * (110.0 + 55.0 * channel) * t);
}

class Instance {
 public:
  Instance() {
    std::string error;
    module_ = clapHost::PluginModule::Open(QUORVEL_MODULE_PATH, error);
    EXPECT_TRUE(module_) << error;
    if (!module_) return;
    instance_ = clapHost::PluginInstance::Create(*module_->PluginFactory(), host_,
                                                 "com.brackmooraudio.quorvel", error);
    EXPECT_TRUE(instance_) << error;
  }

  ~Instance() {
    instance_.reset();
    module_.reset();
  }

  bool Ok() const { return instance_ != nullptr; }

  bool SelectLayout(const std::string& name) {
    const auto* configs =
        instance_->GetExtension<clap_plugin_audio_ports_config>(CLAP_EXT_AUDIO_PORTS_CONFIG);
    for (uint32_t i = 0; configs && i < configs->count(instance_->Plugin()); ++i) {
      clap_audio_ports_config config{};
      if (configs->get(instance_->Plugin(), i, &config) && name == config.name)
        return configs->select(instance_->Plugin(), config.id);
    }
    return false;
  }

  // Plain values for stepped parameters, normalized ones for continuous parameters.
  void Set(clap_id id, double value) {
    clapHost::InputEventList in;
    clapHost::OutputEventList out;
    in.Add(clapHost::MakeParamValue(0, id, value));
    ASSERT_TRUE(instance_->Flush(in, out));
  }

  bool LoadPreset(int index) {
    const auto* load = instance_->GetExtension<clap_plugin_preset_load>(CLAP_EXT_PRESET_LOAD);
    const std::string key = std::to_string(index);
    return load && load->from_location(instance_->Plugin(), CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN,
                                       nullptr, key.c_str());
  }

  double Plain(clap_id id) {
    double value = 0.0;
    const auto* params = instance_->GetExtension<clap_plugin_params>(CLAP_EXT_PARAMS);
    EXPECT_TRUE(params->get_value(instance_->Plugin(), id, &value));
    return value;
  }

  void Start() {
    ASSERT_TRUE(instance_->Activate(kRate, 1, kBlock));
    ASSERT_TRUE(instance_->StartProcessing());
  }

  clap_process_status Process(AudioBlock& audio) {
    clapHost::InputEventList in;
    clapHost::OutputEventList out;
    return instance_->Process(audio, in, out);
  }

  // Fills the input ports with Signal from frame on (side-chain ports get channels 2 and 3,
  // or silence) and processes the block.
  clap_process_status ProcessSignal(AudioBlock& audio, uint64_t frame, bool quietSide = false) {
    for (uint32_t port = 0; port < audio.InputCount(); ++port) {
      for (uint32_t c = 0; c < audio.Inputs()[port].channel_count; ++c) {
        for (uint32_t f = 0; f < audio.Frames(); ++f) {
          const bool quiet = quietSide && port > 0;
          audio.SetInput(port, c, f, quiet ? 0.0 : Signal(frame + f, port * 2 + c));
        }
      }
    }
    return Process(audio);
  }

 private:
  clapHost::Host host_;
  std::unique_ptr<clapHost::PluginModule> module_;
  std::unique_ptr<clapHost::PluginInstance> instance_;
};

std::vector<double> Channel(const AudioBlock& audio, uint32_t channel) {
  std::vector<double> samples;
  for (uint32_t f = 0; f < audio.Frames(); ++f) samples.push_back(audio.Output(0, channel, f));
  return samples;
}

TEST(RenderPluginTest, MonoLayoutMatchesStereoFedTwice) {
  Instance mono, stereo;
  ASSERT_TRUE(mono.Ok() && stereo.Ok());
  ASSERT_TRUE(mono.SelectLayout("1-1"));
  ASSERT_TRUE(stereo.SelectLayout("2-2"));
  mono.Start();
  stereo.Start();
  AudioBlock monoAudio({1}, {1}, kBlock, SampleSize::Float64);
  AudioBlock stereoAudio({2}, {2}, kBlock, SampleSize::Float64);
  for (uint64_t frame = 0; frame < 20 * kBlock; frame += kBlock) {
    for (uint32_t f = 0; f < kBlock; ++f) {
      monoAudio.SetInput(0, 0, f, Signal(frame + f, 0));
      stereoAudio.SetInput(0, 0, f, Signal(frame + f, 0));
      stereoAudio.SetInput(0, 1, f, Signal(frame + f, 0));
    }
    ASSERT_NE(mono.Process(monoAudio), CLAP_PROCESS_ERROR);
    ASSERT_NE(stereo.Process(stereoAudio), CLAP_PROCESS_ERROR);
    ASSERT_EQ(Channel(monoAudio, 0), Channel(stereoAudio, 0)) << frame;
  }
  // The default phaser and chorus run the right channel apart even for identical input.
  EXPECT_NE(Channel(stereoAudio, 0), Channel(stereoAudio, 1));
}

TEST(RenderPluginTest, SideChainDrivesTheDetectorsOnlyWhenSwitchedOn) {
  // The output level follows the envelope follower alone.
  const auto run = [](const std::string& layout, bool sidechainOn, bool quietSide) {
    Instance instance;
    EXPECT_TRUE(instance.Ok());
    EXPECT_TRUE(instance.SelectLayout(layout));
    instance.Set(kSidechainDetector, sidechainOn ? 1.0 : 0.0);
    instance.Set(kOutputModSource, 3.0);  // env follower
    instance.Set(kOutputModStrength, 1.0);
    instance.Set(kOutput, 0.0);
    instance.Start();
    const uint32_t sideChannels = layout == "2.1-2" ? 1 : 2;
    AudioBlock audio({2, sideChannels}, {2}, kBlock, SampleSize::Float64);
    double loudest = 0.0;
    for (uint64_t frame = 0; frame < 10 * kBlock; frame += kBlock) {
      EXPECT_NE(instance.ProcessSignal(audio, frame, quietSide), CLAP_PROCESS_ERROR);
      for (double s : Channel(audio, 0)) loudest = std::max(loudest, std::abs(s));
    }
    return loudest;
  };
  EXPECT_EQ(run("2.1-2", true, true), 0.0);
  EXPECT_EQ(run("2.2-2", true, true), 0.0);
  EXPECT_GT(run("2.1-2", true, false), 0.05);
  EXPECT_GT(run("2.2-2", false, true), 0.05);
}

TEST(RenderPluginTest, NonFiniteInputIsSilencedAndSoundReturnsInTheNextBlock) {
  for (SampleSize size : {SampleSize::Float64, SampleSize::Float32}) {
    Instance instance;
    ASSERT_TRUE(instance.Ok());
    instance.Start();
    AudioBlock audio({2}, {2}, kBlock, size);
    for (uint64_t block = 0; block < 6; ++block) {
      for (uint32_t c = 0; c < 2; ++c) {
        for (uint32_t f = 0; f < kBlock; ++f)
          audio.SetInput(0, c, f, Signal(block * kBlock + f, c));
      }
      if (block == 2) audio.SetInput(0, 1, 100, std::numeric_limits<double>::quiet_NaN());
      ASSERT_NE(instance.Process(audio), CLAP_PROCESS_ERROR);
      double energy = 0.0;
      for (uint32_t c = 0; c < 2; ++c) {
        for (double s : Channel(audio, c)) {
          ASSERT_TRUE(std::isfinite(s)) << "block " << block;
          energy += s * s;
        }
      }
      if (block == 2) {
        EXPECT_EQ(audio.Output(0, 0, 100), 0.0);
        EXPECT_EQ(audio.Output(0, 1, 100), 0.0);
      } else {
        EXPECT_GT(energy, 1.0) << "block " << block;
      }
    }
  }
}

TEST(RenderPluginTest, ZeroFrameBlockChangesNothing) {
  Instance steady, interrupted;
  ASSERT_TRUE(steady.Ok() && interrupted.Ok());
  steady.Start();
  interrupted.Start();
  AudioBlock a({2}, {2}, kBlock, SampleSize::Float64);
  AudioBlock b({2}, {2}, kBlock, SampleSize::Float64);
  for (uint64_t frame = 0; frame < 8 * kBlock; frame += kBlock) {
    if (frame == 4 * kBlock) {
      b.FillOutputs(0.25);
      b.SetFrames(0);
      EXPECT_NE(interrupted.Process(b), CLAP_PROCESS_ERROR);
      b.SetFrames(kBlock);
      EXPECT_EQ(b.Output(0, 0, 0), 0.25);
    }
    steady.ProcessSignal(a, frame);
    interrupted.ProcessSignal(b, frame);
    ASSERT_EQ(Channel(a, 0), Channel(b, 0)) << frame;
    ASSERT_EQ(Channel(a, 1), Channel(b, 1)) << frame;
  }
}

TEST(RenderPluginTest, EveryFactoryPresetStaysFiniteAndInRange) {
  for (int index = 0; index < 27; ++index) {
    Instance instance;
    ASSERT_TRUE(instance.Ok());
    ASSERT_TRUE(instance.LoadPreset(index)) << index;
    const bool limited = instance.Plain(kBrickwallLimit) >= 0.5;
    instance.Start();
    AudioBlock audio({2}, {2}, kBlock, SampleSize::Float32);
    double loudest = 0.0;
    for (uint64_t frame = 0; frame < static_cast<uint64_t>(2.0 * kRate); frame += kBlock) {
      ASSERT_NE(instance.ProcessSignal(audio, frame), CLAP_PROCESS_ERROR);
      for (uint32_t c = 0; c < 2; ++c) {
        for (double s : Channel(audio, c)) {
          ASSERT_TRUE(std::isfinite(s)) << "preset " << index;
          loudest = std::max(loudest, std::abs(s));
        }
      }
    }
    // With the limiter nothing passes its ceiling; without it the soft clips and the output
    // gain bound the level.
    EXPECT_LE(loudest, limited ? static_cast<double>(static_cast<float>(kCeiling)) : 8.0) << index;
    EXPECT_GT(loudest, 0.01) << index;
  }
}

}  // namespace
}  // namespace quorvelTest
