#pragma once

#include <cmath>

#include "effect/Saturation.h"
#include "effect/StereoPair.h"

namespace quorvel {

// First-order all-pass: unity gain, phase −180° at 0 Hz turning to 0° at Nyquist. The
// stage corner can be scaled per sample without touching the stored gain.
class AllpassStage {
 public:
  void SetFrequency(double hz);                  // [audio-thread] base corner in Hz
  void SetSampleRate(double rate);               // [audio-thread] ignored for 0; keeps the state
  double Process(double x);                      // [audio-thread] at the base corner
  double ProcessScaled(double scale, double x);  // [audio-thread] at corner · scale

  // A non-finite value would otherwise circulate forever; finite states are kept.
  void ClearIfNotFinite();  // [audio-thread]

  double Frequency() const { return frequency; }
  double Output() const { return memory.output; }

 private:
  friend class StereoAllpass;

  // The state runs 56250 times larger than the signal; the input scale and the gain scale
  // cancel for ordinary signal sizes.
  static constexpr double kInputScale = -1.77777778e-5;
  static constexpr double kGainScale = 112500.0;

  // One channel's memories, or both channels' side by side.
  template <class T>
  struct Memory {
    T state, output;
  };

  template <class T>
  static T Step(Memory<T>& m, T stageGain, T x);
  double GainAt(double scale) const { return (1.0 - std::exp(scale * exponent)) * kGainScale; }

  double frequency = 5000.0;
  double sampleRate = 44100.0;
  double radiansPerHz = 0.0;
  double exponent = 0.0;
  double gain = 0.0;
  Memory<double> memory{};
};

// A left and a right stage with the same base corner, run in the two lanes of a pair for the
// length of a block: the states are taken over on construction and handed back on
// destruction. [audio-thread]
class StereoAllpass {
 public:
  StereoAllpass(AllpassStage& left, AllpassStage& right);
  ~StereoAllpass();
  StereoAllpass(const StereoAllpass&) = delete;
  StereoAllpass& operator=(const StereoAllpass&) = delete;

  StereoPair Process(StereoPair x) { return AllpassStage::Step(memory, Splat(left.gain), x); }
  // Each lane at its own corner · scale.
  StereoPair ProcessScaled(StereoPair scale, StereoPair x);

 private:
  AllpassStage& left;
  AllpassStage& right;
  AllpassStage::Memory<StereoPair> memory;
  // The gain of the last scale of each lane: a scale held from sample to sample (a limit
  // reached, a source standing still) needs no new exponential.
  StereoPair lastScale;
  StereoPair lastGain;
};

template <class T>
T AllpassStage::Step(Memory<T>& m, T stageGain, T x) {
  const T in = ReplaceZero(x, 1e-10);
  const T v = (in + m.output) * kInputScale;
  m.state = m.state + stageGain * Saturate(v);
  m.output = in + m.state;
  return m.output;
}

inline StereoPair StereoAllpass::ProcessScaled(StereoPair scale, StereoPair x) {
  for (int k = 0; k < 2; ++k) {
    if (scale[k] != lastScale[k]) {
      lastScale[k] = scale[k];
      lastGain[k] = left.GainAt(scale[k]);
    }
  }
  return AllpassStage::Step(memory, lastGain, x);
}

}  // namespace quorvel
