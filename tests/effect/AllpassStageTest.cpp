#include "effect/AllpassStage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <numbers>

#include "tests/effect/SineResponse.h"

namespace quorvel {
namespace {

// First-order all-pass (a − z⁻¹) / (1 − a·z⁻¹) with a = exp(−2π·f / rate).
std::complex<double> ExpectedAllpass(double corner, double hz, double sampleRate) {
  const double a = std::exp(-2.0 * std::numbers::pi * corner / sampleRate);
  const std::complex<double> z1 = std::polar(1.0, -2.0 * std::numbers::pi * hz / sampleRate);
  return (a - z1) / (1.0 - a * z1);
}

TEST(AllpassStageTest, UnityGainWithTheFirstOrderPhase) {
  for (const double corner : {110.0, 880.0, 3400.0}) {
    for (const double hz : {50.0, 880.0, 5000.0, 15000.0}) {
      AllpassStage stage;
      stage.SetSampleRate(44100.0);
      stage.SetFrequency(corner);
      const auto measured =
          test::MeasureResponse([&](double x) { return stage.Process(x); }, hz, 44100.0, 0.5);
      const auto expected = ExpectedAllpass(corner, hz, 44100.0);
      SCOPED_TRACE(testing::Message() << corner << " Hz stage, probe " << hz << " Hz");
      EXPECT_NEAR(std::abs(measured), 1.0, 1e-4);
      EXPECT_NEAR(std::arg(measured / expected), 0.0, 1e-4);
    }
  }
}

TEST(AllpassStageTest, ScaledProcessingMovesTheCornerOnly) {
  AllpassStage scaled, direct;
  scaled.SetSampleRate(48000.0);
  scaled.SetFrequency(1000.0);
  direct.SetSampleRate(48000.0);
  direct.SetFrequency(2500.0);
  for (int i = 0; i < 1000; ++i) {
    const double x = std::sin(0.1 * i);
    ASSERT_NEAR(scaled.ProcessScaled(2.5, x), direct.Process(x), 1e-12);
  }
  EXPECT_EQ(scaled.Frequency(), 1000.0);
}

TEST(AllpassStageTest, SampleRateZeroIsIgnoredAndStateIsKept) {
  AllpassStage a, b;
  for (AllpassStage* s : {&a, &b}) {
    s->SetSampleRate(44100.0);
    s->SetFrequency(880.0);
  }
  for (int i = 0; i < 50; ++i) {
    a.Process(std::sin(0.2 * i));
    b.Process(std::sin(0.2 * i));
  }
  a.SetSampleRate(0.0);
  a.SetSampleRate(44100.0);  // recomputes but keeps the state
  for (int i = 0; i < 50; ++i) ASSERT_EQ(a.Process(0.1), b.Process(0.1));
}

TEST(AllpassStageTest, ClearingRemovesOnlyNonFiniteStates) {
  AllpassStage stage, fresh;
  for (AllpassStage* s : {&stage, &fresh}) {
    s->SetSampleRate(44100.0);
    s->SetFrequency(880.0);
  }
  stage.Process(0.7);
  const double kept = stage.Output();
  stage.ClearIfNotFinite();
  EXPECT_EQ(stage.Output(), kept);

  stage.Process(std::numeric_limits<double>::quiet_NaN());
  EXPECT_TRUE(std::isnan(stage.Process(0.5)));  // stuck without clearing
  stage.ClearIfNotFinite();
  EXPECT_EQ(stage.Output(), 0.0);
  for (int i = 0; i < 20; ++i) ASSERT_EQ(stage.Process(0.25), fresh.Process(0.25));
}

}  // namespace
}  // namespace quorvel
