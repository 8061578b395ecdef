#pragma once

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
  double Output() const { return output; }

 private:
  double Step(double stageGain, double x);

  double frequency = 5000.0;
  double sampleRate = 44100.0;
  double radiansPerHz = 0.0;
  double exponent = 0.0;
  double gain = 0.0;
  double state = 0.0;
  double output = 0.0;
};

}  // namespace quorvel
