#include "effect/TableLfo.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quorvel {
namespace {

TEST(WaveTables, EntriesFollowTheirShapes)
{
    const WaveTable& sine = GetWaveTable(WaveShape::Sine);
    const WaveTable& tri = GetWaveTable(WaveShape::Triangle);
    const WaveTable& bent = GetWaveTable(WaveShape::Nonlinear);
    const WaveTable& saw = GetWaveTable(WaveShape::Saw);
    const WaveTable& square = GetWaveTable(WaveShape::Square);

    EXPECT_EQ(sine[2048], 1.0f);
    EXPECT_FLOAT_EQ(sine[1000], static_cast<float>(std::sin(1000 * 2.0 * M_PI / 8192)));
    EXPECT_EQ(tri[6144], -1.0f);
    EXPECT_EQ(tri[8191], -4.0f / 8192);
    EXPECT_NEAR(bent[0], -0.24621, 1e-5);
    EXPECT_FLOAT_EQ(bent[2048], 1.0f);
    EXPECT_FLOAT_EQ(bent[6144], -1.0f);
    // Saw and square fade over 1/128 of the cycle at both ends.
    EXPECT_EQ(saw[32], 0.5f);
    EXPECT_EQ(saw[4096], 0.0f);
    EXPECT_EQ(saw[8160], -0.5f);
    EXPECT_EQ(square[4032], 1.0f);
    EXPECT_EQ(square[4096], 0.0f);
    EXPECT_EQ(square[4160], -1.0f);

    for (int shape = 0; shape < kWaveShapeCount; ++shape) {
        EXPECT_EQ(GetWaveTable(shape)[0], shape == 2 ? bent[0] : 0.0f);
        for (float v : GetWaveTable(shape))
            ASSERT_TRUE(v >= -1.0f && v <= 1.0f) << shape;
    }
    EXPECT_EQ(&GetWaveTable(-1), &tri);
    EXPECT_EQ(&GetWaveTable(5), &tri);
}

TEST(TableLfo, RenderTickPeekAndAdvanceAgree)
{
    const WaveTable& tri = GetWaveTable(WaveShape::Triangle);
    TableLfo lfo;
    lfo.SetSampleRate(8192.0);
    lfo.SetRate(1.0); // half a table entry per sample
    const auto values = lfo.Render(4);
    EXPECT_DOUBLE_EQ(values[0], 0.5 * (tri[0] + tri[1]));
    EXPECT_DOUBLE_EQ(values[3], tri[2]);
    EXPECT_EQ(lfo.Phase(), 0.0); // rendering leaves the phase to Advance

    TableLfo ticked = lfo;
    for (double v : values)
        EXPECT_DOUBLE_EQ(ticked.Tick(), v);
    lfo.Advance(4);
    EXPECT_DOUBLE_EQ(lfo.Phase(), ticked.Phase());
    EXPECT_DOUBLE_EQ(lfo.Peek(0.5), 0.5 * (tri[4098] + tri[4099]));

    // An unchanged rate keeps the phase, rate 0 rewinds it, a new sample rate keeps it.
    lfo.SetRate(1.0);
    EXPECT_DOUBLE_EQ(lfo.Phase(), ticked.Phase());
    lfo.SetSampleRate(4096.0);
    EXPECT_DOUBLE_EQ(lfo.Increment(), 0.5 / 4096.0);
    EXPECT_DOUBLE_EQ(lfo.Phase(), ticked.Phase());
    lfo.SetRate(0.0);
    EXPECT_EQ(lfo.Phase(), 0.0);
    lfo.SetTable(GetWaveTable(WaveShape::Nonlinear));
    for (double v : lfo.Render(8))
        EXPECT_DOUBLE_EQ(v, GetWaveTable(WaveShape::Nonlinear)[0]);

    // The last entry interpolates towards the first.
    TableLfo saw;
    saw.SetTable(GetWaveTable(WaveShape::Saw));
    saw.SetSampleRate(8192.0);
    saw.SetRate(2.0);
    saw.Advance(8190);
    EXPECT_NEAR(saw.Render(2)[1], 0.0, 1e-9);

    // Absurd rates stay inside the table.
    saw.SetRate(1e15);
    for (double v : saw.Render(64))
        ASSERT_TRUE(v >= -1.0 && v <= 1.0);
    saw.SetRate(INFINITY);
    saw.Advance(8);
    EXPECT_TRUE(saw.Phase() >= 0.0 && saw.Phase() < 1.0);
}

} // namespace
} // namespace quorvel
