#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <vector>

#include "effect/AllpassStage.h"
#include "effect/QuorvelParameters.h"
#include "effect/StereoPair.h"
#include "effect/TableLfo.h"

namespace quorvel {

// Mixes the signal with a chain of four all-pass stages fed by a mono mix. The first stage
// sweeps with the phaser's own slow triangle; the others follow their modulation signals.
// With super stereo the right channel gets its own chain moving the opposite way.
class Phaser {
 public:
  static constexpr int kStageCount = 4;
  // ln 8: a modulation value of ±1 moves a stage by a factor of 8.
  static constexpr double kDepth = 2.07944154167984;
  // No modulation takes a stage beyond the range of its frequency setting.
  static constexpr double kMinHz = RangeOf(ParamIndex::PhaserFrequency1).min;
  static constexpr double kMaxHz = RangeOf(ParamIndex::PhaserFrequency1).max;
  // The first stage's corner in the middle of its sweep.
  static constexpr double kSweepHz = 880.0;

  Phaser();

  // [audio-thread] per block: corners in Hz of stages 2, 3 and 4, limited to kMinHz … kMaxHz
  void SetFrequency1(double hz);
  void SetFrequency2(double hz);
  void SetFrequency3(double hz);
  void SetFeedback(double gain);  // [audio-thread] per block, 0 … 1
  void SetSuperStereo(bool on);   // [audio-thread] per block
  double Wet() const { return wet_; }
  void SetWet(double value) {  // [audio-thread] per sample, 0 … 1
    wet_ = value;
    dry_ = 1.0 - value;
  }

  // Grows the per-block buffers to n samples; call outside the audio callback to avoid
  // allocating.
  void EnsureBuffer(std::size_t n);
  // [audio-thread] The stage gains of the next n samples for the modulation values m1, m2 and
  // m3 (−1 … 1, moving stages 2 to 4 by up to three octaves), one per sample each; moves the
  // sweep on by n samples. StereoPhaser then runs those
  // samples. Allocates only when n outgrows EnsureBuffer.
  void PrepareBlock(const double* m1, const double* m2, const double* m3, int n);

  // [audio-thread] keeps the sweep phase and the stage states; clears the feedback.
  void Reset(double sampleRate);

  // [audio-thread] zeroes every all-pass stage whose state is no longer finite.
  void ClearNonFiniteStages();

  const AllpassStage& LeftStage(int index) const { return stagesL_[index]; }

 private:
  friend class StereoPhaser;

  void SetStageFrequency(int index, double hz);
  double Limit(double scale, std::size_t index) const {
    if (scale < minScale_[index]) return minScale_[index];
    if (scale > maxScale_[index]) return maxScale_[index];
    return scale;
  }

  TableLfo lfo_;
  std::array<AllpassStage, kStageCount> stagesL_;
  std::array<AllpassStage, kStageCount> stagesR_;
  double wet_ = 1.0;
  double dry_ = 0.0;
  double feedbackGain_ = 0.7;
  double feedbackL_ = 0.0;
  double feedbackR_ = 0.0;
  std::array<double, kStageCount> minScale_{};
  std::array<double, kStageCount> maxScale_{};
  bool superStereo_ = true;
  // Per sample of the prepared block, the gains of stages 1 to 4, left and right.
  std::vector<std::array<StereoPair, kStageCount>> gains_;
};

// Runs a phaser on both channels sample by sample through a prepared block, the left and
// right chains side by side: the state is taken over on construction and handed back on
// destruction. Without super stereo the right chain keeps its state. [audio-thread]
class StereoPhaser {
 public:
  explicit StereoPhaser(Phaser& phaser);
  ~StereoPhaser();
  StereoPhaser(const StereoPhaser&) = delete;
  StereoPhaser& operator=(const StereoPhaser&) = delete;

  // The next sample of the prepared block at the given wet amount.
  StereoPair Process(StereoPair x, double wet);

 private:
  Phaser& phaser_;
  const bool superStereo_;
  StereoAllpass stage1_, stage2_, stage3_, stage4_;
  StereoPair feedback_;
  const std::array<StereoPair, Phaser::kStageCount>* gains_;
};

inline StereoPair StereoPhaser::Process(StereoPair x, double wet) {
  Phaser& p = phaser_;
  p.SetWet(wet);
  const std::array<StereoPair, Phaser::kStageCount>& g = *gains_++;
  const double in = 0.75 * (x[0] + x[1]);
  StereoPair y = stage1_.Process(Splat(in), g[0]);
  y = stage2_.Process(y + p.feedbackGain_ * feedback_, g[1]);
  y = stage3_.Process(y, g[2]);
  y = stage4_.Process(y, g[3]);
  feedback_ = y;
  // Without super stereo the right lane repeats the left chain, so both channels get it.
  return x * p.dry_ + y * p.wet_;
}

}  // namespace quorvel
