#include "effect/ModulationSources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace quorvel {
namespace {

class ModulationSourcesTest : public ::testing::Test {
protected:
    static constexpr double kRate = 48000.0;
    static constexpr std::size_t kBlock = 500;

    ModulationSourcesTest()
    {
        Set(ParamIndex::EnvFollowerSpeed, 0.25);
        Set(ParamIndex::EnvFollowerFloor, -18.0);
        Set(ParamIndex::EnvFollowerCeiling, -3.0);
        Set(ParamIndex::AdsrGateOnThreshold, -12.0);
        Set(ParamIndex::AdsrGateHysteresis, 3.0);
        Set(ParamIndex::AdsrAttack, 0.01);
        Set(ParamIndex::AdsrDecay, 0.01);
        Set(ParamIndex::AdsrSustain, 0.75);
        Set(ParamIndex::AdsrRelease, 0.01);
        sources.EnsureBuffers(kBlock);
        Refresh();
        sources.ResetRestarts();
        sources.ResetDsp(kRate);
    }

    void Set(ParamIndex p, double v) { values[static_cast<std::size_t>(ToIndex(p))] = v; }
    void Refresh(double tempo = 120.0)
    {
        sources.ApplySourceSettings(values);
        sources.ConfigureLfos(values, kRate, tempo);
    }
    // One block in the order the process block drives the sources.
    void Block(double position, std::size_t n, double detector = 0.0, double trim = 1.0)
    {
        det.assign(n, detector);
        Refresh();
        sources.RealignLfoRestarts(position, n);
        sources.RenderLfos(n);
        sources.GenerateModSources(det.data(), det.data(), n, trim);
        sources.RenderSlowLfos(n);
        sources.AdvanceLfos(n);
    }

    std::array<double, kParamCount> values{};
    ModulationSources sources;
    std::vector<double> det;
};

TEST_F(ModulationSourcesTest, SettingsRatesAndSyncPeriods)
{
    EXPECT_DOUBLE_EQ(sources.Follower().AttackCoefficient(), std::exp(-1.0 / (0.04 * kRate)));
    EXPECT_DOUBLE_EQ(sources.Follower().ReleaseCoefficient(), std::exp(-1.0 / (0.4 * kRate)));
    EXPECT_NEAR(sources.GateOnLevel(), 0.251189, 1e-6);
    EXPECT_NEAR(sources.GateOffLevel(), 0.177828, 1e-6);

    // Free running: rate 0.5 is 4 Hz, the slow copy 2 Hz; shapes round, slow copies stay
    // triangles.
    Set(ParamIndex::Lfo1Rate, 0.5);
    Set(ParamIndex::Lfo1Shape, 2.5);
    Set(ParamIndex::Lfo2Shape, 9.0);
    Refresh();
    EXPECT_DOUBLE_EQ(sources.Lfo(LfoId::Lfo1).Increment(), 4.0 / kRate);
    EXPECT_DOUBLE_EQ(sources.Lfo(LfoId::SlowLfo1).Increment(), 2.0 / kRate);
    EXPECT_EQ(sources.RestartPeriod(LfoId::Lfo1), 0);
    EXPECT_EQ(&sources.Lfo(LfoId::Lfo1).Table(), &GetWaveTable(WaveShape::Saw));
    EXPECT_EQ(&sources.Lfo(LfoId::Lfo2).Table(), &GetWaveTable(WaveShape::Square));
    EXPECT_EQ(&sources.Lfo(LfoId::SlowLfo1).Table(), &GetWaveTable(WaveShape::Triangle));

    // Eight factors of the beat rate spread evenly over the knob travel (√v).
    EXPECT_DOUBLE_EQ(SyncedRate(0.0, 2.0), 1.0);
    EXPECT_DOUBLE_EQ(SyncedRate(0.05, 2.0), 4.0 / 3.0);
    EXPECT_DOUBLE_EQ(SyncedRate(0.5, 2.0), 6.0);
    EXPECT_DOUBLE_EQ(SyncedRate(0.99, 2.0), 12.0);
    EXPECT_DOUBLE_EQ(SyncedRate(1.0, 2.0), 16.0);

    // 120 bpm, factor 3: a cycle lasts a third of a second, the slow copy's twice that.
    Set(ParamIndex::Lfo1TempoSync, 1.0);
    for (double tempo : {120.0, 0.0, -5.0, double(NAN), double(INFINITY)}) {
        Refresh(tempo); // no usable tempo means 120
        EXPECT_EQ(sources.RestartPeriod(LfoId::Lfo1), 16000) << tempo;
        EXPECT_EQ(sources.RestartPeriod(LfoId::SlowLfo1), 32000) << tempo;
    }
    Refresh(90.0);
    EXPECT_EQ(sources.RestartPeriod(LfoId::Lfo1), 21332); // 2 · trunc(48000 / 4.5)
    Refresh(1e-300);
    EXPECT_EQ(sources.RestartPeriod(LfoId::Lfo1), 2147483647);
}

TEST_F(ModulationSourcesTest, SyncedRestartsAlignToTheHostPosition)
{
    Set(ParamIndex::Lfo1TempoSync, 1.0);
    Set(ParamIndex::Lfo1Rate, 0.5); // period 16000, a multiple of the block
    sources.Lfo(LfoId::Lfo1).Advance(4321);
    for (int b = 0; b < 100; ++b) {
        const double pos = 80000.0 + b * static_cast<double>(kBlock);
        Block(pos, kBlock);
        const double expected = std::fmod(pos + kBlock, 16000.0) / 16000.0;
        ASSERT_NEAR(sources.Lfo(LfoId::Lfo1).Phase(), expected, 1e-9) << b;
    }
    // A jump realigns at once: the next restart is the last sample of a block that starts on
    // a whole number of periods.
    Block(1234567.0, kBlock);
    const double restartAt = 1234567.0 + kBlock + sources.RestartCounter(LfoId::Lfo1) - 1;
    EXPECT_EQ(std::fmod(restartAt - (kBlock - 1), 16000.0), 0.0);

    // Without a host position the counters run freely: restarts every period (the slow copy
    // every two), the first on the first sample.
    Set(ParamIndex::Lfo2TempoSync, 1.0);
    Set(ParamIndex::Lfo2Rate, 1.0); // factor 8: period 6000
    sources.ResetRestarts();
    std::vector<int> fast;
    std::vector<int> slow;
    for (int sample = 0; sample < 30000; ++sample) {
        Block(-1.0, 1);
        if (sources.RestartCounter(LfoId::Lfo2) == 6000)
            fast.push_back(sample);
        if (sources.RestartCounter(LfoId::SlowLfo2) == 12000)
            slow.push_back(sample);
    }
    EXPECT_EQ(fast, (std::vector<int>{0, 6000, 12000, 18000, 24000}));
    EXPECT_EQ(slow, (std::vector<int>{0, 12000, 24000}));
}

TEST_F(ModulationSourcesTest, DetectorDrivesFollowerGateAndAdsr)
{
    Set(ParamIndex::EnvFollowerSpeed, 1.0);
    Set(ParamIndex::EnvFollowerFloor, -24.0);
    Set(ParamIndex::EnvFollowerCeiling, 0.0);
    EnvelopeFollower reference;
    reference.SetAttack(10.0);
    reference.SetRelease(100.0);
    reference.SetSampleRate(kRate);

    // The detector mix is 0.75 · trim · (L + R); 0.15 never opens a -12 dB gate.
    Block(-1.0, kBlock, 0.05, 2.0);
    const SourceBuffers s = sources.StandardSources();
    const double floor = std::pow(10.0, -24.0 / 20.0);
    for (std::size_t i = 0; i < kBlock; ++i) {
        const double e = reference.Process(0.75 * 2.0 * (0.05 + 0.05));
        ASSERT_DOUBLE_EQ(s.envFollower[i], std::clamp((e - floor) / (1.0 - floor), 0.0, 1.0));
        ASSERT_EQ(s.adsr[i], 0.0);
    }

    // Full scale mono: the detector sees 1.5, the gate opens and the ADSR sustains.
    for (int b = 0; b < 20; ++b)
        Block(-1.0, kBlock, 1.0);
    EXPECT_NEAR(sources.Follower().Envelope(), 1.5, 1e-6);
    EXPECT_EQ(s.envFollower[kBlock - 1], 1.0);
    EXPECT_EQ(s.adsr[kBlock - 1], 0.75);
    // Silence closes the gate and releases the ADSR to 0.
    for (int b = 0; b < 40; ++b)
        Block(-1.0, kBlock, 0.0);
    EXPECT_FALSE(sources.Gate().IsOpen());
    EXPECT_EQ(s.adsr[kBlock - 1], 0.0);

    // A floor above the ceiling switches between 0 and 1.
    Set(ParamIndex::EnvFollowerFloor, -6.0);
    Set(ParamIndex::EnvFollowerCeiling, -12.0);
    Block(-1.0, kBlock, 1.0);
    EXPECT_TRUE(std::all_of(s.envFollower, s.envFollower + kBlock,
                            [](double v) { return v == 0.0 || v == 1.0; }));
    EXPECT_EQ(s.envFollower[0], 0.0);
    EXPECT_EQ(s.envFollower[kBlock - 1], 1.0);
}

TEST_F(ModulationSourcesTest, LfoBuffersAreHalvedAndResetKeepsPhases)
{
    Set(ParamIndex::Lfo1Rate, 0.5);
    Set(ParamIndex::Lfo2Rate, 0.25);
    Refresh();
    TableLfo lfo2 = sources.Lfo(LfoId::Lfo2);
    TableLfo slow1 = sources.Lfo(LfoId::SlowLfo1);
    const auto full2 = lfo2.Render(kBlock);
    const auto fullSlow1 = slow1.Render(kBlock);

    det.assign(kBlock, 0.0);
    sources.RenderLfos(kBlock);
    sources.GenerateModSources(det.data(), det.data(), kBlock, 1.0);
    const SourceBuffers chorus = sources.RenderSlowLfos(kBlock);
    EXPECT_EQ(chorus.envFollower, sources.StandardSources().envFollower);
    for (std::size_t i = 0; i < kBlock; ++i) {
        ASSERT_EQ(sources.StandardSources().lfo2[i], 0.5 * full2[i]);
        ASSERT_EQ(chorus.lfo1[i], 0.5 * fullSlow1[i]);
    }
    sources.AdvanceLfos(kBlock);
    EXPECT_DOUBLE_EQ(sources.Lfo(LfoId::Lfo1).Phase(), kBlock * 4.0 / kRate);

    sources.ResetDsp(96000.0);
    EXPECT_DOUBLE_EQ(sources.Lfo(LfoId::Lfo1).Phase(), kBlock * 4.0 / kRate);
    EXPECT_DOUBLE_EQ(sources.Lfo(LfoId::Lfo1).Increment(), 4.0 / 96000.0);
}

} // namespace
} // namespace quorvel
