#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "effect/BiquadFilter.h"
#include "effect/BrickwallLimiter.h"
#include "effect/QuorvelEngine.h"
#include "effect/SoftClip.h"
#include "tests/effect/ParameterSet.h"

namespace quorvel {
namespace {

using Values = std::array<double, kParamCount>;

constexpr double kRate = 48000.0;
constexpr int kBlock = 256;

// Factory presets are added after the defaults are read, so they leave them as they are.
Values Defaults() { return testSupport::ParameterSet().PlainValues(); }

void Set(Values& v, ParamIndex p, double x) { v[static_cast<size_t>(ToIndex(p))] = x; }

Values AllStagesOff() {
  Values v = Defaults();
  Set(v, ParamIndex::CutoffFilterEnable, 0);
  Set(v, ParamIndex::DriveEnable, 0);
  Set(v, ParamIndex::PhaserEnable, 0);
  Set(v, ParamIndex::ChorusEnable, 0);
  Set(v, ParamIndex::BrickwallLimit, 0);
  return v;
}

std::vector<double> Tone(int n, double amplitude, double hz, double phase = 0.0) {
  std::vector<double> x(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i)
    x[static_cast<size_t>(i)] = amplitude * std::sin(phase + 6.283185307179586 * hz * i / kRate);
  return x;
}

ChannelState Connected(int inputs, int outputs) {
  ChannelState state;
  state.connectedInputs = inputs;
  state.connectedOutputs = outputs;
  state.outputChannels = 2;
  state.inputMask = (std::uint64_t{1} << inputs) - 1;
  state.outputMask = (std::uint64_t{1} << outputs) - 1;
  return state;
}

// One engine fed with whole signals, block by block; the outputs are collected.
struct Harness {
  explicit Harness(const Values& v, int block = kBlock) : values(v), block(block) {
    engine.OnProcessingReset(values, kRate, block, 120.0);
    transport.samplePosition = 0.0;
  }

  // Runs the channels given (empty ones unconnected beyond the count) through the engine.
  void Run(const std::vector<std::vector<double>>& inputs, const ChannelState& channels) {
    const size_t n = inputs.empty() ? 0 : inputs[0].size();
    left.assign(n, 0.0);
    right.assign(n, 0.0);
    for (size_t start = 0; start < n; start += static_cast<size_t>(block)) {
      const int count = static_cast<int>(std::min(n - start, static_cast<size_t>(block)));
      std::array<const double*, 4> in{};
      for (size_t c = 0; c < inputs.size(); ++c) in[c] = inputs[c].data() + start;
      std::array<double*, 2> out{left.data() + start, right.data() + start};
      engine.ProcessAudioBlock(values, in.data(), out.data(), count, channels, transport);
      transport.samplePosition += count;
    }
  }

  Values values;
  int block;
  QuorvelEngine engine;
  plugkit::TransportInfo transport;
  std::vector<double> left, right;
};

TEST(QuorvelEngineTest, AllStagesOffIsTrimHighPassAndOutputGain) {
  Values v = AllStagesOff();
  Set(v, ParamIndex::InputTrim, 6.0);
  Set(v, ParamIndex::HighPassFrequency, 120.0);
  Set(v, ParamIndex::Output, 0.5);
  const std::vector<double> x = Tone(1000, 0.8, 50.0);
  Harness h(v);
  h.Run({x, x}, Connected(2, 2));

  HPF reference;
  reference.SetSampleRate(kRate);
  reference.SetFrequency(120.0);
  const double gain = std::pow(10.0, 6.0 / 20.0);
  for (size_t i = 0; i < x.size(); ++i) {
    const double expected = reference.Process(x[i] * gain) * 0.5;
    ASSERT_EQ(h.left[i], expected) << i;
    ASSERT_EQ(h.right[i], expected) << i;
  }

  // The defaults leave the high-pass at 10 Hz; the limiter bends what exceeds its knee.
  Values limited = AllStagesOff();
  Set(limited, ParamIndex::BrickwallLimit, 1);
  Harness l(limited);
  l.Run({x, x}, Connected(2, 2));
  HPF tenHertz;
  tenHertz.SetSampleRate(kRate);
  tenHertz.SetFrequency(10.0);
  for (size_t i = 0; i < x.size(); ++i)
    ASSERT_EQ(l.left[i], BrickwallCurve(tenHertz.Process(x[i]))) << i;
  EXPECT_GT(l.engine.LimiterIndicator(), 0.25);
}

TEST(QuorvelEngineTest, SoftClipsOnceBeforeThePhaserAndTwiceAfterTheCutoffFilter) {
  // With a dry phaser the stage passes its input unchanged, so only the clipping shows.
  const std::vector<double> x = Tone(2000, 4.0, 220.0);
  for (bool cutoff : {false, true}) {
    Values reference = AllStagesOff();
    Set(reference, ParamIndex::CutoffFilterEnable, cutoff ? 1 : 0);
    Values phased = reference;
    Set(phased, ParamIndex::PhaserEnable, 1);
    Set(phased, ParamIndex::PhaserWet, 0.0);
    Harness plain(reference), clipped(phased);
    plain.Run({x, x}, Connected(2, 2));
    clipped.Run({x, x}, Connected(2, 2));
    int beyondTwo = 0;
    for (size_t i = 0; i < x.size(); ++i) {
      const double once = SoftClip(plain.left[i]);
      ASSERT_EQ(clipped.left[i], cutoff ? SoftClip(once) : once) << i << " cutoff " << cutoff;
      if (std::abs(plain.left[i]) > 2.5) ++beyondTwo;
    }
    EXPECT_GT(beyondTwo, 100);
  }
  EXPECT_NEAR(SoftClip(3.0), 2.7980, 1e-4);
}

TEST(QuorvelEngineTest, MonoInputAndSideChainRouting) {
  const std::vector<double> x = Tone(4096, 0.5, 330.0);
  const std::vector<double> silence(x.size(), 0.0);
  // A mono input is processed as identical left and right.
  Harness mono(Defaults()), stereo(Defaults());
  mono.Run({x}, Connected(1, 2));
  stereo.Run({x, x}, Connected(2, 2));
  EXPECT_EQ(mono.left, stereo.left);
  EXPECT_EQ(mono.right, stereo.right);

  // The output follows the envelope follower, so the detector's signal decides the level.
  Values follow = AllStagesOff();
  Set(follow, ParamIndex::OutputModSource, static_cast<int>(ModSource::EnvFollower));
  Set(follow, ParamIndex::OutputModStrength, 1.0);
  Set(follow, ParamIndex::Output, 0.0);
  Values sidechain = follow;
  Set(sidechain, ParamIndex::SidechainDetector, 1);

  Harness off(follow), onButAbsent(sidechain);
  off.Run({x, x}, Connected(2, 2));
  onButAbsent.Run({x, x}, Connected(2, 2));
  EXPECT_EQ(off.left, onButAbsent.left);
  double loudest = 0.0;
  for (double s : off.left) loudest = std::max(loudest, std::abs(s));
  EXPECT_GT(loudest, 0.05);

  // A silent side-chain closes the output; the switch off ignores it.
  Harness quietSide(sidechain), ignored(follow);
  quietSide.Run({x, x, silence, silence}, Connected(4, 2));
  ignored.Run({x, x, silence, silence}, Connected(4, 2));
  EXPECT_EQ(ignored.left, off.left);
  for (double s : quietSide.left) ASSERT_EQ(s, 0.0);

  // A mono side-chain feeds both detector channels.
  Harness monoSide(sidechain), stereoSide(sidechain);
  monoSide.Run({silence, silence, x}, Connected(3, 2));
  stereoSide.Run({silence, silence, x, x}, Connected(4, 2));
  EXPECT_EQ(monoSide.engine.Sources().Follower().Envelope(),
            stereoSide.engine.Sources().Follower().Envelope());
  EXPECT_GT(monoSide.engine.Sources().Follower().Envelope(), 0.1);
}

TEST(QuorvelEngineTest, NonFiniteSampleSilencesBothChannelsAndSoundReturns) {
  for (double bad :
       {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
    std::vector<double> left = Tone(kBlock * 4, 0.5, 440.0);
    const std::vector<double> right = Tone(kBlock * 4, 0.5, 440.0, 1.0);
    left[kBlock + 10] = bad;
    Harness h(Defaults());
    h.Run({left, right}, Connected(2, 2));
    for (size_t i = 0; i < left.size(); ++i) {
      ASSERT_TRUE(std::isfinite(h.left[i]) && std::isfinite(h.right[i])) << i;
    }
    // An infinity is soft-clipped to a finite value before the phaser; a NaN stays NaN up to the
    // guard, which silences both channels.
    if (std::isnan(bad)) {
      EXPECT_EQ(h.left[kBlock + 10], 0.0);
      EXPECT_EQ(h.right[kBlock + 10], 0.0);
    }
    EXPECT_EQ(h.left[kBlock + 11], 0.0);
    // The phaser and the chorus carry sound again in the next block.
    double energy = 0.0;
    for (size_t i = 2 * kBlock; i < 3 * kBlock; ++i)
      energy += h.left[i] * h.left[i] + h.right[i] * h.right[i];
    EXPECT_GT(energy, 1.0) << bad;
  }
}

TEST(QuorvelEngineTest, EmptyBlocksAndMissingOutputsNeitherProcessNorAdvance) {
  Values v = Defaults();
  const std::vector<double> x = Tone(kBlock, 0.5, 440.0);
  Harness steady(v), interrupted(v);
  steady.Run({x, x}, Connected(2, 2));
  steady.Run({x, x}, Connected(2, 2));

  interrupted.Run({x, x}, Connected(2, 2));
  std::array<const double*, 2> in{x.data(), x.data()};
  std::array<double*, 2> out{interrupted.left.data(), interrupted.right.data()};
  Values cutoffOn = v;
  Set(cutoffOn, ParamIndex::CutoffFilterEnable, 1);
  // A block of length 0 still takes the new settings.
  interrupted.engine.ProcessAudioBlock(cutoffOn, in.data(), out.data(), 0, Connected(2, 2),
                                       interrupted.transport);
  EXPECT_TRUE(interrupted.engine.CutoffOn());
  // Without any output nothing runs, not even the refresh.
  interrupted.engine.ProcessAudioBlock(v, in.data(), out.data(), kBlock, Connected(2, 0),
                                       interrupted.transport);
  EXPECT_TRUE(interrupted.engine.CutoffOn());
  interrupted.engine.ProcessAudioBlock(v, in.data(), out.data(), -5, Connected(2, 2),
                                       interrupted.transport);
  EXPECT_FALSE(interrupted.engine.CutoffOn());
  interrupted.Run({x, x}, Connected(2, 2));
  EXPECT_EQ(interrupted.left, steady.left);
  EXPECT_EQ(interrupted.right, steady.right);
}

TEST(QuorvelEngineTest, OnlyConnectedOutputsAreWrittenAndFurtherOnesSilenced) {
  const std::vector<double> x = Tone(kBlock, 0.5, 440.0);
  std::vector<double> a(kBlock, 7.0), b(kBlock, 7.0), c(kBlock, 7.0);
  std::array<const double*, 2> in{x.data(), x.data()};
  std::array<double*, 3> out{a.data(), b.data(), c.data()};
  ChannelState mono = Connected(1, 1);
  QuorvelEngine engine;
  const Values v = Defaults();
  engine.OnProcessingReset(v, kRate, kBlock, 120.0);
  engine.ProcessAudioBlock(v, in.data(), out.data(), kBlock, mono, {});
  EXPECT_NE(a[100], 7.0);
  EXPECT_EQ(b[100], 7.0);

  ChannelState three = Connected(2, 3);
  three.outputChannels = 3;
  engine.ProcessAudioBlock(v, in.data(), out.data(), kBlock, three, {});
  EXPECT_NE(b[100], 7.0);
  for (double s : c) ASSERT_EQ(s, 0.0);
}

TEST(QuorvelEngineTest, IndicatorsArePublishedAboutEighteenTimesASecond) {
  Values v = AllStagesOff();
  Set(v, ParamIndex::BrickwallLimit, 1);
  Set(v, ParamIndex::InputTrim, 6.0);
  QuorvelEngine engine;
  engine.OnProcessingReset(v, 44100.0, 512, 120.0);
  EXPECT_EQ(engine.PublishPeriod(), 4);
  EXPECT_EQ(engine.Indicators().Load(ControlTag::GateClosedLamp), 1.0);

  const std::vector<double> loud = Tone(512, 0.75, 1000.0);
  const std::vector<double> quiet(512, 0.0);
  std::vector<double> l(512), r(512);
  std::array<double*, 2> out{l.data(), r.data()};
  const ChannelState stereo = Connected(2, 2);
  std::vector<double> lamps;
  for (int block = 0; block < 9; ++block) {
    std::array<const double*, 2> in{block == 0 ? loud.data() : quiet.data(),
                                    block == 0 ? loud.data() : quiet.data()};
    engine.ProcessAudioBlock(v, in.data(), out.data(), 512, stereo, {});
    lamps.push_back(engine.Indicators().Load(ControlTag::LimiterLamp));
  }
  // Published after blocks 1, 5 and 9; the held excess falls by one per second.
  const double peak = lamps[0];
  EXPECT_GT(peak, 0.4);
  EXPECT_EQ(lamps[3], peak);
  EXPECT_NEAR(lamps[4], peak - 4 * 512 / 44100.0, 1e-12);
  EXPECT_EQ(lamps[7], lamps[4]);
  EXPECT_NEAR(lamps[8], peak - 8 * 512 / 44100.0, 1e-12);
  EXPECT_EQ(engine.Indicators().Load(ControlTag::PhaserOnLamp), 0.0);
  EXPECT_EQ(engine.Indicators().Load(ControlTag::OutputModLamp), 1.0);
}

// The engine prepares a block's coefficients several samples at a time and then runs the
// stages sample by sample; a block of one sample takes the single-sample paths throughout.
// Every sample must come out the same either way, with every stage and slot moving. (The
// modulation LFOs step their phase once per block, so the slots follow the other sources.)
TEST(QuorvelEngineTest, BlockSizeDoesNotChangeASingleBit) {
  for (const double shape : {0.0, 1.0, 2.0}) {
    Values v = Defaults();
    Set(v, ParamIndex::CutoffFilterEnable, 1);
    Set(v, ParamIndex::CutoffFilterShape, shape);
    Set(v, ParamIndex::Resonance, 0.6);
    Set(v, ParamIndex::CutoffFilterFrequency, 1500.0);
    Set(v, ParamIndex::CutoffFilterModSource, static_cast<int>(ModSource::Adsr));
    Set(v, ParamIndex::CutoffFilterModStrength, 0.8);
    Set(v, ParamIndex::DriveEnable, 1);
    Set(v, ParamIndex::Drive, 0.4);
    Set(v, ParamIndex::DriveModSource, static_cast<int>(ModSource::EnvFollower));
    Set(v, ParamIndex::DriveModStrength, 0.5);
    Set(v, ParamIndex::ChorusDelayModSource, static_cast<int>(ModSource::EnvFollower));
    Set(v, ParamIndex::ChorusDelayModStrength, 0.7);
    Set(v, ParamIndex::PhaserFrequency1ModSource, static_cast<int>(ModSource::Adsr));
    Set(v, ParamIndex::PhaserFrequency2ModSource, static_cast<int>(ModSource::EnvFollower));
    Set(v, ParamIndex::PhaserFrequency3ModSource, static_cast<int>(ModSource::NoModulation));
    Set(v, ParamIndex::PhaserSuperStereo, shape == 2.0 ? 0 : 1);
    Set(v, ParamIndex::ChorusSuperStereo, shape == 1.0 ? 0 : 1);
    std::vector<double> l = Tone(3000, 0.7, 97.0), r = Tone(3000, 0.5, 151.0, 1.0);
    for (size_t i = 0; i < l.size(); i += 400) l[i] += 1.5;  // something for the follower
    Harness whole(v, 512), single(v, 1);
    whole.Run({l, r}, Connected(2, 2));
    single.Run({l, r}, Connected(2, 2));
    for (size_t i = 0; i < l.size(); ++i) {
      ASSERT_EQ(whole.left[i], single.left[i]) << "shape " << shape << " sample " << i;
      ASSERT_EQ(whole.right[i], single.right[i]) << "shape " << shape << " sample " << i;
    }
  }
}

}  // namespace
}  // namespace quorvel
