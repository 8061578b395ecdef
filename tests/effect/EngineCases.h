// The parameter sets, the input signal and the rendering that the engine's benchmark, its
// render comparison and the render guard test share.

#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "effect/FactoryPresets.h"
#include "effect/QuorvelEngine.h"
#include "effect/QuorvelParameters.h"
#include "tests/effect/ParameterSet.h"

namespace engineCases {

using Values = std::array<double, quorvel::kParamCount>;

inline Values Defaults() { return testSupport::ParameterSet().PlainValues(); }

// The pairs of factory preset index (0 is the defaults) over the defaults, limited to their
// ranges.
inline Values PresetValues(int index) {
  testSupport::ParameterSet set;
  if (index > 0) {
    for (const plugkit::PresetValue& pair :
         quorvel::kNamedFactoryPresets[static_cast<size_t>(index - 1)].values)
      set.ParamAt(pair.index)->SetPlain(pair.value);
  }
  return set.PlainValues();
}

inline const char* PresetName(int index) {
  return index > 0 ? quorvel::kNamedFactoryPresets[static_cast<size_t>(index - 1)].name : "Empty";
}

inline void Set(Values& v, quorvel::ParamIndex p, double x) {
  v[static_cast<size_t>(quorvel::ToIndex(p))] = x;
}

// Every stage on, the band-pass shape (the costlier one) and all nine slots following a
// source, LFO 1 tempo-synced.
inline Values Heavy() {
  using quorvel::ModSource;
  using quorvel::ParamIndex;
  Values v = Defaults();
  const auto set = [&v](ParamIndex p, double x) { Set(v, p, x); };
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

// Pulsed noise over a low tone, so the gate, follower and ADSR all move; each channel has its
// own noise.
inline std::vector<double> TestSignal(int channel, double sampleRate, double seconds) {
  std::vector<double> samples(static_cast<size_t>(sampleRate * seconds));
  std::uint32_t seed = 12345u + static_cast<std::uint32_t>(channel);
  for (size_t i = 0; i < samples.size(); ++i) {
    seed = seed * 1664525u + 1013904223u;
    const double noise = static_cast<double>(seed >> 8) / 8388608.0 - 1.0;
    const double t = static_cast<double>(i) / sampleRate;
    const double pulse = std::fmod(t, 0.5) < 0.12 ? 0.6 : 0.05;
    samples[i] = pulse * noise + 0.3 * std::sin(2.0 * 3.141592653589793 * 110.0 * t);
  }
  return samples;
}

// The engine's output for a case, left and right interleaved: the host's sample position
// moves with the blocks, and with sidechain the detectors listen to two further signals.
inline std::vector<double> Render(const Values& values, double rate, int block, bool sidechain,
                                  double seconds) {
  const std::vector<double> in[4] = {TestSignal(0, rate, seconds), TestSignal(1, rate, seconds),
                                     TestSignal(2, rate, seconds), TestSignal(3, rate, seconds)};
  const std::size_t total = in[0].size();
  quorvel::ChannelState channels;
  channels.connectedInputs = sidechain ? 4 : 2;
  channels.connectedOutputs = channels.outputChannels = 2;
  channels.inputMask = sidechain ? 15 : 3;
  channels.outputMask = 3;
  plugkit::TransportInfo transport;
  transport.tempo = 120.0;
  quorvel::QuorvelEngine engine;
  engine.OnProcessingReset(values, rate, block, transport.tempo);
  std::vector<double> outL(static_cast<size_t>(block)), outR(outL.size());
  double* outputs[2] = {outL.data(), outR.data()};
  std::vector<double> result;
  result.reserve(2 * total);
  for (std::size_t at = 0; at < total; at += static_cast<size_t>(block)) {
    const int n = static_cast<int>(std::min<std::size_t>(static_cast<size_t>(block), total - at));
    const double* inputs[4] = {in[0].data() + at, in[1].data() + at, in[2].data() + at,
                               in[3].data() + at};
    transport.samplePosition = static_cast<double>(at);
    engine.ProcessAudioBlock(values, inputs, outputs, n, channels, transport);
    for (size_t i = 0; i < static_cast<size_t>(n); ++i) {
      result.push_back(outL[i]);
      result.push_back(outR[i]);
    }
  }
  return result;
}

}  // namespace engineCases
