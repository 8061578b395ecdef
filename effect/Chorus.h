#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "effect/AllpassStage.h"
#include "effect/QuorvelParameters.h"
#include "effect/SlewLimiter.h"
#include "effect/StereoPair.h"
#include "effect/TableLfo.h"

namespace quorvel {

// Four wandering taps on a 200 ms delay line of the mono mix. The dry signal passes an
// all-pass at 880 Hz, the tap sum one at 3400 Hz; with super stereo the right channel reads
// the taps a quarter cycle ahead.
class Chorus {
 public:
  static constexpr int kVoiceCount = 4;
  static constexpr double kMaxDelayMs = 50.0;
  // The delay setting's top asks for the longest delay.
  static constexpr double kMsPerDelayUnit = kMaxDelayMs / RangeOf(ParamIndex::ChorusDelay).max;
  static constexpr double kLineSeconds = 0.2;
  // Corners of the dry and the wet all-pass.
  static constexpr double kDryHz = 880.0;
  static constexpr double kWetHz = 3400.0;

  Chorus();

  void SetSpread(double spread);  // [audio-thread] per block, 0 … 1: voice rates apart
  void SetWet(double value) {     // [audio-thread] per sample, 0 … 1
    wet_ = value;
    dryScale_ = 1.0 / (value + 1.0);
  }
  void SetDelay(double ms);      // [audio-thread] per sample, used up to 50 ms
  void SetSuperStereo(bool on);  // [audio-thread] per block
  double Wet() const { return wet_; }
  double DelayMs() const { return delayMs_; }

  // Grows the per-block buffers to n samples; call outside the audio callback to avoid
  // allocating.
  void EnsureBuffer(std::size_t n);
  // [audio-thread] Sets the delay of each of the next n samples as SetDelay would and works
  // out where their taps read; moves the voices on by n samples. StereoChorus then runs those
  // samples. Allocates only when n outgrows EnsureBuffer.
  void PrepareBlock(const double* delayMs, int n);

  // [main-thread] or [audio-thread]: sizes the line for the rate (allocates only when the
  // rate grows), empties it and puts the delay at its target at once.
  void Reset(double sampleRate);

  // [audio-thread] zeroes every all-pass stage whose state is no longer finite.
  void ClearNonFiniteStages();

  double DelaySamples() const { return delaySlew_.Value(); }
  int LineLength() const { return static_cast<int>(line_.size()); }

 private:
  friend class StereoChorus;

  // Where a left and a right tap read, delays in samples back from the write position w:
  // the newer and the older neighbour and the weight of the older one.
  struct TapPair {
    int newer[2];
    int older[2];
    StereoPair fraction;
  };

  void ApplyRates();
  // The taps of two voices, delays in samples back from the write position w: the first
  // voice's left and right in the first two lanes. Always inlined, as it takes a quad.
  [[gnu::always_inline]] void LocateTwo(StereoQuad delay, int w, TapPair& first,
                                        TapPair& second) const;

  std::array<TableLfo, kVoiceCount> lfos_;
  double sampleRate_ = 44100.0;
  double baseRate_ = 0.0625;  // one cycle in 32 s
  double spread_ = 0.5;
  double wet_ = 1.0;
  double dryScale_ = 0.5;
  double delayMs_ = 12.5;
  SlewLimiter delaySlew_{0.1, false};   // in samples
  SlewLimiter depthSlew_{5e-5, false};  // stays at 1
  bool superStereo_ = true;
  AllpassStage allpassDryL_, allpassDryR_;
  AllpassStage allpassWetL_, allpassWetR_;
  std::vector<double> line_;
  int writeIndex_ = 0;
  // Per sample of the prepared block, the taps of voices 4 to 1.
  std::vector<std::array<TapPair, kVoiceCount>> taps_;
  // Scratch of PrepareBlock: the delay and depth of each sample, and the voices' values.
  std::vector<double> blockDelay_, blockDepth_;
  std::vector<std::array<StereoPair, kVoiceCount>> voiceValues_;
};

// Runs a chorus on both channels sample by sample through a prepared block, the left and
// right all-passes side by side: their states are taken over on construction and handed back
// on destruction. Without super stereo the right wet all-pass keeps its state.
// [audio-thread]
class StereoChorus {
 public:
  explicit StereoChorus(Chorus& chorus);

  // The next sample of the prepared block at the given wet amount.
  StereoPair Process(StereoPair x, double wet);

 private:
  Chorus& chorus_;
  const bool superStereo_;
  StereoAllpass dryStages_;
  StereoAllpass wetStages_;
  const std::array<Chorus::TapPair, Chorus::kVoiceCount>* taps_;
};

inline StereoPair StereoChorus::Process(StereoPair x, double wet) {
  Chorus& c = chorus_;
  c.SetWet(wet);
  const std::array<Chorus::TapPair, Chorus::kVoiceCount>& voices = *taps_++;
  const StereoPair d = c.dryScale_ * x;
  const StereoPair out = dryStages_.Process(d);
  const double* line = c.line_.data();
  c.line_[c.writeIndex_] = (d[1] + d[0]) * 0.5;

  // Left taps in the first lane, right ones in the second; without super stereo only the
  // first lane counts.
  StereoPair sum = Splat(0.0);
  for (const Chorus::TapPair& t : voices) {
    const StereoPair newer = Pack(line[t.newer[0]], line[t.newer[1]]);
    const StereoPair older = Pack(line[t.older[0]], line[t.older[1]]);
    sum += (1.0 - t.fraction) * newer + t.fraction * older;
  }
  StereoPair mixed;
  if (superStereo_) {
    mixed = wetStages_.Process(sum) * wet + out;
  } else {
    // Both channels share the left wet signal, scaled by the square of the wet amount.
    const double wetL = wetStages_.Process(Splat(sum[0]))[0];
    mixed = Pack(wet * (wet * wetL) + out[0], (wet * wetL) * wet + out[1]);
  }

  if (++c.writeIndex_ >= static_cast<int>(c.line_.size())) c.writeIndex_ = 0;
  return mixed;
}

}  // namespace quorvel
