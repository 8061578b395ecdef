// A host's rough day for one instance: block sizes of 1 to 8192 frames changing every call,
// re-activation at 8 kHz to 384 kHz, automation at random offsets with bursts of hundreds of
// events, transport jumps and tempo changes, the side-chain coming and going, silences long
// enough to sleep, and denormal, infinite and NaN input. After every block the output is finite,
// the limiter's ceiling holds while it is on, the process call neither allocated nor locked,
// and the state saved then loads into a second instance with the same values.
// QUORVEL_SOAK_SECONDS sets the length (25 s by default; an hour by hand), QUORVEL_SOAK_SEED
// the random stream.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <vector>

#include "tests/integration/CountingAllocator.h"
#include "tests/integration/QuorvelHarness.h"

namespace quorvelTest {
namespace {

constexpr clap_id kBrickwallLimit = 58;
constexpr uint32_t kMaxFrames = 8192;
// The limiter's ceiling (-0.1 dBFS) and the rounding of a 32-bit output.
constexpr double kCeiling = 0.98855309465694 + 1e-6;

double EnvironmentNumber(const char* name, double fallback) {
  const char* text = std::getenv(name);
  return text ? std::atof(text) : fallback;
}

enum class Input { Signal, Silence, Loud, Denormal, NonFinite };

class RoughDay {
 public:
  explicit RoughDay(uint32_t seed) : random_(seed) {}

  // Mostly a few hundred frames, sometimes one, sometimes the maximum.
  uint32_t Frames() {
    const double octaves = std::uniform_real_distribution<double>(0.0, 13.0)(random_);
    return std::clamp(static_cast<uint32_t>(std::exp2(octaves)), 1u, kMaxFrames);
  }

  double SampleRate() {
    static constexpr double kRates[] = {8000,  11025, 22050,  44100,  48000,
                                        88200, 96000, 176400, 192000, 384000};
    return kRates[random_() % std::size(kRates)];
  }

  // Silence comes in runs long enough for the tail to run out.
  Input NextInput() {
    if (silentBlocks_ > 0) {
      --silentBlocks_;
      return Input::Silence;
    }
    if (random_() % 1000 < 3) silentBlocks_ = 20 + random_() % 200;
    const uint32_t roll = random_() % 100;
    if (roll < 70) return Input::Signal;
    if (roll < 82) return Input::Loud;
    if (roll < 92) return Input::Denormal;
    return Input::NonFinite;
  }

  void FillInput(clapHost::AudioBlock& audio, Input input) {
    std::uniform_real_distribution<double> noise(-1.0, 1.0);
    const double gain = input == Input::Loud ? 8.0 : 0.5;
    for (uint32_t port = 0; port < audio.InputCount(); ++port) {
      for (uint32_t channel = 0; channel < 2; ++channel) {
        for (uint32_t i = 0; i < audio.Frames(); ++i) {
          double value = 0.0;
          if (input == Input::Signal || input == Input::Loud) value = gain * noise(random_);
          if (input == Input::Denormal) value = noise(random_) * 1e-310;
          audio.SetInput(port, channel, i, value);
        }
      }
    }
    if (input == Input::NonFinite) {
      static constexpr double kBad[] = {std::numeric_limits<double>::quiet_NaN(), HUGE_VAL,
                                        -HUGE_VAL};
      for (int n = 0; n < 3; ++n) {
        audio.SetInput(0, random_() % 2, random_() % audio.Frames(), kBad[random_() % 3]);
      }
    }
  }

  // A few events most of the time, now and then a burst of hundreds, all at random offsets.
  void FillEvents(clapHost::InputEventList& in, uint32_t frames,
                  const std::vector<clap_param_info>& infos, bool& limiterOn) {
    in.Clear();
    const uint32_t count =
        random_() % 100 < 3 ? 100 + random_() % 500 : static_cast<uint32_t>(random_() % 4);
    std::vector<uint32_t> times(count);
    for (uint32_t& time : times) time = random_() % frames;
    std::sort(times.begin(), times.end());
    for (const uint32_t time : times) {
      const clap_param_info& info = infos[random_() % infos.size()];
      double value =
          std::uniform_real_distribution<double>(info.min_value, info.max_value)(random_);
      if (info.flags & CLAP_PARAM_IS_STEPPED) value = std::round(value);
      if (info.id == kBrickwallLimit) limiterOn = value >= 0.5;
      in.Add(clapHost::MakeParamValue(time, info.id, value));
    }
  }

  // Playing or stopped, with jumps of the song position and changes of tempo now and then.
  void AdvanceTransport(clap_event_transport& transport, uint32_t frames, double rate) {
    const uint32_t roll = random_() % 100;
    if (roll < 5) transport.tempo = std::uniform_real_distribution<double>(20.0, 300.0)(random_);
    if (roll >= 5 && roll < 10) {
      transport.song_pos_beats =
          static_cast<clap_beattime>(random_() % 100000) * CLAP_BEATTIME_FACTOR / 16;
    }
    if (roll == 10) transport.flags ^= CLAP_TRANSPORT_IS_PLAYING;
    if (transport.flags & CLAP_TRANSPORT_IS_PLAYING) {
      const double beats = frames / rate * transport.tempo / 60.0;
      transport.song_pos_beats += static_cast<clap_beattime>(beats * CLAP_BEATTIME_FACTOR);
    }
  }

  bool OneIn(uint32_t n) { return random_() % n == 0; }
  uint32_t Below(uint32_t n) { return static_cast<uint32_t>(random_() % n); }

 private:
  std::mt19937 random_;
  uint32_t silentBlocks_ = 0;
};

// Where a block went wrong, or empty.
std::string CheckOutput(const clapHost::AudioBlock& audio, bool limiterOn) {
  for (uint32_t channel = 0; channel < 2; ++channel) {
    for (uint32_t i = 0; i < audio.Frames(); ++i) {
      const double value = audio.Output(0, channel, i);
      if (!std::isfinite(value) || (limiterOn && std::fabs(value) > kCeiling)) {
        return "sample " + std::to_string(i) + " of channel " + std::to_string(channel) + " is " +
               std::to_string(value);
      }
    }
  }
  return {};
}

TEST_F(QuorvelTest, ARoughDayLeavesEveryBlockSound) {
  const auto seconds = EnvironmentNumber("QUORVEL_SOAK_SECONDS", 25.0);
  RoughDay day(static_cast<uint32_t>(EnvironmentNumber("QUORVEL_SOAK_SEED", 24)));
  // Without the host's tail extension the plug-in decides itself when to sleep.
  clapHost::HostConfig config;
  config.tail = clapHost::Offer::Absent;
  Host host(config);
  auto instance = Create(host);
  Host checkHost;
  auto check = Create(checkHost);
  ASSERT_TRUE(instance && check);
  const auto& params = RequireExtension<clap_plugin_params>(*instance, CLAP_EXT_PARAMS);
  std::vector<clap_param_info> infos(kParamCount);
  for (uint32_t i = 0; i < kParamCount; ++i) {
    ASSERT_TRUE(params.get_info(instance->Plugin(), i, &infos[i]));
  }
  bool limiterOn = GetValue(*instance, kBrickwallLimit) >= 0.5;

  clapHost::AudioBlock withSidechain({2, 2}, {2}, kMaxFrames, SampleSize::Float32);
  clapHost::AudioBlock mainOnly({2}, {2}, kMaxFrames, SampleSize::Float64);
  InputEventList in;
  OutputEventList out;
  clap_event_transport transport = clapHost::MakeTransport();
  transport.flags |=
      CLAP_TRANSPORT_HAS_TEMPO | CLAP_TRANSPORT_HAS_BEATS_TIMELINE | CLAP_TRANSPORT_IS_PLAYING;

  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  long blocks = 0, activations = 0, sleeps = 0;
  while (std::chrono::steady_clock::now() < end) {
    const double rate = day.SampleRate();
    ASSERT_TRUE(instance->Activate(rate, 1, kMaxFrames)) << rate;
    ASSERT_TRUE(instance->StartProcessing());
    ++activations;
    clapHost::AudioBlock* audio = &withSidechain;
    for (uint32_t n = 200 + day.Below(2000); n > 0; --n, ++blocks) {
      if (day.OneIn(50)) audio = audio == &withSidechain ? &mainOnly : &withSidechain;
      audio->SetFrames(day.Frames());
      day.FillInput(*audio, day.NextInput());
      const bool limiterWasOn = limiterOn;
      day.FillEvents(in, audio->Frames(), infos, limiterOn);
      day.AdvanceTransport(transport, audio->Frames(), rate);
      out.Clear();
      clap_process_status status = CLAP_PROCESS_ERROR;
      const auto [allocations, locks] = countingAllocator::Count(
          [&] { status = instance->Process(*audio, in, out, &transport); });
      const std::string where = " in block " + std::to_string(blocks) + " at " +
                                std::to_string(rate) + " Hz, " + std::to_string(audio->Frames()) +
                                " frames";
      ASSERT_NE(status, CLAP_PROCESS_ERROR) << where;
      ASSERT_EQ(allocations, 0) << where;
      ASSERT_EQ(locks, 0) << where;
      if (status == CLAP_PROCESS_SLEEP) ++sleeps;
      const std::string fault = CheckOutput(*audio, limiterOn && limiterWasOn);
      ASSERT_TRUE(fault.empty()) << fault << where;

      const auto state = instance->SaveState();
      ASSERT_TRUE(state && check->LoadState(*state)) << where;
      for (clap_id id = 0; id < kParamCount; ++id) {
        ASSERT_EQ(GetValue(*check, id), GetValue(*instance, id)) << "parameter " << id << where;
      }
    }
    instance->StopProcessing();
    instance->Deactivate();
  }
  std::printf("soak: %ld blocks, %ld activations, %ld sleeps in %.0f s\n", blocks, activations,
              sleeps, seconds);
  EXPECT_GT(sleeps, 0) << "no silence was long enough to sleep";
  EXPECT_TRUE(host.ThreadViolations().empty());
}

}  // namespace
}  // namespace quorvelTest
