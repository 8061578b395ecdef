#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "effect/ModulationSources.h"

namespace quorvel {
namespace {

using Values = std::array<double, kParamCount>;

class ModulationSourcesTest : public ::testing::Test {
 protected:
  static constexpr double kRate = 48000.0;

  ModulationSourcesTest() {
    Set(ParamIndex::EnvFollowerSpeed, 0.25);
    Set(ParamIndex::EnvFollowerFloor, -18.0);
    Set(ParamIndex::EnvFollowerCeiling, -3.0);
    Set(ParamIndex::AdsrGateOnThreshold, -12.0);
    Set(ParamIndex::AdsrGateHysteresis, 3.0);
    Set(ParamIndex::AdsrAttack, 0.01);
    Set(ParamIndex::AdsrDecay, 0.01);
    Set(ParamIndex::AdsrSustain, 0.75);
    Set(ParamIndex::AdsrRelease, 0.01);
    Set(ParamIndex::Lfo1Shape, 1.0);
    Set(ParamIndex::Lfo2Shape, 1.0);
    sources.EnsureBuffers(kBlock);
    Refresh();
    sources.ResetRestarts();
    sources.ResetDsp(kRate);
  }

  void Set(ParamIndex p, double v) { values[static_cast<std::size_t>(ToIndex(p))] = v; }

  void Refresh(double tempo = 120.0) {
    sources.ApplySourceSettings(values);
    sources.ConfigureLfos(values, kRate, tempo);
  }

  // One block the way the process block drives the sources.
  void Block(double position, std::size_t n, double detector = 0.0, double trim = 1.0) {
    det.assign(n, detector);
    Refresh();
    sources.RealignLfoRestarts(position, n);
    sources.RenderLfos(n);
    sources.GenerateModSources(det.data(), det.data(), n, trim);
    sources.RenderSlowLfos(n);
    sources.AdvanceLfos(n);
  }

  static constexpr std::size_t kBlock = 500;
  Values values{};
  ModulationSources sources;
  std::vector<double> det;
};

TEST_F(ModulationSourcesTest, SettingsReachFollowerGateAndThresholds) {
  EXPECT_DOUBLE_EQ(sources.Follower().AttackCoefficient(), std::exp(-1.0 / (0.04 * kRate)));
  EXPECT_DOUBLE_EQ(sources.Follower().ReleaseCoefficient(), std::exp(-1.0 / (0.4 * kRate)));
  EXPECT_NEAR(sources.GateOnLevel(), 0.251189, 1e-6);
  EXPECT_NEAR(sources.GateOffLevel(), 0.177828, 1e-6);
  EXPECT_NEAR(sources.EnvFloor(), 0.125893, 1e-6);
  EXPECT_NEAR(sources.EnvCeiling(), 0.707946, 1e-6);

  Set(ParamIndex::EnvFollowerSpeed, 1.0);
  Set(ParamIndex::AdsrGateHold, 10.0);
  Refresh();
  EXPECT_DOUBLE_EQ(sources.Follower().AttackCoefficient(), std::exp(-1.0 / (0.01 * kRate)));
  EXPECT_DOUBLE_EQ(sources.Follower().ReleaseCoefficient(), std::exp(-1.0 / (0.1 * kRate)));
  EXPECT_EQ(sources.Gate().HoldSamples(), 480);
}

TEST_F(ModulationSourcesTest, FreeAndSyncedRates) {
  // Free running: rate 0.5 is 4 Hz, its slow copy 2 Hz; no restarts.
  Set(ParamIndex::Lfo1Rate, 0.5);
  Refresh();
  EXPECT_DOUBLE_EQ(sources.Lfo(LfoId::Lfo1).Increment(), 4.0 / kRate);
  EXPECT_DOUBLE_EQ(sources.Lfo(LfoId::SlowLfo1).Increment(), 2.0 / kRate);
  EXPECT_EQ(sources.RestartPeriod(LfoId::Lfo1), 0);

  // Eight sync factors spread over the knob travel (√v is the knob position).
  const double bps = 2.0;
  EXPECT_DOUBLE_EQ(SyncedRate(0.0, bps), 1.0);
  EXPECT_DOUBLE_EQ(SyncedRate(0.05, bps), 4.0 / 3.0);
  EXPECT_DOUBLE_EQ(SyncedRate(0.1, bps), 2.0);
  EXPECT_DOUBLE_EQ(SyncedRate(0.2, bps), 4.0);
  EXPECT_DOUBLE_EQ(SyncedRate(0.5, bps), 6.0);
  EXPECT_DOUBLE_EQ(SyncedRate(0.99, bps), 12.0);
  EXPECT_DOUBLE_EQ(SyncedRate(1.0, bps), 16.0);
  EXPECT_DOUBLE_EQ(SyncedRate(7.0, bps), 16.0);
  EXPECT_DOUBLE_EQ(SyncedRate(-1.0, bps), 1.0);
  EXPECT_DOUBLE_EQ(SyncedRate(NAN, bps), 1.0);

  // 120 bpm, factor 3: a cycle lasts a third of a second, the slow copy twice as long.
  Set(ParamIndex::Lfo1TempoSync, 1.0);
  Refresh(120.0);
  EXPECT_EQ(sources.RestartPeriod(LfoId::Lfo1), 16000);
  EXPECT_EQ(sources.RestartPeriod(LfoId::SlowLfo1), 32000);
  EXPECT_EQ(sources.RestartPeriod(LfoId::Lfo2), 0);
  EXPECT_DOUBLE_EQ(sources.Lfo(LfoId::Lfo1).Increment(), 1.0 / 16000.0);
  // No usable tempo from the host means 120.
  for (double tempo : {0.0, -5.0, double(NAN), double(INFINITY)}) {
    Refresh(tempo);
    EXPECT_EQ(sources.RestartPeriod(LfoId::Lfo1), 16000) << tempo;
  }
  Refresh(90.0);
  EXPECT_EQ(sources.RestartPeriod(LfoId::Lfo1), 21332);  // 2 · trunc(48000 / 4.5)
  // Absurdly slow tempos saturate the period instead of overflowing.
  Refresh(1e-300);
  EXPECT_EQ(sources.RestartPeriod(LfoId::Lfo1), 2147483647);
}

TEST_F(ModulationSourcesTest, ShapesRoundToTablesAndSlowCopiesStayTriangles) {
  Set(ParamIndex::Lfo1Shape, 2.5);
  Set(ParamIndex::Lfo2Shape, 9.0);
  Refresh();
  EXPECT_EQ(&sources.Lfo(LfoId::Lfo1).Table(), &GetWaveTable(WaveShape::Saw));
  EXPECT_EQ(&sources.Lfo(LfoId::Lfo2).Table(), &GetWaveTable(WaveShape::Square));
  EXPECT_EQ(&sources.Lfo(LfoId::SlowLfo1).Table(), &GetWaveTable(WaveShape::Triangle));
  EXPECT_EQ(&sources.Lfo(LfoId::SlowLfo2).Table(), &GetWaveTable(WaveShape::Triangle));
  Set(ParamIndex::Lfo1Shape, -0.4);
  Refresh();
  EXPECT_EQ(&sources.Lfo(LfoId::Lfo1).Table(), &GetWaveTable(WaveShape::Sine));
}

TEST_F(ModulationSourcesTest, SyncedRestartsAlignToTheHostPosition) {
  Set(ParamIndex::Lfo1TempoSync, 1.0);
  Set(ParamIndex::Lfo1Rate, 0.5);          // period 16000, a multiple of the block
  sources.Lfo(LfoId::Lfo1).Advance(4321);  // start out of phase
  const double start = 5.0 * 16000.0;
  for (int b = 0; b < 100; ++b) {
    const double pos = start + b * static_cast<double>(kBlock);
    Block(pos, kBlock);
    const double next = pos + kBlock;
    ASSERT_NEAR(sources.Lfo(LfoId::Lfo1).Phase(), std::fmod(next, 16000.0) / 16000.0, 1e-9) << b;
  }

  // A jump of the host position realigns at once: the next restart falls on the last sample
  // of a block starting on a whole number of periods, as in the aligned case above.
  Block(1234567.0, kBlock);
  const double restartAt = 1234567.0 + kBlock + sources.RestartCounter(LfoId::Lfo1) - 1;
  EXPECT_EQ(std::fmod(restartAt - (kBlock - 1), 16000.0), 0.0);
}

TEST_F(ModulationSourcesTest, WithoutHostPositionRestartsFollowThePeriod) {
  Set(ParamIndex::Lfo1TempoSync, 1.0);
  Set(ParamIndex::Lfo1Rate, 0.5);
  Set(ParamIndex::Lfo2TempoSync, 1.0);
  Set(ParamIndex::Lfo2Rate, 1.0);  // factor 8: period 6000
  Refresh();
  EXPECT_EQ(sources.RestartPeriod(LfoId::Lfo2), 6000);
  EXPECT_EQ(sources.RestartPeriod(LfoId::SlowLfo2), 12000);

  // Counters start at 0: every oscillator restarts on the first sample, then once per
  // period; the slow copies every two periods. A restart reloads the counter.
  std::vector<int> restartsLfo2;
  std::vector<int> restartsSlow2;
  for (int sample = 0; sample < 30000; ++sample) {
    Block(-1.0, 1);
    if (sources.RestartCounter(LfoId::Lfo2) == 6000) restartsLfo2.push_back(sample);
    if (sources.RestartCounter(LfoId::SlowLfo2) == 12000) restartsSlow2.push_back(sample);
  }
  ASSERT_GE(restartsLfo2.size(), 5u);
  EXPECT_EQ(restartsLfo2[0], 0);
  for (std::size_t k = 1; k < restartsLfo2.size(); ++k)
    EXPECT_EQ(restartsLfo2[k] - restartsLfo2[k - 1], 6000);
  EXPECT_EQ(restartsLfo2.size(), 5u);
  ASSERT_EQ(restartsSlow2.size(), 3u);
  EXPECT_EQ(restartsSlow2[0], 0);
  EXPECT_EQ(restartsSlow2[2], 24000);
}

TEST_F(ModulationSourcesTest, DetectorDrivesFollowerGateAndAdsr) {
  Set(ParamIndex::EnvFollowerSpeed, 1.0);
  Set(ParamIndex::EnvFollowerFloor, -24.0);
  Set(ParamIndex::EnvFollowerCeiling, 0.0);
  Refresh();
  EnvelopeFollower reference;
  reference.SetAttack(10.0);
  reference.SetRelease(100.0);
  reference.SetSampleRate(kRate);

  // A quiet mono detector: mixed as 0.75 · trim · (L + R).
  const double x = 0.05;
  const double trim = 2.0;
  Block(-1.0, kBlock, x, trim);
  const SourceBuffers s = sources.StandardSources();
  const double floor = std::pow(10.0, -24.0 / 20.0);
  for (std::size_t i = 0; i < kBlock; ++i) {
    const double e = reference.Process(0.75 * trim * (x + x));
    ASSERT_DOUBLE_EQ(s.envFollower[i], std::clamp((e - floor) / (1.0 - floor), 0.0, 1.0));
    ASSERT_EQ(s.adsr[i], 0.0);  // 0.15 never opens a -12 dB gate
  }
  EXPECT_FALSE(sources.Gate().IsOpen());

  // Full scale: the detector sees 1.5; follower pinned at 1, gate opens, ADSR rises.
  for (int b = 0; b < 20; ++b) Block(-1.0, kBlock, 1.0, 1.0);
  EXPECT_NEAR(sources.Follower().Envelope(), 1.5, 1e-6);
  EXPECT_EQ(sources.StandardSources().envFollower[kBlock - 1], 1.0);
  EXPECT_TRUE(sources.Gate().IsOpen());
  EXPECT_NEAR(sources.StandardSources().adsr[kBlock - 1], 0.75, 1e-9);  // sustaining

  // Silence closes the gate and releases the ADSR to 0.
  for (int b = 0; b < 40; ++b) Block(-1.0, kBlock, 0.0, 1.0);
  EXPECT_FALSE(sources.Gate().IsOpen());
  EXPECT_EQ(sources.StandardSources().adsr[kBlock - 1], 0.0);
  EXPECT_FALSE(sources.Adsr().IsActive());

  // A floor above the ceiling switches between 0 and 1.
  Set(ParamIndex::EnvFollowerFloor, -6.0);
  Set(ParamIndex::EnvFollowerCeiling, -12.0);
  Block(-1.0, kBlock, 1.0, 1.0);
  const double* env = sources.StandardSources().envFollower;
  for (std::size_t i = 0; i < kBlock; ++i) ASSERT_TRUE(env[i] == 0.0 || env[i] == 1.0);
  EXPECT_EQ(env[0], 0.0);
  EXPECT_EQ(env[kBlock - 1], 1.0);
}

TEST_F(ModulationSourcesTest, LfoBuffersAreHalvedAndResetKeepsPhases) {
  Set(ParamIndex::Lfo1Rate, 0.5);
  Set(ParamIndex::Lfo2Rate, 0.25);
  Set(ParamIndex::Lfo2Shape, 0.0);
  Refresh();
  TableLfo lfo1 = sources.Lfo(LfoId::Lfo1);
  TableLfo lfo2 = sources.Lfo(LfoId::Lfo2);
  TableLfo slow1 = sources.Lfo(LfoId::SlowLfo1);
  const auto full1 = lfo1.Render(kBlock);
  const auto full2 = lfo2.Render(kBlock);
  const auto fullSlow1 = slow1.Render(kBlock);

  det.assign(kBlock, 0.0);
  sources.RenderLfos(kBlock);
  sources.GenerateModSources(det.data(), det.data(), kBlock, 1.0);
  const SourceBuffers s = sources.StandardSources();
  const SourceBuffers chorus = sources.RenderSlowLfos(kBlock);
  EXPECT_EQ(chorus.envFollower, s.envFollower);
  EXPECT_EQ(chorus.adsr, s.adsr);
  for (std::size_t i = 0; i < kBlock; ++i) {
    ASSERT_EQ(s.lfo1[i], 0.5 * full1[i]);
    ASSERT_EQ(s.lfo2[i], 0.5 * full2[i]);
    ASSERT_EQ(chorus.lfo1[i], 0.5 * fullSlow1[i]);
  }
  sources.AdvanceLfos(kBlock);
  EXPECT_DOUBLE_EQ(sources.Lfo(LfoId::Lfo1).Phase(), kBlock * 4.0 / kRate);

  // A sample-rate reset keeps the phases and rescales the increments.
  sources.ResetDsp(96000.0);
  EXPECT_DOUBLE_EQ(sources.Lfo(LfoId::Lfo1).Phase(), kBlock * 4.0 / kRate);
  EXPECT_DOUBLE_EQ(sources.Lfo(LfoId::Lfo1).Increment(), 4.0 / 96000.0);
  EXPECT_FALSE(sources.Gate().IsOpen());
}

}  // namespace
}  // namespace quorvel
