#pragma once

#include "effect/FastMath.h"
#include "effect/Saturation.h"
#include "effect/StereoFilter.h"
#include "effect/StereoPair.h"

namespace quorvel {

// Four-stage nonlinear ladder low-pass. Small signals see four one-pole stages; the
// saturation only bends signals far above full scale.
class LadderFilter {
 public:
  LadderFilter();

  void SetCutoff(double hz);         // [audio-thread] cutoff in Hz
  void SetResonance(double amount);  // [audio-thread] 0 … 1
  void Reset(double sampleRate);     // [audio-thread] clears the state, keeps the settings
  double Process(double x);          // [audio-thread]

  // What Process uses of the settings; changes with the cutoff and the resonance.
  struct Coefficients {
    double resonanceScale = 0.0;
    double gain = 0.0;
  };
  Coefficients CurrentCoefficients() const { return {settings_.resonanceScale, settings_.gain}; }

  // What SetCutoff(hz) then works out, for a cutoff per lane; V is StereoPair or StereoQuad.
  template <class V>
  struct CoefficientLanes {
    V normalizedCutoff, tuning, resonanceScale, gain;
  };
  template <class V>
  [[gnu::always_inline]] CoefficientLanes<V> CoefficientsAt(V hz) const;

  // How far each one-pole stage moves towards its input per sample for small signals, where
  // the saturation has slope 1/2: the stages' pole lies at 1 minus it.
  double StageStep() const { return 0.5 * settings_.gain * kStateScale; }

  double Cutoff() const { return settings_.cutoff; }
  double Resonance() const { return settings_.resonance; }
  // cutoff / sample rate, limited
  double NormalizedCutoff() const { return settings_.normalizedCutoff; }

 private:
  friend class StereoFilter<LadderFilter>;

  void TakeSettingsOf(const LadderFilter& other) { settings_ = other.settings_; }

  // Stage states are kept 20000 times larger than the signal, so the saturation input is
  // scaled back down and the stage gain scaled up to match.
  static constexpr double kStateScale = 5e-5;

  struct Settings {
    double cutoff = 1.0;
    double resonance = 1.0;
    double sampleRate = 44100.0;
    double normalizedCutoff = 0.0;
    double tuning = 0.0;
    double resonanceScale = 0.0;
    double gain = 0.0;
  };

  // One channel's memories, or both channels' side by side.
  template <class T>
  struct State {
    T s0, s1, s2, s3, s3Previous, output, t0, t1, t2;
  };

  void ComputeCoefficients();
  template <class T>
  [[gnu::always_inline]] static T Step(State<T>& s, T x, Coefficients c);

  Settings settings_;
  State<double> state_{};
};

using StereoLadder = StereoFilter<LadderFilter>;

template <class V>
inline LadderFilter::CoefficientLanes<V> LadderFilter::CoefficientsAt(V hz) const {
  constexpr double kGainScale = 40000.0;
  const Settings& c = settings_;
  V f = hz / c.sampleRate;
  if (c.resonance != 0.0) {
    // Resonance near the top of the range would run away close to Nyquist.
    const double limit = c.resonance < 0.25 ? 0.5 - c.resonance : 0.25;
    f = fastmath::Min(f, V{} + limit);
  }
  const V x = 2.0 * f;
  const V x2 = x * x;
  const V tuning = 1.873 * (x2 * x) + 0.4955 * x2 - 0.649 * x + 0.9988;
  const V resonanceScale = (-3.9364 * x2 + 1.8409 * x + 0.9968) * 4.0 * c.resonance;
  const V gain = (1.0 - ExpLanes(-6.28318530717959 * tuning * f)) * kGainScale;
  return {f, tuning, resonanceScale, gain};
}

template <class T>
inline T LadderFilter::Step(State<T>& s, T x, Coefficients c) {
  x = ReplaceZero(x, 1e-10);
  const T a = Saturate((x - c.resonanceScale * s.output) * kStateScale);
  s.s0 = s.s0 + (a - s.t0) * c.gain;
  s.t0 = Saturate(s.s0 * kStateScale);
  s.s1 = s.s1 + (s.t0 - s.t1) * c.gain;
  s.t1 = Saturate(s.s1 * kStateScale);
  s.s2 = s.s2 + (s.t1 - s.t2) * c.gain;
  s.t2 = Saturate(s.s2 * kStateScale);
  s.s3 = s.s3 + (s.t2 - Saturate(s.s3 * kStateScale)) * c.gain;
  s.output = (s.s3 + s.s3Previous) * 0.5;
  s.s3Previous = s.s3;
  return s.output;
}

}  // namespace quorvel
