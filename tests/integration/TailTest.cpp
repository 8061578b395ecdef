// The tail as a host that honours it sees it: noise, then silence, and once the silence has
// outlasted the reported tail nothing but DC may come out.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <utility>

#include "host/clap/ext/PresetLoad.h"
#include "host/clap/ext/Tail.h"
#include "tests/integration/QuorvelHarness.h"

namespace quorvelTest {
namespace {

constexpr double kTailRate = 48000.0;
constexpr uint32_t kTailBlock = 4096;
constexpr int kPresetCount = 27;
// What must stay after the tail: (max |x| - min |x|) / 2 below -60 dBFS, DC ignored.
constexpr double kQuiet = 0.001;
// Blocks checked after the tail has passed.
constexpr int kBlocksAfterTail = 4;

constexpr clap_id kCutoffEnable = 18, kCutoffShape = 19, kCutoffModSource = 20,
                  kCutoffModStrength = 21, kResonance = 23, kDriveEnable = 25, kDrive = 28,
                  kDriveFeedback = 29, kPhaserFeedback = 43, kChorusDelayModSource = 49,
                  kChorusDelayModStrength = 50, kChorusDelay = 51, kInputTrimId = 1;
constexpr double kLfo1 = 0, kAdsr = 1;

struct Case {
  const char* name;
  int preset;  // -1: defaults
  std::vector<std::pair<clap_id, double>> plain;
};

std::vector<Case> Cases() {
  std::vector<Case> cases{{"defaults", -1, {}}};
  for (int i = 0; i < kPresetCount; ++i) cases.push_back({"preset", i, {}});
  const std::pair<clap_id, double> lowPass[] = {{kCutoffEnable, 1}, {kCutoffShape, 0}};
  cases.insert(
      cases.end(),
      {{"phaser feedback 0", -1, {{kPhaserFeedback, 0}}},
       {"phaser feedback 0.95", -1, {{kPhaserFeedback, 0.95}}},
       {"phaser feedback 1", -1, {{kPhaserFeedback, 1}}},
       {"drive 1, feedback", -1, {{kDriveEnable, 1}, {kDrive, 1}, {kDriveFeedback, 1}}},
       {"drive 1, no feedback", -1, {{kDriveEnable, 1}, {kDrive, 1}, {kDriveFeedback, 0}}},
       {"resonance 1", -1, {lowPass[0], lowPass[1], {kResonance, 1}}},
       {"resonance 0.9, 200 Hz, +24 dB",
        -1,
        {lowPass[0], lowPass[1], {22, 200}, {kResonance, 0.9}, {kInputTrimId, 24}}},
       {"resonance 0.8 swept by LFO 1",
        -1,
        {lowPass[0],
         lowPass[1],
         {kResonance, 0.8},
         {kCutoffModSource, kLfo1},
         {kCutoffModStrength, 1},
         {22, 1000}}},
       {"narrow band pass, resonance 0.8",
        -1,
        {{kCutoffEnable, 1}, {kCutoffShape, 2}, {22, 1000}, {kResonance, 0.8}}},
       {"resonance 0", -1, {lowPass[0], lowPass[1], {22, 10}, {kResonance, 0}}},
       {"chorus delay 0", -1, {{kChorusDelay, 0}}},
       {"chorus delay 1", -1, {{kChorusDelay, 1}}},
       {"chorus delay swept by the ADSR",
        -1,
        {{kChorusDelay, 0.2}, {kChorusDelayModSource, kAdsr}, {kChorusDelayModStrength, 1}}}});
  return cases;
}

// Half the spread of |x| over a block: the level of what moves, DC ignored.
double MovingLevel(const AudioBlock& audio, uint32_t channel) {
  double low = HUGE_VAL, high = 0.0;
  for (uint32_t i = 0; i < audio.Frames(); ++i) {
    const double x = std::abs(audio.Output(0, channel, i));
    low = std::min(low, x);
    high = std::max(high, x);
  }
  return (high - low) / 2;
}

TEST_F(QuorvelTest, OutputFallsQuietWithinTheReportedTail) {
  std::mt19937 random(11);
  std::uniform_real_distribution<double> noise(-0.5, 0.5);  // -6 dBFS peak
  for (const Case& c : Cases()) {
    const std::string name =
        c.preset < 0 ? c.name : std::string("preset ") + std::to_string(c.preset);
    SCOPED_TRACE(name);
    Host host;
    auto instance = Create(host);
    ASSERT_TRUE(instance);
    if (c.preset >= 0) {
      const auto& load = RequireExtension<clap_plugin_preset_load>(*instance, CLAP_EXT_PRESET_LOAD);
      ASSERT_TRUE(load.from_location(instance->Plugin(), CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN,
                                     nullptr, std::to_string(c.preset).c_str()));
    }
    if (!c.plain.empty()) {
      auto state = *instance->SaveState();
      for (const auto& [id, value] : c.plain) std::memcpy(state.data() + id * 8, &value, 8);
      ASSERT_TRUE(instance->LoadState(state));
    }
    ASSERT_TRUE(instance->Activate(kTailRate, 1, kTailBlock));
    const uint32_t tail =
        RequireExtension<clap_plugin_tail>(*instance, CLAP_EXT_TAIL).get(instance->Plugin());
    ASSERT_GT(tail, 0u);

    ASSERT_TRUE(instance->StartProcessing());
    AudioBlock audio({2}, {2}, kTailBlock, SampleSize::Float64);
    InputEventList in;
    OutputEventList out;
    for (uint32_t done = 0; done < kTailRate; done += kTailBlock) {
      for (uint32_t ch = 0; ch < 2; ++ch)
        for (uint32_t i = 0; i < kTailBlock; ++i) audio.SetInput(0, ch, i, noise(random));
      ASSERT_EQ(instance->Process(audio, in, out), CLAP_PROCESS_TAIL);
    }
    audio.FillInput(0, 0, 0.0);
    audio.FillInput(0, 1, 0.0);
    uint64_t silent = 0;
    const auto loud = [&] {
      return std::max(MovingLevel(audio, 0), MovingLevel(audio, 1)) >= kQuiet;
    };
    if (tail == UINT32_MAX) {
      // Endless: two seconds on, it still rings.
      for (; silent < 2 * kTailRate; silent += kTailBlock) instance->Process(audio, in, out);
      EXPECT_TRUE(loud());
      std::printf("tail %-34s    endless (still ringing after 2 s)\n", name.c_str());
      continue;
    }
    uint64_t quietFrom = 0;  // where the output last fell quiet, as measured
    for (int checked = 0; checked < kBlocksAfterTail;) {
      instance->Process(audio, in, out);
      const bool past = silent > tail;
      silent += kTailBlock;
      if (loud()) quietFrom = silent;
      if (!past) continue;
      ++checked;
      for (uint32_t ch = 0; ch < 2; ++ch)
        ASSERT_LT(MovingLevel(audio, ch), kQuiet) << silent << " samples into the silence";
    }
    std::printf("tail %-34s %8u samples %7.3f s, measured quiet after %7.3f s\n", name.c_str(),
                tail, tail / kTailRate, quietFrom / kTailRate);
  }
}

TEST_F(QuorvelTest, TailFollowsSettingsAndIsAnnouncedToTheHost) {
  Host host;
  auto instance = Create(host);
  ASSERT_TRUE(instance);
  ASSERT_TRUE(instance->Activate(kTailRate, 1, 256));
  const auto& tail = RequireExtension<clap_plugin_tail>(*instance, CLAP_EXT_TAIL);
  const uint32_t before = tail.get(instance->Plugin());
  ASSERT_TRUE(instance->StartProcessing());
  AudioBlock audio({2}, {2}, 256, SampleSize::Float32);
  InputEventList in;
  OutputEventList out;
  in.Add(clapHost::MakeParamValue(0, kPhaserFeedback, 0.95));
  instance->Process(audio, in, out);
  in.Clear();
  RunPluginTimers(host);  // the main thread learns of the change
  instance->Process(audio, in, out);
  EXPECT_EQ(host.TailChangedCount(), 1);
  EXPECT_GT(tail.get(instance->Plugin()), before);
  in.Add(clapHost::MakeParamValue(0, kPhaserFeedback, 1.0));
  instance->Process(audio, in, out);
  in.Clear();
  RunPluginTimers(host);
  instance->Process(audio, in, out);
  EXPECT_EQ(host.TailChangedCount(), 2);
  EXPECT_EQ(tail.get(instance->Plugin()), UINT32_MAX) << "full feedback rings forever";
}

TEST_F(QuorvelTest, WithoutHostTailSilenceSleepsOnlyAfterTheTail) {
  clapHost::HostConfig config;
  config.tail = clapHost::Offer::Absent;
  Host host(config);
  auto instance = Create(host);
  ASSERT_TRUE(instance);
  ASSERT_TRUE(instance->Activate(kTailRate, 1, 512));
  const uint32_t tail =
      RequireExtension<clap_plugin_tail>(*instance, CLAP_EXT_TAIL).get(instance->Plugin());
  ASSERT_TRUE(instance->StartProcessing());
  AudioBlock audio({2}, {2}, 512, SampleSize::Float32);
  InputEventList in;
  OutputEventList out;
  uint32_t processed = 0;
  while (instance->Process(audio, in, out) == CLAP_PROCESS_CONTINUE) processed += 512;
  EXPECT_GE(processed + 512, tail);
  EXPECT_LT(processed, tail);
}

}  // namespace
}  // namespace quorvelTest
