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

}  // namespace
}  // namespace quorvel
