#include "effect/SoftClip.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace quorvel {
namespace {

TEST(SoftClipTest, CurveValuesJoinsAndBlock) {
  EXPECT_EQ(SoftClip(2.0), 2.0);
  EXPECT_EQ(SoftClip(-1.3), -1.3);
  EXPECT_NEAR(SoftClip(3.0), 2.797959, 1e-6);
  EXPECT_NEAR(SoftClip(-3.0), -2.797959, 1e-6);
  EXPECT_NEAR(SoftClip(4.0), 3.313708, 1e-6);
  EXPECT_EQ(SoftClip(8.0), 4.0);
  EXPECT_EQ(SoftClip(-std::numeric_limits<double>::infinity()), -4.0);
  EXPECT_LT(SoftClip(SoftClip(3.0)), SoftClip(3.0));  // a second pass bends again
  const double h = 1e-7;
  EXPECT_NEAR((SoftClip(2.0 + h) - 2.0) / h, 1.0, 1e-5);  // slope 1 at 2, 0 at 8
  EXPECT_NEAR((4.0 - SoftClip(8.0 - h)) / h, 0.0, 1e-5);
  for (double x = 2.0; x < 9.0; x += 1e-3) ASSERT_LE(SoftClip(x), SoftClip(x + 1e-3)) << x;

  double block[] = {0.5, 3.0, -9.0};
  SoftClipBlock(block, 3);
  EXPECT_EQ(block[0], 0.5);
  EXPECT_EQ(block[1], SoftClip(3.0));
  EXPECT_EQ(block[2], -4.0);
}

}  // namespace
}  // namespace quorvel
