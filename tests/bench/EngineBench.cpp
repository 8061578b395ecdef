// Realtime factor of the engine (seconds of audio per second of CPU) at 48 kHz stereo.

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "effect/FactoryPresets.h"
#include "effect/QuorvelEngine.h"
#include "effect/QuorvelParameters.h"
#include "tests/effect/ParameterSet.h"

namespace {

using quorvel::ModSource;
using quorvel::ParamIndex;
using Values = std::array<double, quorvel::kParamCount>;

constexpr double kSampleRate = 48000.0;
constexpr int kSeconds = 2;

Values Defaults() { return testSupport::ParameterSet().PlainValues(); }

// The pairs of factory preset index (0 is the defaults) over the defaults, limited to their
// ranges.
Values PresetValues(int index) {
  testSupport::ParameterSet set;
  if (index > 0) {
    for (const plugkit::PresetValue& pair :
         quorvel::kNamedFactoryPresets[static_cast<size_t>(index - 1)].values)
      set.ParamAt(pair.index)->SetPlain(pair.value);
  }
  return set.PlainValues();
}

const char* PresetName(int index) {
  return index > 0 ? quorvel::kNamedFactoryPresets[static_cast<size_t>(index - 1)].name : "Empty";
}

// Every stage on, the band-pass shape (the costlier one) and all nine slots following a
// source, LFO 1 tempo-synced.
Values Heavy() {
  Values v = Defaults();
  const auto set = [&v](ParamIndex p, double x) {
    v[static_cast<size_t>(quorvel::ToIndex(p))] = x;
  };
  const auto source = [](ModSource s) { return static_cast<double>(static_cast<int>(s)); };
  set(ParamIndex::Lfo1TempoSync, 1.0);
  set(ParamIndex::CutoffFilterEnable, 1.0);
  set(ParamIndex::CutoffFilterShape, 1.0);
  set(ParamIndex::Resonance, 0.4);
  set(ParamIndex::CutoffFilterFrequency, 2000.0);
  set(ParamIndex::CutoffFilterModSource, source(ModSource::Lfo1));
  set(ParamIndex::CutoffFilterModStrength, 0.6);
  set(ParamIndex::DriveEnable, 1.0);
  set(ParamIndex::Drive, 0.5);
  set(ParamIndex::DriveModSource, source(ModSource::EnvFollower));
  set(ParamIndex::DriveModStrength, 0.4);
  set(ParamIndex::PhaserWetModSource, source(ModSource::Adsr));
  set(ParamIndex::PhaserWetModStrength, -0.5);
  set(ParamIndex::ChorusWetModSource, source(ModSource::Lfo1));
  set(ParamIndex::ChorusWetModStrength, 0.5);
  set(ParamIndex::ChorusDelayModSource, source(ModSource::Lfo2));
  set(ParamIndex::ChorusDelayModStrength, 0.7);
  set(ParamIndex::OutputModSource, source(ModSource::Adsr));
  set(ParamIndex::OutputModStrength, -0.3);
  return v;
}

// Two seconds of pulsed noise over a low tone, so the gate, follower and ADSR all move.
std::vector<double> TestSignal(int channel) {
  std::vector<double> samples(static_cast<size_t>(kSampleRate) * kSeconds);
  std::uint32_t seed = 12345u + static_cast<std::uint32_t>(channel);
  for (size_t i = 0; i < samples.size(); ++i) {
    seed = seed * 1664525u + 1013904223u;
    const double noise = static_cast<double>(seed >> 8) / 8388608.0 - 1.0;
    const double t = static_cast<double>(i) / kSampleRate;
    const double pulse = std::fmod(t, 0.5) < 0.12 ? 0.6 : 0.05;
    samples[i] = pulse * noise + 0.3 * std::sin(2.0 * 3.141592653589793 * 110.0 * t);
  }
  return samples;
}

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
  const std::vector<double> left = Shaped(TestSignal(0), input);
  const std::vector<double> right = Shaped(TestSignal(1), input);
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

BENCHMARK(BM_Defaults)->Arg(64)->Arg(512);
BENCHMARK(BM_AllStagesModulated)->Arg(64)->Arg(512);

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
