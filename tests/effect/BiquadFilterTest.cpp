#include "effect/BiquadFilter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "tests/effect/SineResponse.h"

namespace quorvel {
namespace {

// The cookbook high-pass is the bilinear image of s² / (s² + s / Q + 1) with the corner
// prewarped, so its magnitude follows from the warped frequency ratio.
double ExpectedHighPassMagnitude(double corner, double q, double hz, double sampleRate) {
  const double ratio = std::tan(std::numbers::pi * hz / sampleRate) /
                       std::tan(std::numbers::pi * corner / sampleRate);
  const double r2 = ratio * ratio;
  return r2 / std::sqrt((1.0 - r2) * (1.0 - r2) + r2 / (q * q));
}

TEST(BiquadFilterTest, HighPassMagnitudeFollowsTheAnalogPrototype) {
  struct Case {
    double corner, q, hz;
  };
  for (const Case& c : {Case{1000.0, std::numbers::sqrt2 / 2.0, 1000.0},
                        Case{1000.0, std::numbers::sqrt2 / 2.0, 100.0},
                        Case{1000.0, std::numbers::sqrt2 / 2.0, 10000.0},
                        Case{250.0, 1.0, 250.0}, Case{750.0, 5.0, 750.0},
                        Case{750.0, 5.0, 400.0}, Case{10.0, std::numbers::sqrt2 / 2.0, 50.0}}) {
    HPF hpf;
    hpf.SetSampleRate(48000.0);
    hpf.SetQ(c.q);
    hpf.SetFrequency(c.corner);
    const double measured = std::abs(
        test::MeasureResponse([&](double x) { return hpf.Process(x); }, c.hz, 48000.0, 0.5));
    const double expected = ExpectedHighPassMagnitude(c.corner, c.q, c.hz, 48000.0);
    EXPECT_NEAR(measured, expected, 1e-6 + 1e-6 * expected)
        << c.corner << " Hz, q " << c.q << ", probe " << c.hz << " Hz";
  }
}

TEST(BiquadFilterTest, SettersLimitTheirArguments) {
  HPF hpf;
  EXPECT_DOUBLE_EQ(hpf.Frequency(), 1.0);
  EXPECT_DOUBLE_EQ(hpf.Q(), 1.0 / std::sqrt(2.0));
  hpf.SetFrequency(0.5);
  EXPECT_EQ(hpf.Frequency(), 1.0);
  hpf.SetQ(0.0);
  EXPECT_EQ(hpf.Q(), 0.001);
  hpf.SetQ(-3.0);
  EXPECT_EQ(hpf.Q(), 0.001);
}

TEST(BiquadFilterTest, OutputNearZeroBecomesTinyPositive) {
  HPF hpf;
  hpf.SetSampleRate(44100.0);
  hpf.SetFrequency(10.0);
  EXPECT_EQ(hpf.Process(0.0), 1e-10);
  for (int i = 0; i < 44100; ++i) {
    const double y = hpf.Process(0.0);
    ASSERT_GT(y, 0.0);
    ASSERT_LT(y, 1e-7);  // far below audibility
  }
  // A clearly negative result passes unchanged.
  HPF other;
  other.SetSampleRate(44100.0);
  other.SetFrequency(10.0);
  EXPECT_LT(other.Process(-0.5), -0.4);
}

TEST(BiquadFilterTest, CornerStaysBelowNyquistSoLowRatesStayStable) {
  std::mt19937 random(11);
  std::uniform_real_distribution<double> noise(-1.0, 1.0);
  for (const double sampleRate : {1000.0, 8000.0, 22050.0, 768000.0}) {
    for (const double corner : {10.0, 499.0, 500.0, 13500.0, 18000.0}) {
      for (const double q : {std::numbers::sqrt2 / 2.0, 5.0}) {
        HPF hpf;
        hpf.SetSampleRate(sampleRate);
        hpf.SetQ(q);
        hpf.SetFrequency(corner);
        EXPECT_LT(hpf.EffectiveFrequency(), 0.5 * sampleRate);
        double peak = 0.0;
        for (int i = 0; i < 50000; ++i) peak = std::max(peak, std::abs(hpf.Process(noise(random))));
        EXPECT_LT(peak, 10.0) << sampleRate << " Hz rate, corner " << corner << ", q " << q;
      }
    }
  }
}

TEST(BiquadFilterTest, RequestedCornerReturnsAtAHigherRateAndResetClearsState) {
  HPF hpf;
  hpf.SetSampleRate(8000.0);
  hpf.SetFrequency(5000.0);
  EXPECT_LT(hpf.EffectiveFrequency(), 4000.0);
  for (int i = 0; i < 100; ++i) hpf.Process(i % 2 ? 1.0 : -1.0);
  hpf.SetSampleRate(48000.0);
  EXPECT_EQ(hpf.Frequency(), 5000.0);
  EXPECT_EQ(hpf.EffectiveFrequency(), 5000.0);
  EXPECT_EQ(hpf.Process(0.0), 1e-10);  // nothing left of the old state
  const double measured = std::abs(
      test::MeasureResponse([&](double x) { return hpf.Process(x); }, 5000.0, 48000.0, 0.5));
  EXPECT_NEAR(measured, std::sqrt(0.5), 1e-6);
}

}  // namespace
}  // namespace quorvel
