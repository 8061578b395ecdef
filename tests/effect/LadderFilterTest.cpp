#include "effect/LadderFilter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <random>

#include "tests/effect/SineResponse.h"

namespace quorvel {
namespace {

// Small-signal response without resonance: four one-pole stages, then the average of the
// last two stage outputs.
std::complex<double> ExpectedLowPass(double cutoff, double hz, double sampleRate) {
  const double f = cutoff / sampleRate;
  const double x = 2.0 * f;
  const double tuning = 1.873 * x * x * x + 0.4955 * x * x - 0.649 * x + 0.9988;
  const double g = 1.0 - std::exp(-2.0 * std::numbers::pi * tuning * f);
  const std::complex<double> z1 = std::polar(1.0, -2.0 * std::numbers::pi * hz / sampleRate);
  const std::complex<double> pole = g / (1.0 - (1.0 - g) * z1);
  return std::pow(pole, 4) * (1.0 + z1) * 0.5;
}

TEST(LadderFilterTest, NormalizedCutoffIsLimitedByResonance) {
  LadderFilter ladder;
  ladder.Reset(48000.0);
  ladder.SetCutoff(18000.0);
  ladder.SetResonance(0.0);
  EXPECT_DOUBLE_EQ(ladder.NormalizedCutoff(), 0.375);
  ladder.SetResonance(0.1);
  EXPECT_DOUBLE_EQ(ladder.NormalizedCutoff(), 0.375);
  ladder.SetCutoff(22000.0);
  ladder.SetResonance(0.0);
  EXPECT_DOUBLE_EQ(ladder.NormalizedCutoff(), 22000.0 / 48000.0);
  ladder.SetResonance(0.1);
  EXPECT_DOUBLE_EQ(ladder.NormalizedCutoff(), 0.4);
  ladder.SetResonance(0.3);
  EXPECT_DOUBLE_EQ(ladder.NormalizedCutoff(), 0.25);
  ladder.SetCutoff(1000.0);
  EXPECT_DOUBLE_EQ(ladder.NormalizedCutoff(), 1000.0 / 48000.0);
  // A new sample rate recomputes with the settings kept.
  ladder.Reset(96000.0);
  EXPECT_DOUBLE_EQ(ladder.NormalizedCutoff(), 1000.0 / 96000.0);
}

TEST(LadderFilterTest, SmallSignalResponseFollowsFourOnePoleStages) {
  for (const double cutoff : {200.0, 1000.0, 5000.0}) {
    for (const double hz : {50.0, 1000.0, 4000.0, 12000.0}) {
      LadderFilter ladder;
      ladder.Reset(48000.0);
      ladder.SetResonance(0.0);
      ladder.SetCutoff(cutoff);
      const auto measured =
          test::MeasureResponse([&](double x) { return ladder.Process(x); }, hz, 48000.0, 0.5);
      const auto expected = ExpectedLowPass(cutoff, hz, 48000.0);
      SCOPED_TRACE(testing::Message() << "cutoff " << cutoff << " Hz, probe " << hz << " Hz");
      EXPECT_NEAR(std::abs(measured), std::abs(expected), 1e-6 + 1e-4 * std::abs(expected));
      if (std::abs(expected) > 1e-3) {
        EXPECT_NEAR(std::arg(measured / expected), 0.0, 1e-3);
      }
    }
  }
}

TEST(LadderFilterTest, ResonanceLiftsTheCutoffRegionAndLowersTheBass) {
  auto gainAt = [](double resonance, double hz) {
    LadderFilter ladder;
    ladder.Reset(48000.0);
    ladder.SetCutoff(1000.0);
    ladder.SetResonance(resonance);
    return std::abs(
        test::MeasureResponse([&](double x) { return ladder.Process(x); }, hz, 48000.0, 0.1));
  };
  EXPECT_GT(gainAt(0.8, 1000.0), 2.0 * gainAt(0.0, 1000.0));
  EXPECT_LT(gainAt(0.8, 50.0), 0.5);  // DC gain 1 / (1 + feedback)
}

TEST(LadderFilterTest, SilenceGivesTinyPositiveOutput) {
  LadderFilter ladder;
  ladder.Reset(44100.0);
  ladder.SetCutoff(1000.0);
  ladder.SetResonance(0.0);
  double y = 0.0;
  for (int i = 0; i < 44100; ++i) y = ladder.Process(0.0);
  EXPECT_GT(y, 0.0);
  EXPECT_NEAR(y, 1e-10, 1e-12);
}

TEST(LadderFilterTest, ResetClearsEveryState) {
  LadderFilter used;
  used.Reset(48000.0);
  used.SetCutoff(3000.0);
  used.SetResonance(0.7);
  std::mt19937 random(7);
  std::uniform_real_distribution<double> noise(-1.0, 1.0);
  for (int i = 0; i < 1000; ++i) used.Process(noise(random));
  used.Reset(48000.0);

  LadderFilter fresh;
  fresh.Reset(48000.0);
  fresh.SetCutoff(3000.0);
  fresh.SetResonance(0.7);
  for (int i = 0; i < 100; ++i) {
    const double x = i == 0 ? 1.0 : 0.0;
    ASSERT_EQ(used.Process(x), fresh.Process(x)) << "sample " << i;
  }
}

TEST(LadderFilterTest, StaysBoundedAtExtremeSampleRates) {
  std::mt19937 random(3);
  std::uniform_real_distribution<double> noise(-2.0, 2.0);
  for (const double sampleRate : {1000.0, 768000.0}) {
    for (const double resonance : {0.0, 0.5, 0.9, 1.0}) {
      for (const double cutoff : {10.0, 400.0, 18000.0}) {
        LadderFilter ladder;
        ladder.Reset(sampleRate);
        ladder.SetResonance(resonance);
        ladder.SetCutoff(cutoff);
        double peak = 0.0;
        for (int i = 0; i < 20000; ++i) {
          const double y = ladder.Process(noise(random));
          ASSERT_TRUE(std::isfinite(y));
          peak = std::max(peak, std::abs(y));
        }
        SCOPED_TRACE(testing::Message() << sampleRate << " Hz, r " << resonance << ", cutoff "
                                        << cutoff);
        // At full resonance the filter self-oscillates; the saturation holds the swing.
        EXPECT_LT(peak, resonance < 1.0 ? 20.0 : 5000.0);
      }
    }
  }
}

}  // namespace
}  // namespace quorvel
