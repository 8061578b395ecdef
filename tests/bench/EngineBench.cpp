// Realtime factor of the engine (seconds of audio per second of CPU) at 48 kHz stereo.

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "effect/QuorvelEngine.h"
#include "tests/effect/EngineCases.h"

namespace {

using engineCases::Defaults;
using engineCases::Heavy;
using engineCases::PresetName;
using engineCases::PresetValues;
using engineCases::Values;

constexpr double kSampleRate = 48000.0;
constexpr int kSeconds = 2;

// The test signal as it is, scaled into the denormal range, or as short bursts each followed
// by a long silence, so that most blocks process decaying tails.
enum class Input { Normal, Denormal, Tails };

std::vector<double> Shaped(std::vector<double> samples, Input input) {
  for (size_t i = 0; i < samples.size(); ++i) {
    if (input == Input::Denormal) samples[i] *= 1e-310;
    if (input == Input::Tails && i % static_cast<size_t>(kSampleRate) > kSampleRate / 20) {
      samples[i] = 0.0;
    }
  }
  return samples;
}

void RunEngine(benchmark::State& state, const Values& values, Input input = Input::Normal) {
  const int block = static_cast<int>(state.range(0));
  const std::vector<double> left = Shaped(engineCases::TestSignal(0, kSampleRate, kSeconds), input);
  const std::vector<double> right =
      Shaped(engineCases::TestSignal(1, kSampleRate, kSeconds), input);
  std::vector<double> outL(static_cast<size_t>(block)), outR(static_cast<size_t>(block));
  std::vector<double> inL(static_cast<size_t>(block)), inR(static_cast<size_t>(block));
  quorvel::ChannelState channels;
  channels.connectedInputs = 2;
  channels.connectedOutputs = 2;
  channels.outputChannels = 2;
  channels.inputMask = 3;
  channels.outputMask = 3;
  plugkit::TransportInfo transport;
  transport.tempo = 120.0;

  quorvel::QuorvelEngine engine;
  engine.OnProcessingReset(values, kSampleRate, block, transport.tempo);
  const double* inputs[2] = {inL.data(), inR.data()};
  double* outputs[2] = {outL.data(), outR.data()};
  std::int64_t frames = 0;
  size_t position = 0;
  for (auto _ : state) {
    if (position + static_cast<size_t>(block) > left.size()) position = 0;
    std::copy_n(left.data() + position, block, inL.data());
    std::copy_n(right.data() + position, block, inR.data());
    transport.samplePosition = static_cast<double>(frames);
    engine.ProcessAudioBlock(values, inputs, outputs, block, channels, transport);
    benchmark::DoNotOptimize(outL.data());
    benchmark::DoNotOptimize(outR.data());
    position += static_cast<size_t>(block);
    frames += block;
  }
  state.counters["realtime"] =
      benchmark::Counter(static_cast<double>(frames) / kSampleRate, benchmark::Counter::kIsRate);
}

void BM_Defaults(benchmark::State& state) { RunEngine(state, Defaults()); }
void BM_AllStagesModulated(benchmark::State& state) { RunEngine(state, Heavy()); }

// The heavy case on a silent input after its tail has passed: what a quiet track costs a host
// that keeps calling process.
void BM_SilentAfterTail(benchmark::State& state) {
  const int block = static_cast<int>(state.range(0));
  const Values values = Heavy();
  std::vector<double> in(static_cast<size_t>(block)), outL(in.size()), outR(in.size());
  quorvel::ChannelState channels;
  channels.connectedInputs = channels.connectedOutputs = channels.outputChannels = 2;
  channels.inputMask = channels.outputMask = 3;
  plugkit::TransportInfo transport;
  transport.tempo = 120.0;
  quorvel::QuorvelEngine engine;
  engine.OnProcessingReset(values, kSampleRate, block, transport.tempo);
  const double* inputs[2] = {in.data(), in.data()};
  double* outputs[2] = {outL.data(), outR.data()};
  std::int64_t frames = 0;
  const auto process = [&] {
    transport.samplePosition = static_cast<double>(frames);
    engine.ProcessAudioBlock(values, inputs, outputs, block, channels, transport);
    frames += block;
  };
  // Ten seconds of silence first, well past the longest tail.
  while (frames < static_cast<std::int64_t>(10 * kSampleRate)) process();
  const std::int64_t start = frames;
  for (auto _ : state) {
    process();
    benchmark::DoNotOptimize(outL.data());
    benchmark::DoNotOptimize(outR.data());
  }
  state.counters["realtime"] = benchmark::Counter(static_cast<double>(frames - start) / kSampleRate,
                                                  benchmark::Counter::kIsRate);
}

BENCHMARK(BM_Defaults)->Arg(64)->Arg(512);
BENCHMARK(BM_AllStagesModulated)->Arg(32)->Arg(64)->Arg(512);
BENCHMARK(BM_SilentAfterTail)->Arg(512);

// Denormal input and decaying tails must cost no more than 1.2 times the normal signal: a
// denormal slow-down is a drop-out.
void BM_DenormalInput(benchmark::State& state) { RunEngine(state, Heavy(), Input::Denormal); }
void BM_DecayingTails(benchmark::State& state) { RunEngine(state, Heavy(), Input::Tails); }
BENCHMARK(BM_DenormalInput)->Arg(512);
BENCHMARK(BM_DecayingTails)->Arg(512);

// One case per factory preset, labelled with its name.
const bool kPresetsRegistered = [] {
  for (int index = 0; index < quorvel::kFactoryPresetCount; ++index) {
    const std::string name = "BM_Preset/" + std::to_string(index);
    benchmark::RegisterBenchmark(name.c_str(),
                                 [index](benchmark::State& state) {
                                   RunEngine(state, PresetValues(index));
                                   state.SetLabel(PresetName(index));
                                 })
        ->Arg(64)
        ->Arg(512);
  }
  return true;
}();

}  // namespace

BENCHMARK_MAIN();
