#pragma once

#include <cmath>

#include "effect/FastMath.h"
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

  double Frequency() const { return frequency_; }
  double Output() const { return memory_.output; }
  // The gain ProcessScaled uses at scale.
  double GainAt(double scale) const { return GainsAt(Splat(scale))[0]; }
  // The pole of the stage's response at corner · scale, for small signals (where the
  // saturation has slope 1/2).
  double PoleAt(double scale) const { return 1.0 + 0.5 * GainAt(scale) * kInputScale; }
  // The gains at a scale per lane, for a pair or a quad at once.
  template <class V>
  [[gnu::always_inline]] V GainsAt(V scale) const {
    return (1.0 - ExpLanes(scale * exponent_)) * kGainScale;
  }

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
  [[gnu::always_inline]] static T Step(Memory<T>& m, T stageGain, T x);

  double frequency_ = 5000.0;
  double sampleRate_ = 44100.0;
  double radiansPerHz_ = 0.0;
  double exponent_ = 0.0;
  double gain_ = 0.0;
  Memory<double> memory_{};
};

// A left and a right stage with the same base corner, run in the two lanes of a pair for the
// length of a block: the states are taken over on construction and handed back on
// destruction. With leftOnly the right lane repeats the left one and the right stage is left
// as it was. [audio-thread]
class StereoAllpass {
 public:
  StereoAllpass(AllpassStage& left, AllpassStage& right, bool leftOnly = false);
  ~StereoAllpass();
  StereoAllpass(const StereoAllpass&) = delete;
  StereoAllpass& operator=(const StereoAllpass&) = delete;

  // At the left stage's base corner.
  StereoPair Process(StereoPair x) { return AllpassStage::Step(memory_, Splat(left_.gain_), x); }
  // At a gain per lane, as given by ScaledGains.
  StereoPair Process(StereoPair x, StereoPair gain) { return AllpassStage::Step(memory_, gain, x); }

 private:
  AllpassStage& left_;
  AllpassStage& right_;
  bool leftOnly_;
  AllpassStage::Memory<StereoPair> memory_;
};

// The gains of a left and a right stage, which share their base corner, at a scale per lane
// and sample. A scale held from the last sample (a limit reached, a source standing still)
// needs no new exponential. [audio-thread]
class ScaledGains {
 public:
  explicit ScaledGains(const AllpassStage& stage) : stage_(stage) {}

  StereoPair At(StereoPair scale) {
    const StereoMask changed = scale != lastScale_;
    if (changed[0] | changed[1]) {
      lastScale_ = scale;
      lastGain_ = stage_.GainsAt(scale);
    }
    return lastGain_;
  }
  // Two samples in a row at once.
  [[gnu::always_inline]] StereoQuad At(StereoQuad scales) {
    const StereoQuadMask changed = scales != Join(lastScale_, lastScale_);
    if (!(changed[0] | changed[1] | changed[2] | changed[3])) return Join(lastGain_, lastGain_);
    const StereoQuad gains = stage_.GainsAt(scales);
    lastScale_ = SecondPair(scales);
    lastGain_ = SecondPair(gains);
    return gains;
  }

 private:
  const AllpassStage& stage_;
  StereoPair lastScale_ = Splat(__builtin_nan(""));
  StereoPair lastGain_ = Splat(0.0);
};

template <class T>
inline T AllpassStage::Step(Memory<T>& m, T stageGain, T x) {
  const T in = ReplaceZero(x, 1e-10);
  const T v = (in + m.output) * kInputScale;
  m.state = m.state + stageGain * Saturate(v);
  m.output = in + m.state;
  return m.output;
}

}  // namespace quorvel
