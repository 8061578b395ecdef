#include "effect/Phaser.h"

#include <algorithm>
#include <cmath>

#include "effect/BlockBuffer.h"
#include "effect/FastMath.h"
#include "effect/HotLoop.h"

namespace quorvel {

namespace {

constexpr double kSweepRate = 1.0;  // one sweep every two seconds
constexpr std::array<double, Phaser::kStageCount> kInitialHz{Phaser::kSweepHz, 3400.0, 110.0,
                                                             12000.0};

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
  if (i < count) rows[i][stage] = ExpPair(exponents(i));
}

}  // namespace

Phaser::Phaser() {
  EnsureBuffer(1);
  lfo_.SetTable(GetWaveTable(WaveShape::Triangle));
  lfo_.SetSampleRate(44100.0);
  lfo_.SetRate(kSweepRate);
  for (int k = 0; k < kStageCount; ++k) {
    for (AllpassStage* stage : {&stagesL_[k], &stagesR_[k]}) {
      stage->SetSampleRate(44100.0);
      stage->SetFrequency(kInitialHz[k]);
    }
    minScale_[k] = 1.0;
    maxScale_[k] = 1.0;
  }
  minScale_[0] = kMinHz / kInitialHz[0];
  maxScale_[0] = kMaxHz / kInitialHz[0];
}

void Phaser::SetStageFrequency(int index, double hz) {
  // Written so that NaN falls to the lower bound.
  const double b = !(hz > kMinHz) ? kMinHz : (hz > kMaxHz ? kMaxHz : hz);
  stagesL_[index].SetFrequency(b);
  stagesR_[index].SetFrequency(b);
  minScale_[index] = kMinHz / b;
  maxScale_[index] = kMaxHz / b;
}

void Phaser::SetFrequency1(double hz) { SetStageFrequency(1, hz); }
void Phaser::SetFrequency2(double hz) { SetStageFrequency(2, hz); }
void Phaser::SetFrequency3(double hz) { SetStageFrequency(3, hz); }

void Phaser::SetFeedback(double gain) { feedbackGain_ = gain; }

void Phaser::SetSuperStereo(bool on) { superStereo_ = on; }

void Phaser::EnsureBuffer(std::size_t n) { GrowBlockBuffer(gains_, n); }

QUORVEL_HOT_LOOP void Phaser::PrepareBlock(const double* m1, const double* m2, const double* m3,
                                           int n) {
  if (n < 1) return;
  EnsureBuffer(static_cast<std::size_t>(n));
  // The stage scales first (held in the gain buffer), then the gains stage by stage.
  const auto count = static_cast<std::size_t>(n);
  // The right chain sweeps half a cycle ahead; the sweep waits in the first stage's column.
  lfo_.TickPairs(superStereo_, 0.5, count,
                 [this](std::size_t i, StereoPair sweep) { gains_[i][0] = sweep; });
  FillExponentials(gains_.data(), 0, count,
                   [this](std::size_t i) { return kDepth * gains_[i][0]; });
  // The three slots often follow the same source: equal values share their exponentials.
  const double* slots[3] = {m1, m2, m3};
  for (std::size_t j = 0; j < 3; ++j) {
    const std::size_t stage = j + 1;
    std::size_t same = 0;
    while (same < j && !std::equal(slots[j], slots[j] + count, slots[same])) ++same;
    if (same < j) {
      for (std::size_t i = 0; i < count; ++i) gains_[i][stage] = gains_[i][same + 1];
    } else {
      // A slot moves the right chain the opposite way; without super stereo both lanes take
      // the left chain's value.
      const double* m = slots[j];
      const double right = superStereo_ ? -1.0 : 1.0;
      FillExponentials(gains_.data(), stage, count,
                       [m, right](std::size_t i) { return kDepth * Pack(m[i], right * m[i]); });
    }
  }
  for (std::size_t k = 0; k < kStageCount; ++k) {
    // Limited lane by lane as Limit does, NaN passing through.
    const StereoQuad low = StereoQuad{} + minScale_[k];
    const StereoQuad high = StereoQuad{} + maxScale_[k];
    ScaledGains stage(stagesL_[k]);
    std::size_t i = 0;
    for (; i + 1 < count; i += 2) {
      const StereoQuad scales = Join(gains_[i][k], gains_[i + 1][k]);
      const StereoQuad g = stage.At(fastmath::Min(high, fastmath::Max(low, scales)));
      gains_[i][k] = FirstPair(g);
      gains_[i + 1][k] = SecondPair(g);
    }
    if (i < count)
      gains_[i][k] = stage.At(Pack(Limit(gains_[i][k][0], k), Limit(gains_[i][k][1], k)));
  }
}

void Phaser::Reset(double sampleRate) {
  lfo_.SetSampleRate(sampleRate);
  for (int k = 0; k < kStageCount; ++k) {
    stagesL_[k].SetSampleRate(sampleRate);
    stagesR_[k].SetSampleRate(sampleRate);
  }
  feedbackL_ = 0.0;
  feedbackR_ = 0.0;
}

void Phaser::ClearNonFiniteStages() {
  for (int k = 0; k < kStageCount; ++k) {
    stagesL_[k].ClearIfNotFinite();
    stagesR_[k].ClearIfNotFinite();
  }
}

StereoPhaser::StereoPhaser(Phaser& p)
    : phaser_(p),
      superStereo_(p.superStereo_),
      stage1_(p.stagesL_[0], p.stagesR_[0], !superStereo_),
      stage2_(p.stagesL_[1], p.stagesR_[1], !superStereo_),
      stage3_(p.stagesL_[2], p.stagesR_[2], !superStereo_),
      stage4_(p.stagesL_[3], p.stagesR_[3], !superStereo_),
      feedback_(Pack(p.feedbackL_, superStereo_ ? p.feedbackR_ : p.feedbackL_)),
      gains_(p.gains_.data()) {}

StereoPhaser::~StereoPhaser() {
  phaser_.feedbackL_ = feedback_[0];
  if (superStereo_) phaser_.feedbackR_ = feedback_[1];
}

}  // namespace quorvel
