#include "effect/Phaser.h"

#include <cmath>

namespace quorvel {

namespace {

// ln 8: a modulation value of ±1 moves a stage by a factor of 8.
constexpr double kDepth = 2.07944154167984;
constexpr double kMinHz = 10.0;
constexpr double kMaxHz = 18000.0;
constexpr double kSweepRate = 1.0;  // one sweep every two seconds
constexpr std::array<double, Phaser::kStageCount> kInitialHz{880.0, 3400.0, 110.0, 12000.0};

}  // namespace

Phaser::Phaser() {
  lfo.SetTable(GetWaveTable(WaveShape::Triangle));
  lfo.SetSampleRate(44100.0);
  lfo.SetRate(kSweepRate);
  for (int k = 0; k < kStageCount; ++k) {
    for (AllpassStage* stage : {&stagesL[k], &stagesR[k]}) {
      stage->SetSampleRate(44100.0);
      stage->SetFrequency(kInitialHz[k]);
    }
    minScale[k] = 1.0;
    maxScale[k] = 1.0;
  }
  minScale[0] = kMinHz / kInitialHz[0];
  maxScale[0] = kMaxHz / kInitialHz[0];
}

void Phaser::SetStageFrequency(int index, double hz) {
  // Written so that NaN falls to the lower bound.
  const double b = !(hz > kMinHz) ? kMinHz : (hz > kMaxHz ? kMaxHz : hz);
  stagesL[index].SetFrequency(b);
  stagesR[index].SetFrequency(b);
  minScale[index] = kMinHz / b;
  maxScale[index] = kMaxHz / b;
}

void Phaser::SetFrequency1(double hz) {
  SetStageFrequency(1, hz);
}
void Phaser::SetFrequency2(double hz) {
  SetStageFrequency(2, hz);
}
void Phaser::SetFrequency3(double hz) {
  SetStageFrequency(3, hz);
}

void Phaser::SetFeedback(double gain) {
  feedbackGain = gain;
}

void Phaser::SetSuperStereo(bool on) {
  superStereo = on;
}

void Phaser::SetWet(double value) {
  wet = value;
  dry = 1.0 - value;
}

double Phaser::Limit(double scale, int index) const {
  if (scale < minScale[index])
    return minScale[index];
  if (scale > maxScale[index])
    return maxScale[index];
  return scale;
}

void Phaser::Process(double& left, double& right, double m1, double m2, double m3) {
  const double in = 0.75 * (left + right);
  const double c0 = std::exp(kDepth * lfo.Tick());
  const double c1 = std::exp(kDepth * m1);
  const double c2 = std::exp(kDepth * m2);
  const double c3 = std::exp(kDepth * m3);

  const double y1 = stagesL[0].ProcessScaled(Limit(c0, 0), in);
  const double y2 = stagesL[1].ProcessScaled(Limit(c1, 1), y1 + feedbackGain * feedbackL);
  const double y3 = stagesL[2].ProcessScaled(Limit(c2, 2), y2);
  const double y4 = stagesL[3].ProcessScaled(Limit(c3, 3), y3);
  feedbackL = y4;

  if (superStereo) {
    // The right chain sweeps half a cycle ahead and moves its stages the opposite way.
    const double cR = std::exp(kDepth * lfo.Peek(0.5));
    const double z1 = stagesR[0].ProcessScaled(Limit(cR, 0), in);
    const double z2 = stagesR[1].ProcessScaled(Limit(1.0 / c1, 1), z1 + feedbackGain * feedbackR);
    const double z3 = stagesR[2].ProcessScaled(Limit(1.0 / c2, 2), z2);
    const double z4 = stagesR[3].ProcessScaled(Limit(1.0 / c3, 3), z3);
    feedbackR = z4;
    left = left * dry + y4 * wet;
    right = right * dry + z4 * wet;
  } else {
    left = left * dry + y4 * wet;
    right = right * dry + y4 * wet;
  }
}

void Phaser::Reset(double sampleRate) {
  lfo.SetSampleRate(sampleRate);
  for (int k = 0; k < kStageCount; ++k) {
    stagesL[k].SetSampleRate(sampleRate);
    stagesR[k].SetSampleRate(sampleRate);
  }
  feedbackL = 0.0;
  feedbackR = 0.0;
}

void Phaser::ClearNonFiniteStages() {
  for (int k = 0; k < kStageCount; ++k) {
    stagesL[k].ClearIfNotFinite();
    stagesR[k].ClearIfNotFinite();
  }
}

}  // namespace quorvel
