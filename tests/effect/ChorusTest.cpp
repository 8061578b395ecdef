#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "effect/Chorus.h"
#include "tests/effect/SingleSample.h"

namespace quorvel {
namespace {

using testSupport::ProcessSample;

AllpassStage StageAt(double hz, double sampleRate) {
  AllpassStage stage;
  stage.SetSampleRate(sampleRate);
  stage.SetFrequency(hz);
  return stage;
}

TEST(ChorusTest, WetZeroPassesTheInputThroughTheDryAllpass) {
  Chorus chorus;
  chorus.SetWet(0.0);
  AllpassStage refL = StageAt(880.0, 44100.0), refR = StageAt(880.0, 44100.0);
  std::mt19937 random(9);
  std::uniform_real_distribution<double> noise(-1.0, 1.0);
  for (int i = 0; i < 3000; ++i) {
    const double x = noise(random), y = noise(random);
    double l = x, r = y;
    ProcessSample(chorus, l, r);
    ASSERT_EQ(l, refL.Process(x));
    ASSERT_EQ(r, refR.Process(y));
  }
}

TEST(ChorusTest, ZeroDelayTapsReadFourTimesTheMonoMix) {
  Chorus chorus;
  chorus.SetDelay(0.0);
  chorus.Reset(48000.0);  // jumps to the new delay
  EXPECT_EQ(chorus.DelaySamples(), 0.0);
  chorus.SetWet(0.5);
  const double dry = 1.0 / 1.5;
  AllpassStage dryL = StageAt(880.0, 48000.0), dryR = StageAt(880.0, 48000.0);
  AllpassStage wetL = StageAt(3400.0, 48000.0), wetR = StageAt(3400.0, 48000.0);
  for (int i = 0; i < 1000; ++i) {
    const double x = std::sin(0.02 * i), y = 0.3 * std::cos(0.07 * i);
    double l = x, r = y;
    ProcessSample(chorus, l, r);
    const double mono = (dry * y + dry * x) * 0.5;
    const double sum = ((mono + mono) + mono) + mono;
    ASSERT_DOUBLE_EQ(l, wetL.Process(sum) * 0.5 + dryL.Process(dry * x)) << i;
    ASSERT_DOUBLE_EQ(r, wetR.Process(sum) * 0.5 + dryR.Process(dry * y)) << i;
  }
}

// With super stereo on the left wet signal is scaled by wet, with it off by wet², so the
// difference of two otherwise equal runs isolates the wet signal.
TEST(ChorusTest, ImpulseArrivesAfterTheSetDelayAndWetScalesAsSpecified) {
  Chorus stereo, mono;
  mono.SetSuperStereo(false);
  const double delay = stereo.DelaySamples();
  EXPECT_DOUBLE_EQ(delay, 12.5 * 0.001 * 44100.0);
  int arrival = -1;
  double sameDifference = 0.0;
  for (int i = 0; i < 2000; ++i) {
    double sl = i == 0 ? 1.0 : 0.0, sr = sl, ml = sl, mr = sl;
    stereo.SetWet(0.5);
    mono.SetWet(0.5);
    ProcessSample(stereo, sl, sr);
    ProcessSample(mono, ml, mr);
    const double wetL = (sl - ml) / (0.5 - 0.25);
    if (arrival < 0 && std::abs(wetL) > 1e-3) arrival = i;
    sameDifference = std::max(sameDifference, std::abs((ml - mr)));
  }
  // The voices start at the nonlinear table's first entry, about −0.24621.
  EXPECT_NEAR(arrival, (1.0 - 0.24621) * delay, 2.0);
  EXPECT_LT(sameDifference, 1e-12);  // without super stereo both channels share the wet part
}

TEST(ChorusTest, DelaySlewsByATenthOfASamplePerSample) {
  Chorus chorus;
  chorus.Reset(48000.0);
  EXPECT_EQ(chorus.DelaySamples(), 600.0);
  chorus.SetDelay(25.0);
  int samples = 0;
  double l = 0.0, r = 0.0;
  while (chorus.DelaySamples() != 1200.0 && samples < 10000) {
    ProcessSample(chorus, l, r);
    ++samples;
  }
  EXPECT_NEAR(samples, 6000, 1);
  // Above 50 ms the delay is used as 50 ms; a new rate empties the line and jumps.
  chorus.SetDelay(80.0);
  chorus.Reset(96000.0);
  EXPECT_EQ(chorus.DelaySamples(), 50.0 * 0.001 * 96000.0);
  EXPECT_EQ(chorus.LineLength(), 19200);
  chorus.Reset(1.0);
  EXPECT_EQ(chorus.LineLength(), 2);
  l = r = 1.0;
  ProcessSample(chorus, l, r);  // reads stay inside the shortest line
  EXPECT_TRUE(std::isfinite(l));
}

TEST(ChorusTest, SoundReturnsAfterANonFiniteSampleOnceStagesAreCleared) {
  auto poisoned = [] {
    Chorus chorus;
    double l = std::numeric_limits<double>::infinity(), r = 0.0;
    ProcessSample(chorus, l, r);
    return chorus;
  };
  auto lastOf = [](Chorus& chorus) {
    double l = 0.0, r = 0.0;
    for (int i = 0; i < 1000; ++i) {
      l = r = std::sin(0.05 * i);
      ProcessSample(chorus, l, r);
    }
    return l + r;
  };
  Chorus resetOnly = poisoned();
  resetOnly.Reset(44100.0);
  EXPECT_FALSE(std::isfinite(lastOf(resetOnly)));

  Chorus cleared = poisoned();
  cleared.ClearNonFiniteStages();
  cleared.Reset(44100.0);
  const double sound = lastOf(cleared);
  EXPECT_TRUE(std::isfinite(sound));
  EXPECT_GT(std::abs(sound), 1e-3);
}

}  // namespace
}  // namespace quorvel
