// A DAW's load in one process: 32 instances, each processed on a thread of its own with its own
// block sizes and automation, while the main thread creates and destroys further instances,
// opens and closes editors, loads presets and states, saves states and fires timers. Each
// instance's output must match, bit for bit, the same event stream run alone. Built under
// ThreadSanitizer as well, where any state shared between instances without synchronisation
// fails the run.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "graphics/SharedStorages.h"
#include "host/clap/Clap.h"
#include "host/clap/ext/PresetLoad.h"
#include "product/Quorvel.h"
#include "tests/editor/EditorTestSupport.h"
#include "tests/product/InProcessFactory.h"
#include "tools/clap-host/Host.h"
#include "tools/clap-host/PluginInstance.h"

namespace quorvelTest {
namespace {

using clapHost::AudioBlock;
using clapHost::Host;
using clapHost::InputEventList;
using clapHost::OutputEventList;

constexpr size_t kInstances = 32;
// Main-thread rounds while the instances play, and the fewest and most blocks each plays.
constexpr int kRounds = 5;
constexpr int kMinBlocks = 20;
constexpr int kMaxBlocks = 150;
constexpr uint32_t kMaxFrames = 512;
constexpr double kRate = 48000.0;

// One plug-in instance with its own host, as a DAW track holds it.
struct Track {
  Track() : host(std::make_unique<Host>()) {
    std::string error;
    instance = clapHost::PluginInstance::Create(testSupport::kQuorvelFactory, *host,
                                                testSupport::kQuorvelTestId, error);
    if (!instance) ADD_FAILURE() << error;
    plugin = plugkit::ClapPlugin::FromClap(instance->Plugin());
  }

  std::unique_ptr<Host> host;
  std::unique_ptr<clapHost::PluginInstance> instance;
  plugkit::ClapPlugin* plugin = nullptr;
};

// Block `block` of the stream `seed`: its frame count, input and parameter events, the same
// on every run.
void MakeBlock(uint32_t seed, int block, AudioBlock& audio, InputEventList& in) {
  std::mt19937 random(seed * 7919u + static_cast<uint32_t>(block));
  audio.SetFrames(1 + random() % kMaxFrames);
  std::uniform_real_distribution<double> noise(-0.7, 0.7);
  for (uint32_t channel = 0; channel < 2; ++channel) {
    for (uint32_t i = 0; i < audio.Frames(); ++i) audio.SetInput(0, channel, i, noise(random));
  }
  in.Clear();
  std::vector<uint32_t> times(random() % 6);
  for (uint32_t& time : times) time = random() % audio.Frames();
  std::sort(times.begin(), times.end());
  for (const uint32_t time : times) {
    // Indices and values the host would send: normalized doubles, small plain steps elsewhere.
    const auto id = static_cast<clap_id>(random() % quorvel::kParamCount);
    const double value = (random() % 5) / 4.0;
    in.Add(clapHost::MakeParamValue(time, id, value));
  }
}

// [audio-thread] The stream through one instance: `blocks` blocks, or, given `stop`, blocks
// until it is set (within the fewest and the most), each after a pause as an audio thread
// waits for the next period; `blocks` then says how many ran. A hash of every output sample.
uint64_t Play(clapHost::PluginInstance& instance, uint32_t seed, int& blocks,
              const std::atomic<bool>* stop = nullptr) {
  AudioBlock audio({2}, {2}, kMaxFrames, clapHost::SampleSize::Float32);
  InputEventList in;
  OutputEventList out;
  uint64_t hash = 14695981039346656037ull;
  if (!instance.StartProcessing()) return 0;
  int block = 0;
  const auto more = [&] {
    return stop ? block < kMinBlocks || (!stop->load() && block < kMaxBlocks) : block < blocks;
  };
  for (; more(); ++block) {
    if (stop) std::this_thread::sleep_for(std::chrono::milliseconds(4));
    MakeBlock(seed, block, audio, in);
    out.Clear();
    if (instance.Process(audio, in, out) == CLAP_PROCESS_ERROR) return 0;
    for (uint32_t channel = 0; channel < 2; ++channel) {
      for (uint32_t i = 0; i < audio.Frames(); ++i) {
        const double sample = audio.Output(0, channel, i);
        uint64_t bits = 0;
        std::memcpy(&bits, &sample, sizeof bits);
        hash = (hash ^ bits) * 1099511628211ull;
      }
    }
  }
  blocks = block;
  instance.StopProcessing();
  return hash;
}

// What the main thread does meanwhile, round after round: instances come and go, take presets
// and states, open and close editors; the playing ones get their state saved, their timers
// fired and an editor opened now and then.
void ChurnOnce(int round, std::vector<Track>& playing, std::deque<Track>& extras) {
  extras.emplace_back();
  Track& fresh = extras.back();
  EXPECT_TRUE(fresh.instance->Activate(44100.0 + round, 1, 512));
  const auto* presets = fresh.instance->GetExtension<clap_plugin_preset_load>(CLAP_EXT_PRESET_LOAD);
  const std::string key = std::to_string(round % 27);
  EXPECT_TRUE(presets->from_location(fresh.instance->Plugin(),
                                     CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr, key.c_str()));
  Track& busy = playing[static_cast<size_t>(round) % playing.size()];
  const auto state = busy.instance->SaveState();
  EXPECT_TRUE(state && extras.front().instance->LoadState(*state));
  if (round % 2 == 0) {
    EXPECT_NE(fresh.plugin->OpenWindow(nullptr), nullptr);
    busy.plugin->OpenWindow(nullptr);
  } else {
    busy.plugin->CloseWindow();
  }
  for (Track& track : playing) track.host->FireAllTimers();
  for (Track& track : extras) track.host->FireAllTimers();
  if (extras.size() > 4) extras.pop_front();  // destroyed with its editor open or not
}

TEST(LoadTest, InstancesOnTheirOwnThreadsSoundAsTheyWouldAlone) {
  quorvel::test::ScratchConfigHome config;  // editors store their display scale on closing
  std::vector<Track> playing(kInstances);
  for (Track& track : playing) ASSERT_TRUE(track.instance->Activate(kRate, 1, kMaxFrames));

  std::vector<uint64_t> together(kInstances, 0);
  std::vector<int> blocks(kInstances, 0);
  std::atomic<bool> stop{false};
  std::vector<std::thread> threads;
  for (size_t k = 0; k < kInstances; ++k) {
    threads.emplace_back([&, k] {
      together[k] = Play(*playing[k].instance, static_cast<uint32_t>(k + 1), blocks[k], &stop);
    });
  }
  std::deque<Track> extras;
  extras.emplace_back();
  for (int round = 0; round < kRounds; ++round) ChurnOnce(round, playing, extras);
  stop.store(true);
  for (std::thread& thread : threads) thread.join();
  for (Track& track : playing) track.plugin->CloseWindow();

  for (size_t k = 0; k < kInstances; ++k) {
    Track alone;
    ASSERT_TRUE(alone.instance->Activate(kRate, 1, kMaxFrames));
    EXPECT_NE(together[k], 0u);
    EXPECT_EQ(Play(*alone.instance, static_cast<uint32_t>(k + 1), blocks[k]), together[k])
        << "instance " << k << " after " << blocks[k] << " blocks";
  }
  for (const Track& track : playing) EXPECT_TRUE(track.host->ThreadViolations().empty());
  std::printf("load: %d to %d blocks per instance\n",
              *std::min_element(blocks.begin(), blocks.end()),
              *std::max_element(blocks.begin(), blocks.end()));
}

TEST(LoadTest, EditorsShareOneDecodingOfTheArtworkAndTheFont) {
  quorvel::test::ScratchConfigHome config;
  std::vector<Track> tracks(3);
  ASSERT_NE(tracks[0].plugin->OpenWindow(nullptr), nullptr);
  const size_t bitmaps = plugkit::gfx::BitmapCache().Size();
  const size_t fonts = plugkit::gfx::FontCache().Size();
  EXPECT_GT(bitmaps, 0u);
  EXPECT_GT(fonts, 0u);
  for (Track& track : tracks) ASSERT_NE(track.plugin->OpenWindow(nullptr), nullptr);
  tracks[1].plugin->CloseWindow();
  ASSERT_NE(tracks[1].plugin->OpenWindow(nullptr), nullptr);
  EXPECT_EQ(plugkit::gfx::BitmapCache().Size(), bitmaps);
  EXPECT_EQ(plugkit::gfx::FontCache().Size(), fonts);
  for (Track& track : tracks) track.plugin->CloseWindow();
  EXPECT_EQ(plugkit::gfx::BitmapCache().Size(), 0u) << "emptied with the last editor";
}

}  // namespace
}  // namespace quorvelTest
