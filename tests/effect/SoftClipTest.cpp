#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "effect/SoftClip.h"

namespace quorvel {
namespace {

TEST(SoftClipTest, CurveValues) {
  EXPECT_EQ(SoftClip(2.0), 2.0);
  EXPECT_EQ(SoftClip(-1.3), -1.3);
  EXPECT_NEAR(SoftClip(3.0), 2.797959, 1e-6);
  EXPECT_NEAR(SoftClip(-3.0), -2.797959, 1e-6);
  EXPECT_NEAR(SoftClip(4.0), 3.313708, 1e-6);
  EXPECT_EQ(SoftClip(8.0), 4.0);
  EXPECT_EQ(SoftClip(-1e300), -4.0);
  EXPECT_EQ(SoftClip(std::numeric_limits<double>::infinity()), 4.0);
  // A second pass bends an already clipped value again.
  EXPECT_LT(SoftClip(SoftClip(3.0)), SoftClip(3.0));
}

TEST(SoftClipTest, SmoothAndMonotoneJoins) {
  const double h = 1e-7;
  EXPECT_NEAR((SoftClip(2.0 + h) - 2.0) / h, 1.0, 1e-5);
  EXPECT_NEAR((SoftClip(8.0) - SoftClip(8.0 - h)) / h, 0.0, 1e-5);
  double previous = SoftClip(0.0);
  for (double x = 1e-3; x < 10.0; x += 1e-3) {
    const double y = SoftClip(x);
    ASSERT_GE(y, previous) << x;
    ASSERT_LE(y, 4.0);
    previous = y;
  }
}

}  // namespace
}  // namespace quorvel
