#pragma once

#include <array>

#include "effect/AllpassStage.h"
#include "effect/TableLfo.h"

namespace quorvel {

// Mixes the signal with a chain of four all-pass stages fed by a mono mix. The first stage
// sweeps with the phaser's own slow triangle; the others follow their modulation signals.
// With super stereo the right channel gets its own chain moving the opposite way.
class Phaser {
 public:
  static constexpr int kStageCount = 4;

  Phaser();

  // [audio-thread] per block: corners in Hz of stages 2, 3 and 4, limited to 10 … 18000
  void SetFrequency1(double hz);
  void SetFrequency2(double hz);
  void SetFrequency3(double hz);
  void SetFeedback(double gain);  // [audio-thread] per block, 0 … 1
  void SetSuperStereo(bool on);   // [audio-thread] per block
  void SetWet(double wet);        // [audio-thread] per sample, 0 … 1

  // [audio-thread] m1, m2, m3 in −1 … 1 move stages 2 to 4 by up to three octaves.
  void Process(double& left, double& right, double m1, double m2, double m3);
  // [audio-thread] n samples in place; wet holds one wet amount per sample (nullptr keeps the
  // current one), m1, m2 and m3 one modulation value per sample each.
  void ProcessBlock(double* left, double* right, const double* wet, const double* m1,
                    const double* m2, const double* m3, int n);

  // [audio-thread] keeps the sweep phase and the stage states; clears the feedback.
  void Reset(double sampleRate);

  // [audio-thread] zeroes every all-pass stage whose state is no longer finite.
  void ClearNonFiniteStages();

  const AllpassStage& LeftStage(int index) const { return stagesL[index]; }

 private:
  void SetStageFrequency(int index, double hz);
  double Limit(double scale, int index) const;
  void ProcessMono(double* left, double* right, const double* wet, const double* m1,
                   const double* m2, const double* m3, int n);
  void ProcessSuperStereo(double* left, double* right, const double* wet, const double* m1,
                          const double* m2, const double* m3, int n);

  TableLfo lfo;
  std::array<AllpassStage, kStageCount> stagesL;
  std::array<AllpassStage, kStageCount> stagesR;
  double wet = 1.0;
  double dry = 0.0;
  double feedbackGain = 0.7;
  double feedbackL = 0.0;
  double feedbackR = 0.0;
  std::array<double, kStageCount> minScale{};
  std::array<double, kStageCount> maxScale{};
  bool superStereo = true;
};

}  // namespace quorvel
