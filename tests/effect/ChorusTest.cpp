#include "effect/Chorus.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace quorvel {
namespace {

AllpassStage StageAt(double hz, double rate) {
  AllpassStage stage;
  stage.SetSampleRate(rate);
  stage.SetFrequency(hz);
  return stage;
}

// With wet 0 the input only passes the 880 Hz all-pass; with delay 0 every tap reads the
// mono mix just written, so the wet sum is four times that mix.
TEST(ChorusTest, DryPathAndZeroDelayTaps) {
  Chorus dryOnly, zeroDelay;
  dryOnly.SetWet(0.0);
  zeroDelay.SetDelay(0.0);
  zeroDelay.Reset(48000.0);  // jumps to the new delay
  zeroDelay.SetWet(0.5);
  const double dry = 1.0 / 1.5;
  AllpassStage pass[2] = {StageAt(880.0, 44100.0), StageAt(880.0, 44100.0)};
  AllpassStage dryPass[2] = {StageAt(880.0, 48000.0), StageAt(880.0, 48000.0)};
  AllpassStage wetPass[2] = {StageAt(3400.0, 48000.0), StageAt(3400.0, 48000.0)};
  for (int i = 0; i < 1000; ++i) {
    const double x = std::sin(0.02 * i), y = 0.3 * std::cos(0.07 * i);
    double l = x, r = y;
    dryOnly.Process(l, r);
    ASSERT_EQ(l, pass[0].Process(x));
    ASSERT_EQ(r, pass[1].Process(y));
    l = x, r = y;
    zeroDelay.Process(l, r);
    const double mono = (dry * y + dry * x) * 0.5, sum = ((mono + mono) + mono) + mono;
    ASSERT_DOUBLE_EQ(l, wetPass[0].Process(sum) * 0.5 + dryPass[0].Process(dry * x)) << i;
    ASSERT_DOUBLE_EQ(r, wetPass[1].Process(sum) * 0.5 + dryPass[1].Process(dry * y)) << i;
  }
}

// The wet part scales by wet with super stereo and by wet² without, so the difference of
// two runs isolates it: an impulse arrives after the set delay scaled by the voices' start
// value, the nonlinear table's first entry (about −0.24621).
TEST(ChorusTest, ImpulseArrivesAfterTheSetDelay) {
  Chorus stereo, mono;
  mono.SetSuperStereo(false);
  const double delay = stereo.DelaySamples();
  EXPECT_DOUBLE_EQ(delay, 12.5 * 0.001 * 44100.0);
  int arrival = -1;
  for (int i = 0; i < 2000 && arrival < 0; ++i) {
    double sl = i == 0 ? 1.0 : 0.0, sr = sl, ml = sl, mr = sl;
    stereo.SetWet(0.5);
    mono.SetWet(0.5);
    stereo.Process(sl, sr);
    mono.Process(ml, mr);
    ASSERT_NEAR(ml, mr, 1e-12);  // without super stereo both channels share the wet part
    if (std::abs((sl - ml) / (0.5 - 0.25)) > 1e-3)
      arrival = i;
  }
  EXPECT_NEAR(arrival, (1.0 - 0.24621) * delay, 2.0);
}

TEST(ChorusTest, DelaySlewAndLineSizing) {
  Chorus chorus;
  chorus.Reset(48000.0);
  EXPECT_EQ(chorus.DelaySamples(), 600.0);
  chorus.SetDelay(25.0);
  int samples = 0;
  for (double l = 0.0, r = 0.0; chorus.DelaySamples() != 1200.0 && samples < 10000; ++samples)
    chorus.Process(l, r);
  EXPECT_NEAR(samples, 6000, 1);  // a tenth of a sample per sample
  chorus.SetDelay(80.0);          // used as 50 ms
  chorus.Reset(96000.0);
  EXPECT_EQ(chorus.DelaySamples(), 50.0 * 0.001 * 96000.0);
  EXPECT_EQ(chorus.LineLength(), 19200);
  chorus.Reset(1.0);
  EXPECT_EQ(chorus.LineLength(), 2);
  double l = 1.0, r = 1.0;
  chorus.Process(l, r);  // reads stay inside even the shortest line
  EXPECT_TRUE(std::isfinite(l));
}

TEST(ChorusTest, SoundReturnsAfterANonFiniteSampleOnceStagesAreCleared) {
  for (const bool clear : {false, true}) {
    Chorus chorus;
    double l = std::numeric_limits<double>::infinity(), r = 0.0;
    chorus.Process(l, r);
    if (clear)
      chorus.ClearNonFiniteStages();
    chorus.Reset(44100.0);
    for (int i = 0; i < 1000; ++i) {
      l = r = std::sin(0.05 * i);
      chorus.Process(l, r);
    }
    EXPECT_EQ(std::isfinite(l) && std::abs(l) > 1e-3, clear);
  }
}

}  // namespace
}  // namespace quorvel
