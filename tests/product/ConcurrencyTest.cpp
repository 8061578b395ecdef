// The process call on an audio thread while the main thread does what hosts and editors do
// at the same time: state saves and loads, editor edits, presets, the timer, the host asking
// for latency and tail, and activation between runs. Built under ThreadSanitizer as well,
// where any unsynchronised access between the two threads fails the run.

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <thread>

#include "host/clap/Clap.h"
#include "host/clap/ext/PresetLoad.h"
#include "host/clap/ext/State.h"
#include "product/Quorvel.h"
#include "tests/HostLibraryNames.h"
#include "tests/ParamIds.h"
#include "tests/product/InProcessFactory.h"
#include "tools/clap-host/Host.h"
#include "tools/clap-host/PluginInstance.h"

namespace quorvelTest {
namespace {

// Runs blocks on its own thread, with host automation now and then, until stopped.
class AudioThread {
 public:
  explicit AudioThread(clapHost::PluginInstance& instance) : instance_(instance) {
    thread_ = std::thread([this] { Run(); });
    while (blocks_.load() == 0) std::this_thread::yield();
  }
  ~AudioThread() {
    stop_.store(true);
    thread_.join();
  }
  int Blocks() const { return blocks_.load(); }

 private:
  void Run() {
    Host::AudioThreadScope scope(instance_.GetHost());
    if (!instance_.StartProcessing()) return;
    AudioBlock audio({2}, {2}, 128, SampleSize::Float32);
    InputEventList in;
    OutputEventList out;
    std::minstd_rand random(3);
    for (int n = 0; !stop_.load(); ++n) {
      for (uint32_t ch = 0; ch < 2; ++ch)
        for (uint32_t i = 0; i < 128; ++i) audio.SetInput(0, ch, i, (random() % 1000) / 2000.0);
      in.Clear();
      out.Clear();
      if (n % 7 == 0) in.Add(clapHost::MakeParamValue(0, kPhaserFeedback, (n % 10) / 10.0));
      instance_.Process(audio, in, out);
      blocks_.fetch_add(1);
    }
    instance_.StopProcessing();
  }

  clapHost::PluginInstance& instance_;
  std::atomic<bool> stop_{false};
  std::atomic<int> blocks_{0};
  std::thread thread_;
};

TEST(ConcurrencyTest, MainThreadCallsRunBesideTheProcessCall) {
  Host host;
  std::string error;
  auto instance = clapHost::PluginInstance::Create(testSupport::kQuorvelFactory, host,
                                                   testSupport::kQuorvelTestId, error);
  ASSERT_TRUE(instance) << error;
  auto* plugin = plugkit::ClapPlugin::FromClap(instance->Plugin());
  const clap_plugin* clap = instance->Plugin();
  const auto* tail = instance->GetExtension<clap_plugin_tail>(CLAP_EXT_TAIL);
  const auto* latency = instance->GetExtension<clap_plugin_latency>(CLAP_EXT_LATENCY);
  const auto* params = instance->GetExtension<clap_plugin_params>(CLAP_EXT_PARAMS);
  const auto* presets = instance->GetExtension<clap_plugin_preset_load>(CLAP_EXT_PRESET_LOAD);
  ASSERT_TRUE(tail && latency && params && presets);

  for (const double rate : {48000.0, 96000.0, 44100.0}) {
    ASSERT_TRUE(instance->Activate(rate, 1, 128));
    {
      AudioThread audio(*instance);
      const int start = audio.Blocks();
      for (int round = 0; round < 40 || audio.Blocks() < start + 50; ++round) {
        const auto saved = instance->SaveState();
        ASSERT_TRUE(saved);
        std::vector<uint8_t> damaged = *saved;
        damaged.resize(damaged.size() - 8);
        EXPECT_FALSE(instance->LoadState(damaged));
        EXPECT_TRUE(instance->LoadState(*saved));
        const std::string key = std::to_string(round % 27);
        EXPECT_TRUE(presets->from_location(clap, CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr,
                                           key.c_str()));
        for (const int index : {kLfo1Rate, kResonance, kChorusDelay}) {
          plugin->BeginParamEditFromUI(index);
          plugin->SendParamValueFromUI(index, (round % 11) / 10.0);
          plugin->EndParamEditFromUI(index);
        }
        host.FireAllTimers();
        host.PumpMainThread();
        double value = 0.0;
        EXPECT_TRUE(params->get_value(clap, kPhaserFeedback, &value));
        EXPECT_GT(tail->get(clap), 0u);
        EXPECT_EQ(latency->get(clap), 0u);
      }
    }
    instance->Deactivate();
  }
  EXPECT_TRUE(host.ThreadViolations().empty());
  EXPECT_GT(host.TailChangedCount(), 0);
}

}  // namespace
}  // namespace quorvelTest
