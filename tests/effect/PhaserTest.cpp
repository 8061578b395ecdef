#include "effect/Phaser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace quorvel {
namespace {

// The chain rebuilt from its parts for the first samples of a fresh phaser at 44100 Hz:
// sweep on stage 1, modulation on stages 2 to 4 (inverted on the right), scale limits
// 10 … 18000 Hz and the feedback into stage 2.
TEST(PhaserTest, FirstSamplesMatchTheStageChain) {
  const double hz[4] = {880.0, 3400.0, 110.0, 12000.0}, depth = 2.07944154167984;
  const double m[4] = {0.0, 0.9, -0.6, 0.3}, feedback = 0.4;
  Phaser phaser;
  phaser.SetFrequency1(hz[1]);
  phaser.SetFrequency2(hz[2]);
  phaser.SetFrequency3(hz[3]);
  phaser.SetFeedback(feedback);
  TableLfo lfo;
  lfo.SetRate(1.0);
  AllpassStage stages[2][4];
  for (int k = 0; k < 4; ++k) {
    for (auto& side : stages) {
      side[k].SetSampleRate(44100.0);
      side[k].SetFrequency(hz[k]);
    }
  }
  double memory[2] = {0.0, 0.0};
  for (int i = 0; i < 2000; ++i) {
    const double wet = 0.25 * (i % 4);
    const double x = std::sin(0.01 * i), y = 0.5 * std::cos(0.013 * i);
    double l = x, r = y;
    phaser.SetWet(wet);
    phaser.Process(l, r, m[1], m[2], m[3]);

    double c[4] = {std::exp(depth * lfo.Tick())};
    for (int k = 1; k < 4; ++k) c[k] = std::exp(depth * m[k]);
    const double cRight = std::exp(depth * lfo.Peek(0.5));
    double out[2];
    for (int side = 0; side < 2; ++side) {
      double v = 0.75 * (x + y);
      for (int k = 0; k < 4; ++k) {
        const double scale = k == 0 ? (side ? cRight : c[0]) : (side ? 1.0 / c[k] : c[k]);
        if (k == 1)
          v += feedback * memory[side];
        v = stages[side][k].ProcessScaled(std::clamp(scale, 10.0 / hz[k], 18000.0 / hz[k]), v);
      }
      out[side] = memory[side] = v;
    }
    ASSERT_DOUBLE_EQ(l, x * (1.0 - wet) + out[0] * wet) << i;
    ASSERT_DOUBLE_EQ(r, y * (1.0 - wet) + out[1] * wet) << i;
  }
}

TEST(PhaserTest, DryMonoAndLimits) {
  Phaser dryOnly, mono;
  dryOnly.SetWet(0.0);
  mono.SetSuperStereo(false);
  mono.SetWet(0.6);
  for (int i = 0; i < 3000; ++i) {
    const double x = std::sin(0.3 * i), y = std::cos(0.7 * i);
    double l = x, r = y, ml = x, mr = x;
    dryOnly.Process(l, r, 0.2, -0.4, 0.9);
    mono.Process(ml, mr, 0.2, -0.4, 0.9);
    ASSERT_TRUE(l == x && r == y);
    ASSERT_EQ(ml, mr);  // a mono input stays mono
  }
  Phaser phaser;
  phaser.SetFrequency1(5.0);
  phaser.SetFrequency2(20000.0);
  phaser.SetFrequency3(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(phaser.LeftStage(1).Frequency(), 10.0);
  EXPECT_EQ(phaser.LeftStage(2).Frequency(), 18000.0);
  EXPECT_EQ(phaser.LeftStage(3).Frequency(), 10.0);
}

TEST(PhaserTest, SoundReturnsAfterANonFiniteSampleOnceStagesAreCleared) {
  for (const bool clear : {false, true}) {
    Phaser phaser;
    double l = std::numeric_limits<double>::quiet_NaN(), r = 0.0;
    phaser.Process(l, r, 0.0, 0.0, 0.0);
    if (clear)
      phaser.ClearNonFiniteStages();
    phaser.Reset(44100.0);
    for (int i = 0; i < 100; ++i) {
      l = r = std::sin(0.05 * i);
      phaser.Process(l, r, 0.0, 0.0, 0.0);
    }
    // A reset alone keeps the NaN in the stages.
    EXPECT_EQ(std::isfinite(l) && std::abs(l) > 1e-3, clear);
  }
}

}  // namespace
}  // namespace quorvel
