#include "effect/SlewLimiter.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(SlewLimiterTest, StepsStopExactlyAtTheTarget) {
  SlewLimiter slew(0.1, false);
  slew.Jump(600.0);
  slew.SetTarget(1200.0);
  int ticks = 0;
  while (slew.Tick()) ++ticks;
  EXPECT_NEAR(ticks, 6000, 1);
  EXPECT_EQ(slew.Value(), 1200.0);

  SlewLimiter ratio(1.0, true);  // doubles or halves per tick
  ratio.Jump(1.0);
  ratio.SetTarget(10.0);
  for (const double expected : {2.0, 4.0, 8.0, 10.0, 10.0}) {
    ratio.Tick();
    EXPECT_EQ(ratio.Value(), expected);
  }
  ratio.SetTarget(3.0);
  for (const double expected : {5.0, 3.0}) {
    ratio.Tick();
    EXPECT_EQ(ratio.Value(), expected);
  }
  EXPECT_FALSE(ratio.Tick());
  ratio.SetTarget(7.0);
  ratio.Tick();
  ratio.SetTarget(1.5);  // turns round mid-way
  ratio.Tick();
  EXPECT_EQ(ratio.Value(), 3.0);
  ratio.Snap();
  EXPECT_EQ(ratio.Value(), 1.5);
  ratio.SetTarget(9.0);
  ratio.Jump(5.0);
  EXPECT_EQ(ratio.Target(), 5.0);
  EXPECT_FALSE(ratio.Tick());
}

}  // namespace
}  // namespace quorvel
