#include <gtest/gtest.h>

#include <random>

#include "effect/BiquadFilter.h"
#include "tests/effect/SineResponse.h"

namespace quorvel {
namespace {

// The cookbook high-pass is the bilinear image of s² / (s² + s / Q + 1) with the corner
// prewarped, so its magnitude follows from the warped frequency ratio.
TEST(BiquadFilterTest, HighPassMagnitudeFollowsTheAnalogPrototype) {
  const double rate = 48000.0, butterworth = std::numbers::sqrt2 / 2.0;
  for (const auto& [corner, q, hz] : {std::tuple{1000.0, butterworth, 1000.0},
                                      {1000.0, butterworth, 100.0},
                                      {1000.0, butterworth, 10000.0},
                                      {750.0, 5.0, 750.0},
                                      {750.0, 5.0, 400.0}}) {
    HPF hpf;
    hpf.SetSampleRate(rate);
    hpf.SetQ(q);
    hpf.SetFrequency(corner);
    const double ratio =
        std::tan(std::numbers::pi * hz / rate) / std::tan(std::numbers::pi * corner / rate);
    const double r2 = ratio * ratio;
    const double expected = r2 / std::sqrt((1.0 - r2) * (1.0 - r2) + r2 / (q * q));
    const double measured =
        std::abs(test::MeasureResponse([&](double x) { return hpf.Process(x); }, hz, rate, 0.5));
    EXPECT_NEAR(measured, expected, 1e-6 * (1.0 + expected)) << corner << " " << q << " " << hz;
  }
}

TEST(BiquadFilterTest, LimitsAndSilence) {
  HPF hpf;
  EXPECT_EQ(hpf.Q(), 1.0 / std::sqrt(2.0));
  hpf.SetFrequency(0.5);
  EXPECT_EQ(hpf.Frequency(), 1.0);
  hpf.SetQ(0.0);
  EXPECT_EQ(hpf.Q(), 0.001);
  hpf.SetQ(1.0);
  hpf.SetFrequency(10.0);
  EXPECT_EQ(hpf.Process(0.0), 1e-10);
  for (int i = 0; i < 44100; ++i) {
    const double y = hpf.Process(0.0);
    ASSERT_TRUE(y > 0.0 && y < 1e-7);  // stays tiny and positive
  }
  EXPECT_LT(hpf.Process(-0.5), -0.4);  // a clearly negative result passes
}

TEST(BiquadFilterTest, CornerStaysBelowNyquistSoLowRatesStayStable) {
  std::mt19937 random(11);
  std::uniform_real_distribution<double> noise(-1.0, 1.0);
  for (const double rate : {1000.0, 8000.0, 22050.0, 768000.0}) {
    for (const double corner : {10.0, 500.0, 13500.0, 18000.0}) {
      for (const double q : {std::numbers::sqrt2 / 2.0, 5.0}) {
        HPF hpf;
        hpf.SetSampleRate(rate);
        hpf.SetQ(q);
        hpf.SetFrequency(corner);
        double peak = 0.0;
        for (int i = 0; i < 50000; ++i) peak = std::max(peak, std::abs(hpf.Process(noise(random))));
        EXPECT_LT(peak, 10.0) << rate << " Hz rate, corner " << corner << ", q " << q;
      }
    }
  }
  // The requested corner returns at a rate that can carry it; the state is cleared.
  HPF hpf;
  hpf.SetSampleRate(8000.0);
  hpf.SetFrequency(5000.0);
  for (int i = 0; i < 100; ++i) hpf.Process(i % 2 ? 1.0 : -1.0);
  hpf.SetSampleRate(48000.0);
  EXPECT_EQ(hpf.Process(0.0), 1e-10);
  EXPECT_NEAR(std::abs(test::MeasureResponse([&](double x) { return hpf.Process(x); }, 5000.0,
                                             48000.0, 0.5)),
              std::sqrt(0.5), 1e-6);
}

}  // namespace
}  // namespace quorvel
