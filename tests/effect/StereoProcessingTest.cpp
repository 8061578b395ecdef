// The paired paths run left and right in the two lanes of one register and work out
// signal-independent coefficients a block ahead. They must give bit for bit what each channel
// gives on its own, sample by sample.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "effect/AllpassStage.h"
#include "effect/BiquadFilter.h"
#include "effect/Chorus.h"
#include "effect/DriveStage.h"
#include "effect/LadderFilter.h"
#include "effect/Phaser.h"
#include "effect/QuorvelEngine.h"
#include "tests/effect/ParameterSet.h"
#include "tests/effect/SingleSample.h"

namespace quorvel {
namespace {

using testSupport::ProcessSample;

constexpr int kSamples = 3000;

// Two different signals with stretches of exact zeros (replaced by the filters' floor) and a
// burst far above full scale (where the saturations bend).
double Signal(int channel, int i) {
  if (i >= 200 && i < 260) return 0.0;
  const double loud = i >= 1500 && i < 1600 ? 40000.0 : 1.0;
  return loud * (channel == 0 ? std::sin(0.031 * i) * 0.7 : std::cos(0.017 * i) * 0.4 - 0.1);
}

// A cutoff moving every sample, as the modulated cutoff does.
double SweptCutoff(int i) { return 600.0 + 5000.0 * (0.5 + 0.5 * std::sin(0.004 * i)); }

TEST(StereoProcessingTest, PairedFiltersMatchEachChannelAloneAndHandTheirStatesBack) {
  LadderFilter left, right, aloneL, aloneR;
  for (LadderFilter* f : {&left, &right, &aloneL, &aloneR}) {
    f->Reset(48000.0);
    f->SetResonance(0.7);
  }
  HPF bandL, bandR, bandAloneL, bandAloneR;
  for (HPF* f : {&bandL, &bandR, &bandAloneL, &bandAloneR}) {
    f->SetSampleRate(48000.0);
    f->SetQ(3.0);
  }
  const auto alone = [&](int i) {
    aloneL.SetCutoff(SweptCutoff(i));
    aloneR.SetCutoff(SweptCutoff(i));
    bandAloneL.SetFrequency(0.25 * SweptCutoff(i));
    bandAloneR.SetFrequency(0.25 * SweptCutoff(i));
    return Pack(bandAloneL.Process(aloneL.Process(Signal(0, i))),
                bandAloneR.Process(aloneR.Process(Signal(1, i))));
  };
  {
    StereoLadder ladders(left, right);
    StereoBiquad bands(bandL, bandR);
    for (int i = 0; i < kSamples; ++i) {
      left.SetCutoff(SweptCutoff(i));
      bandL.SetFrequency(0.25 * SweptCutoff(i));
      const StereoPair y = bands.Process(
          ladders.Process(Pack(Signal(0, i), Signal(1, i)), left.CurrentCoefficients()),
          bandL.CurrentCoefficients());
      const StereoPair expected = alone(i);
      ASSERT_EQ(y[0], expected[0]) << i;
      ASSERT_EQ(y[1], expected[1]) << i;
    }
  }
  // Back in the single filters, both channels carry on where the pair left them, the right
  // one with the settings the left one ended on.
  EXPECT_EQ(right.Cutoff(), aloneR.Cutoff());
  EXPECT_EQ(bandR.Frequency(), bandAloneR.Frequency());
  for (int i = kSamples; i < kSamples + 200; ++i) {
    left.SetCutoff(SweptCutoff(i));
    right.SetCutoff(SweptCutoff(i));
    bandL.SetFrequency(0.25 * SweptCutoff(i));
    bandR.SetFrequency(0.25 * SweptCutoff(i));
    const StereoPair expected = alone(i);
    ASSERT_EQ(bandL.Process(left.Process(Signal(0, i))), expected[0]) << i;
    ASSERT_EQ(bandR.Process(right.Process(Signal(1, i))), expected[1]) << i;
  }
}

TEST(StereoProcessingTest, PairedAllpassStagesFollowTheirOwnScalesOrOnlyTheLeftChannel) {
  std::array<AllpassStage, 6> stages;
  for (AllpassStage& s : stages) {
    s.SetSampleRate(44100.0);
    s.SetFrequency(3400.0);
  }
  AllpassStage &left = stages[0], &right = stages[1], &aloneL = stages[2], &aloneR = stages[3];
  // Scales that hold, meet and part, so the reused gains are exercised too.
  const auto scaleL = [](int i) { return i % 7 < 3 ? 0.5 : 1.0 + 0.001 * (i % 11); };
  const auto scaleR = [&](int i) { return i % 5 == 0 ? scaleL(i) : 2.0 - 0.002 * (i % 13); };
  {
    StereoAllpass pair(left, right);
    ScaledGains gains(left);
    for (int i = 0; i < kSamples; ++i) {
      const StereoPair y =
          pair.Process(Pack(Signal(0, i), Signal(1, i)), gains.At(Pack(scaleL(i), scaleR(i))));
      ASSERT_EQ(y[0], aloneL.ProcessScaled(scaleL(i), Signal(0, i))) << i;
      ASSERT_EQ(y[1], aloneR.ProcessScaled(scaleR(i), Signal(1, i))) << i;
    }
  }
  EXPECT_EQ(left.Output(), aloneL.Output());
  EXPECT_EQ(right.Output(), aloneR.Output());

  // Left only: the right lane repeats the left stage and the right stage keeps its state.
  AllpassStage &leftOnly = stages[4], &untouched = stages[5];
  untouched.Process(0.3);
  const double before = untouched.Output();
  {
    StereoAllpass pair(leftOnly, untouched, true);
    for (int i = 0; i < 500; ++i) {
      const StereoPair y = pair.Process(Splat(Signal(0, i)));
      EXPECT_EQ(y[0], y[1]);
    }
  }
  EXPECT_EQ(untouched.Output(), before);
}

// The drive curve as written with branches, the form the branch-free one must reproduce.
double BranchingDriveCurve(double x) {
  const auto bezier = [x](double x0, double x1, double x2, double y0, double y1, double y2) {
    if (x <= x0) return y0;
    if (x >= x2) return y2;
    const double h = x0 - 2.0 * x1 + x2;
    const double b = x1 - x0;
    const double u = (std::sqrt(b * b - (x0 - x) * h) - b) / h;
    return ((1.0 - u) * 2.0 * y1 + u * y2) * u + (1.0 - u) * (1.0 - u) * y0;
  };
  if (x <= -1.0) return -1.0 - (x + 1.0) / 0.75 * -0.03125;
  if (x < 0.0) return bezier(-1.0, -0.25, 0.0, -1.0, -0.96875, 0.0);
  if (x < 1.0) return bezier(0.0, 0.21774193548387, 1.0, 0.0, 0.84375, 0.875);
  return (x - 1.0) / 0.78225806451613 * 0.03125 + 0.875;
}

TEST(StereoProcessingTest, BranchFreeDriveCurveMatchesTheBranchingOne) {
  std::vector<double> points{-0.0,
                             0.0,
                             1.0,
                             -1.0,
                             1e-300,
                             -1e-300,
                             0.9999999999999999,
                             -0.9999999999999999,
                             1e300,
                             -1e300,
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity()};
  for (int i = -3000; i <= 3000; ++i) points.push_back(i * 0.001 + 0.0003);
  for (size_t k = 0; k + 1 < points.size(); k += 2) {
    const StereoPair y = DriveCurve(Pack(points[k], points[k + 1]));
    for (int lane = 0; lane < 2; ++lane) {
      const double expected = BranchingDriveCurve(points[k + lane]);
      ASSERT_EQ(y[lane], expected) << points[k + lane];
      ASSERT_EQ(std::signbit(y[lane]), std::signbit(expected)) << points[k + lane];
    }
  }
  EXPECT_TRUE(std::isnan(DriveCurve(std::numeric_limits<double>::quiet_NaN())));
}

// Blocks prepared ahead against the stage run one sample at a time, with and without super
// stereo (where the right chain must keep still).
TEST(StereoProcessingTest, PreparedBlocksMatchSampleBySampleProcessing) {
  for (const bool superStereo : {true, false}) {
    Phaser block, single;
    Chorus chorusBlock, chorusSingle;
    for (Phaser* p : {&block, &single}) {
      p->Reset(48000.0);
      p->SetFrequency1(2500.0);
      p->SetFrequency2(300.0);
      p->SetFrequency3(9000.0);
      p->SetFeedback(0.6);
      p->SetSuperStereo(superStereo);
    }
    for (Chorus* c : {&chorusBlock, &chorusSingle}) {
      c->Reset(48000.0);
      c->SetSpread(0.8);
      c->SetSuperStereo(superStereo);
    }
    constexpr int n = 256;
    std::array<double, n> m1, m2, m3, wet, delay, l, r;
    for (int start = 0; start < 8 * n; start += n) {
      for (int i = 0; i < n; ++i) {
        const int t = start + i;
        m1[i] = std::sin(0.002 * t);
        m2[i] = i % 3 == 0 ? m1[i] : -0.5 * m1[i];  // sometimes shared
        m3[i] = i % 4 == 0 ? m2[i] : 0.9;           // sometimes held
        wet[i] = 0.5 + 0.4 * std::cos(0.003 * t);
        delay[i] = 20.0 + 15.0 * std::sin(0.001 * t);
        l[i] = Signal(0, t);
        r[i] = Signal(1, t);
      }
      block.PrepareBlock(m1.data(), m2.data(), m3.data(), n);
      chorusBlock.PrepareBlock(delay.data(), n);
      StereoPhaser phaser(block);
      StereoChorus chorus(chorusBlock);
      for (int i = 0; i < n; ++i) {
        const StereoPair y = chorus.Process(phaser.Process(Pack(l[i], r[i]), wet[i]), 1.0 - wet[i]);
        single.SetWet(wet[i]);
        ProcessSample(single, l[i], r[i], m1[i], m2[i], m3[i]);
        chorusSingle.SetWet(1.0 - wet[i]);
        chorusSingle.SetDelay(delay[i]);
        ProcessSample(chorusSingle, l[i], r[i]);
        ASSERT_EQ(y[0], l[i]) << superStereo << " " << start + i;
        ASSERT_EQ(y[1], r[i]) << superStereo << " " << start + i;
      }
    }
  }
}

// Without super stereo the chain treats both channels alike, so swapping the inputs must swap
// the outputs exactly: a lane mixed up anywhere in the paired path would show.
TEST(StereoProcessingTest, EngineSwapsItsOutputsWithItsInputs) {
  std::array<double, kParamCount> v = testSupport::ParameterSet().PlainValues();
  const auto set = [&v](ParamIndex p, double x) { v[static_cast<size_t>(ToIndex(p))] = x; };
  set(ParamIndex::CutoffFilterEnable, 1.0);
  set(ParamIndex::CutoffFilterShape, 2.0);
  set(ParamIndex::Resonance, 0.5);
  set(ParamIndex::CutoffFilterModSource, static_cast<double>(ModSource::Lfo1));
  set(ParamIndex::CutoffFilterModStrength, 0.5);
  set(ParamIndex::DriveEnable, 1.0);
  set(ParamIndex::DriveFeedback, 1.0);
  set(ParamIndex::PhaserSuperStereo, 0.0);
  set(ParamIndex::ChorusSuperStereo, 0.0);
  set(ParamIndex::ChorusDelayModSource, static_cast<double>(ModSource::Lfo2));
  set(ParamIndex::ChorusDelayModStrength, 0.6);

  ChannelState channels;
  channels.connectedInputs = channels.connectedOutputs = channels.outputChannels = 2;
  channels.inputMask = channels.outputMask = 3;
  QuorvelEngine straight, swapped;
  straight.OnProcessingReset(v, 44100.0, 128, 120.0);
  swapped.OnProcessingReset(v, 44100.0, 128, 120.0);
  plugkit::TransportInfo transport;
  std::array<double, 128> a, b, outA, outB, swapA, swapB;
  for (int start = 0; start < 40 * 128; start += 128) {
    for (int i = 0; i < 128; ++i) {
      a[i] = Signal(0, start + i) * 0.5;
      b[i] = Signal(1, start + i) * 0.5;
    }
    transport.samplePosition = start;
    const double* in[2] = {a.data(), b.data()};
    const double* inSwapped[2] = {b.data(), a.data()};
    double* out[2] = {outA.data(), outB.data()};
    double* outSwapped[2] = {swapA.data(), swapB.data()};
    straight.ProcessAudioBlock(v, in, out, 128, channels, transport);
    swapped.ProcessAudioBlock(v, inSwapped, outSwapped, 128, channels, transport);
    for (int i = 0; i < 128; ++i) {
      ASSERT_EQ(outA[i], swapB[i]) << start + i;
      ASSERT_EQ(outB[i], swapA[i]) << start + i;
    }
  }
}

}  // namespace
}  // namespace quorvel
