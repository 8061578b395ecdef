#include <gtest/gtest.h>

#include <random>

#include "effect/LadderFilter.h"
#include "tests/effect/SineResponse.h"

namespace quorvel {
namespace {

TEST(LadderFilterTest, CutoffLimitAndSilence) {
  LadderFilter ladder;
  ladder.Reset(48000.0);
  ladder.SetCutoff(22000.0);
  ladder.SetResonance(0.0);
  EXPECT_DOUBLE_EQ(ladder.NormalizedCutoff(), 22000.0 / 48000.0);  // unlimited
  ladder.SetResonance(0.1);
  EXPECT_DOUBLE_EQ(ladder.NormalizedCutoff(), 0.4);
  ladder.SetResonance(0.3);
  EXPECT_DOUBLE_EQ(ladder.NormalizedCutoff(), 0.25);
  ladder.Reset(96000.0);  // settings kept, recomputed for the rate
  EXPECT_DOUBLE_EQ(ladder.NormalizedCutoff(), 22000.0 / 96000.0);
  ladder.SetCutoff(1000.0);
  ladder.SetResonance(0.0);
  double y = 0.0;
  for (int i = 0; i < 48000; ++i) y = ladder.Process(0.0);
  EXPECT_NEAR(y, 1e-10, 1e-12);  // silence is replaced by a tiny offset
}

// Without resonance small signals see four one-pole stages, then the average of the last
// stage's two latest values.
TEST(LadderFilterTest, SmallSignalResponseFollowsFourOnePoleStages) {
  const double rate = 48000.0;
  for (const double cutoff : {200.0, 1000.0, 5000.0}) {
    const double f = cutoff / rate, x = 2.0 * f;
    const double tuning = 1.873 * x * x * x + 0.4955 * x * x - 0.649 * x + 0.9988;
    const double g = 1.0 - std::exp(-2.0 * std::numbers::pi * tuning * f);
    for (const double hz : {50.0, 1000.0, 4000.0, 12000.0}) {
      LadderFilter ladder;
      ladder.Reset(rate);
      ladder.SetResonance(0.0);
      ladder.SetCutoff(cutoff);
      const auto z1 = std::polar(1.0, -2.0 * std::numbers::pi * hz / rate);
      const auto expected = std::pow(g / (1.0 - (1.0 - g) * z1), 4) * (1.0 + z1) * 0.5;
      const auto measured =
          test::MeasureResponse([&](double v) { return ladder.Process(v); }, hz, rate, 0.5);
      EXPECT_NEAR(std::abs(measured), std::abs(expected), 1e-6 + 1e-4 * std::abs(expected))
          << cutoff << " Hz cutoff, probe " << hz << " Hz";
    }
  }
}

TEST(LadderFilterTest, StaysBoundedAtExtremeSampleRates) {
  std::mt19937 random(3);
  std::uniform_real_distribution<double> noise(-2.0, 2.0);
  for (const double rate : {1000.0, 768000.0}) {
    for (const double resonance : {0.0, 0.5, 0.9, 1.0}) {
      for (const double cutoff : {10.0, 400.0, 18000.0}) {
        LadderFilter ladder;
        ladder.Reset(rate);
        ladder.SetResonance(resonance);
        ladder.SetCutoff(cutoff);
        double peak = 0.0;
        for (int i = 0; i < 20000; ++i)
          peak = std::max(peak, std::abs(ladder.Process(noise(random))));
        // At full resonance the filter self-oscillates; the saturation holds the swing.
        EXPECT_LT(peak, resonance < 1.0 ? 20.0 : 5000.0)
            << rate << " " << resonance << " " << cutoff;
      }
    }
  }
}

}  // namespace
}  // namespace quorvel
