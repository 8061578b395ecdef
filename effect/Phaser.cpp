#include "effect/Phaser.h"

#include <cmath>

#include "effect/BlockBuffer.h"

namespace quorvel {

namespace {

// ln 8: a modulation value of ±1 moves a stage by a factor of 8.
constexpr double kDepth = 2.07944154167984;
constexpr double kMinHz = 10.0;
constexpr double kMaxHz = 18000.0;
constexpr double kSweepRate = 1.0;  // one sweep every two seconds
constexpr std::array<double, Phaser::kStageCount> kInitialHz{880.0, 3400.0, 110.0, 12000.0};

// 8^m of one modulation slot and its inverse for the right chain, kept while m holds.
struct Factor {
  double m = std::nan("");
  double factor = 0.0;
  double inverse = 0.0;

  void Update(double value) {
    if (!(value == m)) {
      m = value;
      factor = std::exp(kDepth * value);
      inverse = 1.0 / factor;
    }
  }
};

}  // namespace

Phaser::Phaser() {
  EnsureBuffer(1);
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

void Phaser::Process(double& left, double& right, double m1, double m2, double m3) {
  PrepareBlock(&m1, &m2, &m3, 1);
  StereoPhaser both(*this);
  const StereoPair y = both.Process(Pack(left, right), wet);
  left = y[0];
  right = y[1];
}

void Phaser::EnsureBuffer(std::size_t n) {
  GrowBlockBuffer(gains, n);
  for (std::vector<double>* buffer : {&sweepLeft, &sweepRight}) GrowBlockBuffer(*buffer, n);
}

void Phaser::PrepareBlock(const double* m1, const double* m2, const double* m3, int n) {
  if (n < 1)
    return;
  EnsureBuffer(static_cast<std::size_t>(n));
  // Short loops, each with few values to keep across the calls of exp: the stage scales
  // first (held in the gain buffer), then the gains stage by stage.
  const auto count = static_cast<std::size_t>(n);
  // Without super stereo both lanes take the left chain's scales.
  const auto scales = [this](double left, double right, int stage) {
    const double l = Limit(left, stage);
    return Pack(l, superStereo ? Limit(right, stage) : l);
  };
  // The right chain sweeps half a cycle ahead and moves its stages the opposite way.
  lfo.TickInto(sweepLeft.data(), superStereo ? sweepRight.data() : nullptr, 0.5, count);
  for (std::size_t i = 0; i < count; ++i) {
    const double c0 = std::exp(kDepth * sweepLeft[i]);
    const double cR = superStereo ? std::exp(kDepth * sweepRight[i]) : c0;
    gains[i][0] = scales(c0, cR, 0);
  }
  std::array<Factor, 3> factors;
  for (std::size_t i = 0; i < count; ++i) {
    // The three slots often follow the same source: equal values share one exponential.
    factors[0].Update(m1[i]);
    const Factor& f1 = factors[0];
    const Factor& f2 = m2[i] == m1[i] ? f1 : (factors[1].Update(m2[i]), factors[1]);
    const Factor& f3 =
        m3[i] == m1[i] ? f1 : (m3[i] == m2[i] ? f2 : (factors[2].Update(m3[i]), factors[2]));
    gains[i][1] = scales(f1.factor, f1.inverse, 1);
    gains[i][2] = scales(f2.factor, f2.inverse, 2);
    gains[i][3] = scales(f3.factor, f3.inverse, 3);
  }
  for (int k = 0; k < kStageCount; ++k) {
    ScaledGains stage(stagesL[static_cast<std::size_t>(k)]);
    for (std::size_t i = 0; i < count; ++i) gains[i][k] = stage.At(gains[i][k]);
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

StereoPhaser::StereoPhaser(Phaser& p)
    : phaser(p),
      superStereo(p.superStereo),
      stage1(p.stagesL[0], p.stagesR[0], !superStereo),
      stage2(p.stagesL[1], p.stagesR[1], !superStereo),
      stage3(p.stagesL[2], p.stagesR[2], !superStereo),
      stage4(p.stagesL[3], p.stagesR[3], !superStereo),
      feedback(Pack(p.feedbackL, superStereo ? p.feedbackR : p.feedbackL)),
      gains(p.gains.data()) {}

StereoPhaser::~StereoPhaser() {
  phaser.feedbackL = feedback[0];
  if (superStereo)
    phaser.feedbackR = feedback[1];
}

}  // namespace quorvel
