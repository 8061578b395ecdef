#pragma once

#include <array>
#include <vector>

#include "effect/AllpassStage.h"
#include "effect/SlewLimiter.h"
#include "effect/TableLfo.h"

namespace quorvel {

// Four wandering taps on a 200 ms delay line of the mono mix. The dry signal passes an
// all-pass at 880 Hz, the tap sum one at 3400 Hz; with super stereo the right channel reads
// the taps a quarter cycle ahead.
class Chorus {
 public:
  static constexpr int kVoiceCount = 4;
  static constexpr double kMaxDelayMs = 50.0;

  Chorus();

  void SetSpread(double spread);  // [audio-thread] per block, 0 … 1: voice rates apart
  void SetWet(double wet);        // [audio-thread] per sample, 0 … 1
  void SetDelay(double ms);       // [audio-thread] per sample, used up to 50 ms
  void SetSuperStereo(bool on);   // [audio-thread] per block

  void Process(double& left, double& right);  // [audio-thread] in place
  // [audio-thread] n samples in place; wet and delayMs hold one value per sample for SetWet
  // and SetDelay (nullptr keeps the current one).
  void ProcessBlock(double* left, double* right, const double* wet, const double* delayMs,
                    int n);

  // [main-thread] or [audio-thread]: sizes the line for the rate (allocates only when the
  // rate grows), empties it and puts the delay at its target at once.
  void Reset(double sampleRate);

  // [audio-thread] zeroes every all-pass stage whose state is no longer finite.
  void ClearNonFiniteStages();

  double DelaySamples() const { return delaySlew.Value(); }
  int LineLength() const { return static_cast<int>(line.size()); }

 private:
  void ApplyRates();
  double Read(double delay) const;
  // Writes the mono mix, moves the delay and returns the left tap sum; with superStereo the
  // right one too.
  void Taps(double dryL, double dryR, double& sumL, double& sumR);
  void Advance();
  void ProcessMono(double* left, double* right, const double* wet, const double* delayMs, int n);
  void ProcessSuperStereo(double* left, double* right, const double* wet, const double* delayMs,
                          int n);

  std::array<TableLfo, kVoiceCount> lfos;
  double sampleRate = 44100.0;
  double baseRate = 0.0625;  // one cycle in 32 s
  double spread = 0.5;
  double wet = 1.0;
  double dryScale = 0.5;
  double delayMs = 12.5;
  SlewLimiter delaySlew{0.1, false};   // in samples
  SlewLimiter depthSlew{5e-5, false};  // stays at 1
  bool superStereo = true;
  AllpassStage allpassDryL, allpassDryR;
  AllpassStage allpassWetL, allpassWetR;
  std::vector<double> line;
  int writeIndex = 0;
};

}  // namespace quorvel
