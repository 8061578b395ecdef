#include <gtest/gtest.h>

#include <limits>

#include "effect/AllpassStage.h"
#include "tests/effect/SineResponse.h"

namespace quorvel {
namespace {

// Small signals see (a − z⁻¹) / (1 − a·z⁻¹) with a = exp(−2π·f / rate).
TEST(AllpassStageTest, UnityGainWithTheFirstOrderPhase) {
  const double rate = 44100.0;
  for (const double corner : {110.0, 880.0, 3400.0}) {
    for (const double hz : {50.0, 880.0, 15000.0}) {
      AllpassStage stage, scaled;
      stage.SetSampleRate(rate);
      stage.SetFrequency(corner);
      scaled.SetSampleRate(rate);
      scaled.SetFrequency(corner / 4.0);
      const double a = std::exp(-2.0 * std::numbers::pi * corner / rate);
      const auto z1 = std::polar(1.0, -2.0 * std::numbers::pi * hz / rate);
      const auto expected = (a - z1) / (1.0 - a * z1);
      for (const auto& measured :
           {test::MeasureResponse([&](double x) { return stage.Process(x); }, hz, rate, 0.5),
            test::MeasureResponse([&](double x) { return scaled.ProcessScaled(4.0, x); }, hz, rate,
                                  0.5)}) {
        EXPECT_NEAR(std::abs(measured), 1.0, 1e-4) << corner << " Hz stage, probe " << hz;
        EXPECT_NEAR(std::arg(measured / expected), 0.0, 1e-4) << corner << " " << hz;
      }
    }
  }
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
  stage.SetSampleRate(0.0);  // ignored
  stage.Process(std::numeric_limits<double>::quiet_NaN());
  EXPECT_TRUE(std::isnan(stage.Process(0.5)));  // stuck without clearing
  stage.ClearIfNotFinite();
  EXPECT_EQ(stage.Output(), 0.0);
  for (int i = 0; i < 20; ++i) ASSERT_EQ(stage.Process(0.25), fresh.Process(0.25));
}

}  // namespace
}  // namespace quorvel
