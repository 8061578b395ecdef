#include <gtest/gtest.h>

#include "effect/SlewLimiter.h"

namespace quorvel {
namespace {

int TicksUntilStill(SlewLimiter& slew) {
  int ticks = 0;
  while (slew.Tick() && ticks < 1000000) ++ticks;
  return ticks;
}

TEST(SlewLimiterTest, AdditiveStepsReachTheTargetExactly) {
  SlewLimiter slew(0.1, false);
  slew.Jump(600.0);
  slew.SetTarget(1200.0);
  EXPECT_NEAR(TicksUntilStill(slew), 6000, 1);
  EXPECT_EQ(slew.Value(), 1200.0);

  slew.SetTarget(1199.75);  // falls, overshoot is cut at the target
  EXPECT_TRUE(slew.Tick());
  EXPECT_DOUBLE_EQ(slew.Value(), 1199.9);
  EXPECT_TRUE(slew.Tick());
  EXPECT_DOUBLE_EQ(slew.Value(), 1199.8);
  EXPECT_TRUE(slew.Tick());
  EXPECT_EQ(slew.Value(), 1199.75);
  EXPECT_FALSE(slew.Tick());
}

TEST(SlewLimiterTest, MultiplicativeStepsScaleByRatePlusOne) {
  SlewLimiter slew(1.0, true);
  slew.Jump(1.0);
  slew.SetTarget(10.0);
  slew.Tick();
  EXPECT_EQ(slew.Value(), 2.0);
  slew.Tick();
  slew.Tick();
  EXPECT_EQ(slew.Value(), 8.0);
  slew.Tick();
  EXPECT_EQ(slew.Value(), 10.0);
  slew.SetTarget(2.0);
  slew.Tick();
  EXPECT_EQ(slew.Value(), 5.0);
  slew.Tick();
  EXPECT_EQ(slew.Value(), 2.5);
  slew.Tick();
  EXPECT_EQ(slew.Value(), 2.0);
  EXPECT_FALSE(slew.Tick());
}

TEST(SlewLimiterTest, JumpSnapAndReversal) {
  SlewLimiter slew(0.5, false);
  slew.Jump(1.0);
  slew.SetTarget(1.0);
  EXPECT_FALSE(slew.Tick());  // already there

  slew.SetTarget(3.0);
  slew.Tick();
  EXPECT_EQ(slew.Value(), 1.5);
  slew.SetTarget(0.0);  // turns round mid-way
  slew.Tick();
  EXPECT_EQ(slew.Value(), 1.0);

  slew.Snap();
  EXPECT_EQ(slew.Value(), 0.0);
  EXPECT_FALSE(slew.Tick());

  slew.SetTarget(5.0);
  slew.Jump(2.0);
  EXPECT_EQ(slew.Value(), 2.0);
  EXPECT_EQ(slew.Target(), 2.0);
  EXPECT_FALSE(slew.Tick());
}

}  // namespace
}  // namespace quorvel
