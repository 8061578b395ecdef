#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "effect/BrickwallLimiter.h"

namespace quorvel {
namespace {

TEST(BrickwallLimiterTest, CurveValues) {
  EXPECT_EQ(BrickwallCurve(0.5), 0.5);
  EXPECT_EQ(BrickwallCurve(-0.25), -0.25);
  EXPECT_NEAR(BrickwallCurve(0.6), 0.590429, 1e-6);
  EXPECT_NEAR(BrickwallCurve(1.5), 0.954147, 1e-6);
  EXPECT_NEAR(BrickwallCurve(-1.5), -0.954147, 1e-6);
  EXPECT_EQ(BrickwallCurve(2.0), kBrickwallCeiling);
  EXPECT_EQ(BrickwallCurve(-50.0), -kBrickwallCeiling);
  EXPECT_NEAR(kBrickwallCeiling, std::pow(10.0, -0.1 / 20.0), 1e-14);
  // Slope 1 at the knee, 0 at the end, never above the ceiling.
  const double h = 1e-7;
  EXPECT_NEAR((BrickwallCurve(0.5 + h) - 0.5) / h, 1.0, 1e-5);
  EXPECT_NEAR((kBrickwallCeiling - BrickwallCurve(2.0 - h)) / h, 0.0, 1e-5);
  double previous = 0.5;
  for (double x = 0.501; x < 3.0; x += 1e-3) {
    const double y = BrickwallCurve(x);
    // Flat near the end, where rounding may wobble by an ulp.
    ASSERT_GE(y, previous - 1e-15) << x;
    ASSERT_LE(y, kBrickwallCeiling + 1e-15);
    previous = y;
  }
}

TEST(BrickwallLimiterTest, FullScaleSineAndReportedExcess) {
  std::vector<double> sine(4800);
  for (std::size_t i = 0; i < sine.size(); ++i)
    sine[i] = std::sin(2.0 * std::numbers::pi * static_cast<double>(i) / 48.0);
  EXPECT_DOUBLE_EQ(ApplyBrickwall(sine.data(), static_cast<int>(sine.size())), 0.5);
  double peak = 0.0;
  for (const double x : sine) peak = std::max(peak, std::abs(x));
  EXPECT_NEAR(peak, 0.823152, 1e-6);

  std::vector<double> quiet{0.1, -0.5, 0.5, 0.0};
  const std::vector<double> original = quiet;
  EXPECT_EQ(ApplyBrickwall(quiet.data(), 4), 0.0);
  EXPECT_EQ(quiet, original);

  std::vector<double> loud{0.2, -3.0, std::numeric_limits<double>::infinity()};
  EXPECT_EQ(ApplyBrickwall(loud.data(), 3), 1.0);
  EXPECT_EQ(loud[1], -kBrickwallCeiling);
  EXPECT_EQ(loud[2], kBrickwallCeiling);
  EXPECT_EQ(ApplyBrickwall(loud.data(), 0), 0.0);
}

}  // namespace
}  // namespace quorvel
