#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "effect/TableLfo.h"

namespace quorvel {
namespace {

TEST(WaveTables, EntriesFollowTheirShapes) {
  const WaveTable& sine = GetWaveTable(WaveShape::Sine);
  const WaveTable& tri = GetWaveTable(WaveShape::Triangle);
  const WaveTable& nonlinear = GetWaveTable(WaveShape::Nonlinear);
  const WaveTable& saw = GetWaveTable(WaveShape::Saw);
  const WaveTable& square = GetWaveTable(WaveShape::Square);

  EXPECT_EQ(sine[0], 0.0f);
  EXPECT_EQ(sine[2048], 1.0f);
  EXPECT_EQ(sine[6144], -1.0f);
  EXPECT_FLOAT_EQ(sine[1000], static_cast<float>(std::sin(1000 * 2.0 * M_PI / 8192)));

  EXPECT_EQ(tri[0], 0.0f);
  EXPECT_EQ(tri[1024], 0.5f);
  EXPECT_EQ(tri[2048], 1.0f);
  EXPECT_EQ(tri[4096], 0.0f);
  EXPECT_EQ(tri[6144], -1.0f);
  EXPECT_EQ(tri[8191], -4.0f / 8192);

  // The bent triangle keeps its extremes and zero crossings move.
  EXPECT_NEAR(nonlinear[0], -0.24621, 1e-5);
  EXPECT_FLOAT_EQ(nonlinear[2048], 1.0f);
  EXPECT_FLOAT_EQ(nonlinear[6144], -1.0f);

  EXPECT_EQ(saw[0], 0.0f);
  EXPECT_EQ(saw[32], 0.5f);
  EXPECT_EQ(saw[64], 1.0f);
  EXPECT_EQ(saw[4096], 0.0f);
  EXPECT_EQ(saw[8128], -1.0f);
  EXPECT_EQ(saw[8160], -0.5f);

  EXPECT_EQ(square[0], 0.0f);
  EXPECT_EQ(square[64], 1.0f);
  EXPECT_EQ(square[4032], 1.0f);
  EXPECT_EQ(square[4096], 0.0f);
  EXPECT_EQ(square[4160], -1.0f);
  EXPECT_EQ(square[8128], -1.0f);

  for (int shape = 0; shape < kWaveShapeCount; ++shape)
    for (float v : GetWaveTable(shape)) ASSERT_TRUE(v >= -1.0f && v <= 1.0f) << "shape " << shape;

  EXPECT_EQ(&GetWaveTable(-1), &tri);
  EXPECT_EQ(&GetWaveTable(5), &tri);
}

TEST(TableLfo, RenderInterpolatesWithoutMovingThePhase) {
  TableLfo lfo;
  lfo.SetSampleRate(8192.0);
  lfo.SetRate(1.0);  // half a table entry per sample
  const auto values = lfo.Render(4);
  const WaveTable& tri = GetWaveTable(WaveShape::Triangle);
  EXPECT_DOUBLE_EQ(values[0], 0.5 * (tri[0] + tri[1]));
  EXPECT_DOUBLE_EQ(values[1], tri[1]);
  EXPECT_DOUBLE_EQ(values[3], tri[2]);
  EXPECT_EQ(lfo.Phase(), 0.0);

  // Tick walks the same path, and Advance lands where the ticks end.
  TableLfo ticked;
  ticked.SetSampleRate(8192.0);
  ticked.SetRate(1.0);
  for (double v : values) EXPECT_DOUBLE_EQ(ticked.Tick(), v);
  lfo.Advance(4);
  EXPECT_DOUBLE_EQ(lfo.Phase(), ticked.Phase());

  // Peek looks one step ahead, shifted by the offset.
  EXPECT_DOUBLE_EQ(lfo.Peek(0.0), 0.5 * (tri[2] + tri[3]));
  EXPECT_DOUBLE_EQ(lfo.Peek(0.5), 0.5 * (tri[4098] + tri[4099]));
}

TEST(TableLfo, RateChangesAndWrapping) {
  TableLfo lfo;
  lfo.SetTable(GetWaveTable(WaveShape::Nonlinear));
  // Rate 0 holds entry 0.
  for (double v : lfo.Render(16)) EXPECT_DOUBLE_EQ(v, GetWaveTable(WaveShape::Nonlinear)[0]);

  lfo.SetSampleRate(1000.0);
  lfo.SetRate(2.0);  // one cycle per second
  EXPECT_DOUBLE_EQ(lfo.Increment(), 0.001);
  lfo.Advance(1750);
  EXPECT_NEAR(lfo.Phase(), 0.75, 1e-12);
  lfo.SetRate(2.0);
  EXPECT_NEAR(lfo.Phase(), 0.75, 1e-12);  // an unchanged rate keeps the phase
  lfo.SetSampleRate(2000.0);
  EXPECT_DOUBLE_EQ(lfo.Increment(), 0.0005);
  EXPECT_NEAR(lfo.Phase(), 0.75, 1e-12);
  lfo.SetRate(0.0);
  EXPECT_EQ(lfo.Phase(), 0.0);

  // Wrap-around interpolates between the last and the first entry.
  TableLfo saw;
  saw.SetTable(GetWaveTable(WaveShape::Saw));
  saw.SetSampleRate(8192.0);
  saw.SetRate(2.0);
  saw.Advance(8190);
  const auto v = saw.Render(3);
  EXPECT_FLOAT_EQ(static_cast<float>(v[0]), GetWaveTable(WaveShape::Saw)[8191]);
  EXPECT_NEAR(v[1], 0.0, 1e-9);
  EXPECT_LT(saw.Phase(), 1.0);
}

TEST(TableLfo, AbsurdRatesStayInsideTheTable) {
  TableLfo lfo;
  lfo.SetSampleRate(44100.0);
  lfo.SetRate(1e15);
  for (double v : lfo.Render(64)) EXPECT_TRUE(v >= -1.0 && v <= 1.0);
  EXPECT_TRUE(std::isfinite(lfo.Tick()));
  EXPECT_TRUE(std::isfinite(lfo.Peek(0.25)));
  lfo.SetRate(INFINITY);
  lfo.Render(8);
  lfo.Advance(8);
  EXPECT_GE(lfo.Phase(), 0.0);
  EXPECT_LT(lfo.Phase(), 1.0);
}

TEST(TableLfo, PairedTicksEqualTicksAndPeeks) {
  // Ordinary rates, then absurd ones whose phases leave the table.
  for (double rate : {0.37, 1.0, 1e15}) {
    TableLfo paired, single;
    for (TableLfo* lfo : {&paired, &single}) {
      lfo->SetTable(GetWaveTable(WaveShape::Sine));
      lfo->SetSampleRate(48000.0);
      lfo->SetRate(rate);
      lfo->Advance(777);
    }
    std::vector<StereoPair> pairs(300);
    paired.TickPairs(true, 0.25, 150, [&](std::size_t i, StereoPair v) { pairs[i] = v; });
    paired.TickPairs(false, 0.25, 150, [&](std::size_t i, StereoPair v) { pairs[150 + i] = v; });
    for (std::size_t i = 0; i < 300; ++i) {
      const double tick = single.Tick();
      const double peek = single.Peek(0.25);
      ASSERT_EQ(pairs[i][0], tick) << "rate " << rate << " step " << i;
      ASSERT_EQ(pairs[i][1], i < 150 ? peek : tick) << "rate " << rate << " step " << i;
    }
    EXPECT_EQ(paired.Phase(), single.Phase());
  }
}

}  // namespace
}  // namespace quorvel
