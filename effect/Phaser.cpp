#include "effect/Phaser.h"

#include <algorithm>
#include <cmath>

#include "effect/BlockBuffer.h"
#include "effect/FastMath.h"
#include "effect/HotLoop.h"

namespace quorvel {

namespace {

// ln 8: a modulation value of ±1 moves a stage by a factor of 8.
constexpr double kDepth = 2.07944154167984;
constexpr double kMinHz = 10.0;
constexpr double kMaxHz = 18000.0;
constexpr double kSweepRate = 1.0;  // one sweep every two seconds
constexpr std::array<double, Phaser::kStageCount> kInitialHz{880.0, 3400.0, 110.0, 12000.0};

using GainRow = std::array<StereoPair, Phaser::kStageCount>;

// e^x of each sample's exponent pair into the stage's column of rows. Two samples share one
// quad; a pair held from the samples before needs no new exponential.
template <class Exponents>
[[gnu::always_inline]] inline void FillExponentials(GainRow* rows, std::size_t stage,
                                                    std::size_t count, Exponents&& exponents) {
  StereoPair last = Splat(std::nan(""));
  StereoPair lastValue{};
  std::size_t i = 0;
  for (; i + 1 < count; i += 2) {
    const StereoPair a = exponents(i);
    const StereoPair b = exponents(i + 1);
    const StereoMask changed = (a != last) | (b != last);
    if (changed[0] | changed[1]) {
      const StereoQuad e = ExpLanes(Join(a, b));
      rows[i][stage] = FirstPair(e);
      rows[i + 1][stage] = SecondPair(e);
      last = b;
      lastValue = SecondPair(e);
    } else {
      rows[i][stage] = lastValue;
      rows[i + 1][stage] = lastValue;
    }
  }
  if (i < count)
    rows[i][stage] = ExpPair(exponents(i));
}

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
}

QUORVEL_HOT_LOOP void Phaser::PrepareBlock(const double* m1, const double* m2, const double* m3,
                                           int n) {
  if (n < 1)
    return;
  EnsureBuffer(static_cast<std::size_t>(n));
  // The stage scales first (held in the gain buffer), then the gains stage by stage.
  const auto count = static_cast<std::size_t>(n);
  // The right chain sweeps half a cycle ahead; the sweep waits in the first stage's column.
  lfo.TickPairs(superStereo, 0.5, count, [this](std::size_t i, StereoPair sweep) {
    gains[i][0] = sweep;
  });
  FillExponentials(gains.data(), 0, count, [this](std::size_t i) { return kDepth * gains[i][0]; });
  // The three slots often follow the same source: equal values share their exponentials.
  const double* slots[3] = {m1, m2, m3};
  for (std::size_t j = 0; j < 3; ++j) {
    const std::size_t stage = j + 1;
    std::size_t same = 0;
    while (same < j && !std::equal(slots[j], slots[j] + count, slots[same])) ++same;
    if (same < j) {
      for (std::size_t i = 0; i < count; ++i) gains[i][stage] = gains[i][same + 1];
    } else {
      // A slot moves the right chain the opposite way; without super stereo both lanes take
      // the left chain's value.
      const double* m = slots[j];
      const double right = superStereo ? -1.0 : 1.0;
      FillExponentials(gains.data(), stage, count,
                       [m, right](std::size_t i) { return kDepth * Pack(m[i], right * m[i]); });
    }
  }
  for (std::size_t k = 0; k < kStageCount; ++k) {
    // Limited lane by lane as Limit does, NaN passing through.
    const StereoQuad low = StereoQuad{} + minScale[k];
    const StereoQuad high = StereoQuad{} + maxScale[k];
    ScaledGains stage(stagesL[k]);
    std::size_t i = 0;
    for (; i + 1 < count; i += 2) {
      const StereoQuad scales = Join(gains[i][k], gains[i + 1][k]);
      const StereoQuad g = stage.At(fastmath::Min(high, fastmath::Max(low, scales)));
      gains[i][k] = FirstPair(g);
      gains[i + 1][k] = SecondPair(g);
    }
    if (i < count)
      gains[i][k] = stage.At(Pack(Limit(gains[i][k][0], k), Limit(gains[i][k][1], k)));
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
