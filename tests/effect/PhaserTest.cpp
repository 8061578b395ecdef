#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "effect/FastMath.h"
#include "effect/Phaser.h"
#include "tests/effect/SingleSample.h"

namespace quorvel {
namespace {

using testSupport::ProcessSample;

constexpr double kDepth = 2.07944154167984;

// The engine's exponential (its accuracy is pinned on its own), so the chain can be compared
// to the last bits.
double Exp(double x) { return ExpPair(Splat(x))[0]; }

// The phaser rebuilt from its parts: four stages per channel, the sweep oscillator, the
// scale limits and the feedback into the second stage.
struct ReferencePhaser {
  ReferencePhaser() {
    lfo.SetTable(GetWaveTable(WaveShape::Triangle));
    lfo.SetSampleRate(44100.0);
    lfo.SetRate(1.0);
    const double hz[4] = {880.0, 3400.0, 110.0, 12000.0};
    for (int k = 0; k < 4; ++k) {
      for (AllpassStage* s : {&left[k], &right[k]}) {
        s->SetSampleRate(44100.0);
        s->SetFrequency(hz[k]);
      }
      lo[k] = 10.0 / hz[k];
      hi[k] = 18000.0 / hz[k];
    }
  }
  static double Limit(double c, double lo, double hi) { return std::clamp(c, lo, hi); }
  void Process(double& l, double& r, double m1, double m2, double m3, double wet, double fb) {
    const double in = 0.75 * (l + r);
    const double c0 = Exp(kDepth * lfo.Tick());
    const double c[4] = {c0, Exp(kDepth * m1), Exp(kDepth * m2), Exp(kDepth * m3)};
    double y = left[0].ProcessScaled(Limit(c[0], lo[0], hi[0]), in);
    y = left[1].ProcessScaled(Limit(c[1], lo[1], hi[1]), y + fb * feedbackL);
    y = left[2].ProcessScaled(Limit(c[2], lo[2], hi[2]), y);
    y = left[3].ProcessScaled(Limit(c[3], lo[3], hi[3]), y);
    feedbackL = y;
    const double cR = Exp(kDepth * lfo.Peek(0.5));
    double z = right[0].ProcessScaled(Limit(cR, lo[0], hi[0]), in);
    // The right chain's stages move the opposite way: 8^−m.
    const double inverse[4] = {0.0, Exp(-kDepth * m1), Exp(-kDepth * m2), Exp(-kDepth * m3)};
    z = right[1].ProcessScaled(Limit(inverse[1], lo[1], hi[1]), z + fb * feedbackR);
    z = right[2].ProcessScaled(Limit(inverse[2], lo[2], hi[2]), z);
    z = right[3].ProcessScaled(Limit(inverse[3], lo[3], hi[3]), z);
    feedbackR = z;
    l = l * (1.0 - wet) + y * wet;
    r = r * (1.0 - wet) + z * wet;
  }
  TableLfo lfo;
  AllpassStage left[4], right[4];
  double lo[4], hi[4];
  double feedbackL = 0.0, feedbackR = 0.0;
};

TEST(PhaserTest, FirstSamplesMatchTheStageChain) {
  Phaser phaser;
  phaser.SetFrequency1(3400.0);
  phaser.SetFrequency2(110.0);
  phaser.SetFrequency3(12000.0);
  phaser.SetFeedback(0.4);
  ReferencePhaser reference;
  // Stage 2 pushed against 18000 Hz, stage 3 moved down, stage 4 moved up.
  const double m1 = 0.9, m2 = -0.6, m3 = 0.3;
  for (int i = 0; i < 2000; ++i) {
    const double wet = 0.25 + 0.5 * (i % 3) / 2.0;
    double l = std::sin(0.01 * i), r = 0.5 * std::cos(0.013 * i);
    double refL = l, refR = r;
    phaser.SetWet(wet);
    ProcessSample(phaser, l, r, m1, m2, m3);
    reference.Process(refL, refR, m1, m2, m3, wet, 0.4);
    ASSERT_DOUBLE_EQ(l, refL) << "sample " << i;
    ASSERT_DOUBLE_EQ(r, refR) << "sample " << i;
  }
}

TEST(PhaserTest, WetAndSuperStereoMixing) {
  std::mt19937 random(5);
  std::uniform_real_distribution<double> noise(-1.0, 1.0);
  Phaser dryOnly;
  dryOnly.SetWet(0.0);
  Phaser mono;
  mono.SetSuperStereo(false);
  mono.SetWet(0.6);
  for (int i = 0; i < 5000; ++i) {
    const double x = noise(random), y = noise(random);
    double l = x, r = y;
    ProcessSample(dryOnly, l, r, 0.2, -0.4, 0.9);
    ASSERT_EQ(l, x);
    ASSERT_EQ(r, y);
    double ml = x, mr = x;
    ProcessSample(mono, ml, mr, 0.2, -0.4, 0.9);
    ASSERT_EQ(ml, mr);  // a mono input stays mono
  }
}

TEST(PhaserTest, StageFrequenciesAreLimited) {
  Phaser phaser;
  EXPECT_EQ(phaser.LeftStage(0).Frequency(), 880.0);
  EXPECT_EQ(phaser.LeftStage(1).Frequency(), 3400.0);
  EXPECT_EQ(phaser.LeftStage(2).Frequency(), 110.0);
  EXPECT_EQ(phaser.LeftStage(3).Frequency(), 12000.0);
  phaser.SetFrequency1(5.0);
  phaser.SetFrequency2(20000.0);
  phaser.SetFrequency3(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(phaser.LeftStage(1).Frequency(), 10.0);
  EXPECT_EQ(phaser.LeftStage(2).Frequency(), 18000.0);
  EXPECT_EQ(phaser.LeftStage(3).Frequency(), 10.0);
}

TEST(PhaserTest, SoundReturnsAfterANonFiniteSampleOnceStagesAreCleared) {
  auto poisoned = [] {
    Phaser phaser;
    phaser.SetWet(1.0);
    double l = std::numeric_limits<double>::quiet_NaN(), r = 0.0;
    ProcessSample(phaser, l, r, 0.0, 0.0, 0.0);
    return phaser;
  };
  auto lastOf = [](Phaser& phaser) {
    double l = 0.0, r = 0.0;
    for (int i = 0; i < 100; ++i) {
      l = r = std::sin(0.05 * i);
      ProcessSample(phaser, l, r, 0.0, 0.0, 0.0);
    }
    return l + r;
  };
  Phaser resetOnly = poisoned();
  resetOnly.Reset(44100.0);
  EXPECT_TRUE(std::isnan(lastOf(resetOnly)));  // the stages still hold the NaN

  Phaser cleared = poisoned();
  cleared.ClearNonFiniteStages();
  cleared.Reset(44100.0);
  const double sound = lastOf(cleared);
  EXPECT_TRUE(std::isfinite(sound));
  EXPECT_GT(std::abs(sound), 1e-3);
}

}  // namespace
}  // namespace quorvel
