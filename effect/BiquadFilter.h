#pragma once

#include <numbers>

#include "effect/FastMath.h"
#include "effect/StereoFilter.h"
#include "effect/StereoPair.h"

namespace quorvel {

// Direct-form-I biquad; the derived class decides the response.
class BiquadFilter {
 public:
  virtual ~BiquadFilter() = default;

  void SetFrequency(double hz);     // [audio-thread] corner in Hz, at least 1
  void SetQ(double q);              // [audio-thread] at least 0.001
  void SetSampleRate(double rate);  // [audio-thread] also clears the state
  double Process(double x);         // [audio-thread]

  // What Process uses of the settings.
  struct Coefficients {
    double b0, b1, b2, a1, a2;
  };
  Coefficients CurrentCoefficients() const { return {b0_, b1_, b2_, a1_, a2_}; }

  double Frequency() const { return frequency_; }
  double Q() const { return q_; }

 protected:
  virtual void ComputeCoefficients() = 0;

  // The corner actually used is kept just below half the sample rate, where the response
  // would otherwise turn unstable; the requested one is kept, so a later higher sample rate
  // gets it back.
  static constexpr double kMaxFrequencyRatio = 0.499;

  double sampleRate_ = 44100.0;
  double frequency_ = 1.0;
  double q_ = 1.0 / std::numbers::sqrt2;
  double b0_ = 1.0, b1_ = 0.0, b2_ = 0.0, a1_ = 0.0, a2_ = 0.0;

 private:
  friend class StereoFilter<BiquadFilter>;

  void TakeSettingsOf(const BiquadFilter& other);

  // One channel's memories, or both channels' side by side.
  template <class T>
  struct State {
    T x1, x2, y1, y2;
  };

  template <class T>
  [[gnu::always_inline]] static T Step(State<T>& s, T x, const Coefficients& c);

  State<double> state_{};
};

// Second-order high-pass of the Audio EQ Cookbook.
class HPF : public BiquadFilter {
 public:
  HPF();

  // The coefficients SetFrequency(hz) then gives, for a corner per lane; V is StereoPair or
  // StereoQuad.
  template <class V>
  struct CoefficientLanes {
    V b0, b1, b2, a1, a2;
  };
  template <class V>
  [[gnu::always_inline]] CoefficientLanes<V> CoefficientsAt(V hz) const;

 protected:
  void ComputeCoefficients() override;
};

using StereoBiquad = StereoFilter<BiquadFilter>;

template <class V>
inline HPF::CoefficientLanes<V> HPF::CoefficientsAt(V hz) const {
  // At least 1 Hz, and just below half the sample rate.
  const V corner =
      fastmath::Min(fastmath::Max(hz, V{} + 1.0), V{} + kMaxFrequencyRatio * sampleRate_);
  V sine, cosine;
  SinCosLanes(corner / sampleRate_ * 6.283185307179586, sine, cosine);
  const V alpha = sine / (2.0 * q_);
  const V k = 1.0 / (1.0 + alpha);
  const V b0 = (1.0 + cosine) * 0.5 * k;
  return {b0, -(1.0 + cosine) * k, b0, -2.0 * cosine * k, (1.0 - alpha) * k};
}

template <class T>
inline T BiquadFilter::Step(State<T>& s, T x, const Coefficients& c) {
  constexpr double kSilence = 1e-10;
  T y = c.b0 * x + c.b1 * s.x1 + c.b2 * s.x2 - c.a1 * s.y1 - c.a2 * s.y2;
  // Lifts tiny and positive values to the floor; leaves clearly negative ones and NaN alone.
  const T floor = Constant<T>(kSilence);
  y = Choose(y > -kSilence, Choose(kSilence < y, y, floor), y);
  s.x2 = s.x1;
  s.x1 = x;
  s.y2 = s.y1;
  s.y1 = y;
  return y;
}

}  // namespace quorvel
