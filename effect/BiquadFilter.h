#pragma once

#include <numbers>

namespace quorvel {

// Direct-form-I biquad; the derived class decides the response.
class BiquadFilter {
 public:
  virtual ~BiquadFilter() = default;

  void SetFrequency(double hz);     // [audio-thread] corner in Hz, at least 1
  void SetQ(double q);              // [audio-thread] at least 0.001
  void SetSampleRate(double rate);  // [audio-thread] also clears the state
  double Process(double x);         // [audio-thread]

  double Frequency() const { return frequency; }
  double Q() const { return q; }

  // The corner actually used: kept just below half the sample rate, where the
  // response would otherwise turn unstable.
  double EffectiveFrequency() const;

 protected:
  virtual void ComputeCoefficients() = 0;

  double sampleRate = 44100.0;
  double frequency = 1.0;
  double q = 1.0 / std::numbers::sqrt2;
  double b0 = 1.0, b1 = 0.0, b2 = 0.0, a1 = 0.0, a2 = 0.0;

 private:
  double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
};

// Second-order high-pass of the Audio EQ Cookbook.
class HPF : public BiquadFilter {
 public:
  HPF();

 protected:
  void ComputeCoefficients() override;
};

}  // namespace quorvel
