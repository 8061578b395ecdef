#include <gtest/gtest.h>

#include <array>

#include "effect/TailBound.h"
#include "tests/effect/ParameterSet.h"

namespace quorvel {
namespace {

using Values = std::array<double, kParamCount>;

Values Defaults() { return testSupport::ParameterSet().PlainValues(); }

// The host-style test runs at 48 kHz only; the bound must follow the rate.
TEST(TailBoundTest, LastsTheSameTimeAtEveryRate) {
  Values v = Defaults();
  v[ToIndex(ParamIndex::CutoffFilterEnable)] = 1;
  v[ToIndex(ParamIndex::Resonance)] = 0.7;
  for (const Values& values : {Defaults(), v}) {
    const int at48 = TailSamplesFor(values, 48000);
    EXPECT_NEAR(TailSamplesFor(values, 96000), 2 * at48, at48 / 50);
    EXPECT_NEAR(TailSamplesFor(values, 44100), 0.91875 * at48, at48 / 50);
  }
}

// The chorus taps wander up to twice the delay, which the setting gives as a share of 50 ms.
TEST(TailBoundTest, CoversTheChorusTaps) {
  Values v = Defaults();
  for (double delay : {0.25, 1.0}) {
    v[ToIndex(ParamIndex::ChorusDelay)] = delay;
    EXPECT_GE(TailSamplesFor(v, 48000), 2 * delay * 0.050 * 48000) << delay;
  }
}

}  // namespace
}  // namespace quorvel
