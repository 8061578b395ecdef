#pragma once

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

  double Cutoff() const { return cutoff; }
  double Resonance() const { return resonance; }
  double NormalizedCutoff() const { return normalizedCutoff; }  // cutoff / sample rate, limited

 private:
  void ComputeCoefficients();

  double cutoff = 1.0;
  double resonance = 1.0;
  double sampleRate = 44100.0;
  double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;
  double s3Previous = 0.0;
  double output = 0.0;
  double t0 = 0.0, t1 = 0.0, t2 = 0.0;
  double normalizedCutoff = 0.0;
  double tuning = 0.0;
  double resonanceScale = 0.0;
  double gain = 0.0;
};

}  // namespace quorvel
