#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "effect/AdsrEnvelope.h"

namespace quorvel {
namespace {

TEST(EnvelopeCurves, CurveAndTables) {
  EXPECT_EQ(EnvelopeCurve(0.0), 0.0);
  EXPECT_NEAR(EnvelopeCurve(0.5), 0.19008, 1e-5);
  EXPECT_DOUBLE_EQ(EnvelopeCurve(0.875), 0.75);
  EXPECT_DOUBLE_EQ(EnvelopeCurve(1.0), 1.0);
  // Slope 4 on both sides of the joint, flat at the end.
  const double h = 1e-7;
  EXPECT_NEAR((EnvelopeCurve(0.875) - EnvelopeCurve(0.875 - h)) / h, 4.0, 1e-4);
  EXPECT_NEAR((EnvelopeCurve(0.875 + h) - EnvelopeCurve(0.875)) / h, 4.0, 1e-4);
  EXPECT_NEAR((EnvelopeCurve(1.0) - EnvelopeCurve(1.0 - h)) / h, 0.0, 1e-5);

  const EnvelopeCurves& c = EnvelopeCurves::Get();
  EXPECT_EQ(&c, &EnvelopeCurves::Get());
  EXPECT_EQ(c.down[0], 0.0f);
  EXPECT_NEAR(c.down[8191], 0.9999998, 1e-7);
  EXPECT_LT(c.down[8191], 1.0f);
  EXPECT_EQ(c.up[0], 1.0f);
  EXPECT_EQ(c.down[7168], 0.75f);
  for (int i = 1; i < kCurveTableSize; ++i) {
    ASSERT_EQ(c.up[i], c.down[kCurveTableSize - i]) << i;
    ASSERT_LE(c.down[i - 1], c.down[i]) << i;
  }
  for (const CurveTable* t : {&c.down, &c.up, &c.inverse})
    for (float v : *t) ASSERT_TRUE(v >= 0.0f && v <= 1.0f);
}

TEST(EnvelopeCurves, InverseIsMonotoneAndMapsLevelsBack) {
  const EnvelopeCurves& c = EnvelopeCurves::Get();
  EXPECT_EQ(c.inverse[0], 1.0f);
  EXPECT_EQ(c.inverse[8191], 0.0f);
  for (int k = 1; k < kCurveTableSize; ++k) ASSERT_LE(c.inverse[k], c.inverse[k - 1]) << k;
  // The attack position found for a level plays (nearly) that level again.
  for (int k = 0; k < kCurveTableSize; k += 7) {
    const double level = k / 8191.0;
    const double pos = c.inverse[k];
    const float played = c.up[static_cast<std::size_t>(pos * 8191)];
    ASSERT_NEAR(played, level, 0.002) << k;
  }
}

std::vector<double> TickFor(AdsrEnvelope& adsr, int count) {
  std::vector<double> out;
  for (int i = 0; i < count; ++i) out.push_back(adsr.Tick());
  return out;
}

TEST(AdsrEnvelope, StagesTakeTheirTimes) {
  AdsrEnvelope adsr;
  adsr.Reset(48000.0);
  adsr.Configure(100.0, 200.0, 0.5, 300.0);
  EXPECT_EQ(adsr.Tick(), 0.0);  // silent until triggered
  adsr.NoteOn();

  // Attack 4800 samples to the top, decay 9600 to the sustain level.
  const auto attack = TickFor(adsr, 4800);
  for (std::size_t i = 1; i < attack.size(); ++i) ASSERT_GE(attack[i], attack[i - 1]);
  EXPECT_NEAR(attack.back(), 1.0, 1e-3);
  EXPECT_LT(attack[2399], 0.25);
  const auto decay = TickFor(adsr, 9601);
  EXPECT_NEAR(decay[0], 1.0, 1e-3);
  EXPECT_NEAR(decay[9599], 0.5, 1e-3);
  EXPECT_GT(decay[4800], 0.5);
  EXPECT_TRUE(adsr.IsSustaining());
  EXPECT_EQ(adsr.Tick(), 0.5);

  // A new sustain level applies at once while sustaining.
  adsr.Configure(100.0, 200.0, 0.6, 300.0);
  EXPECT_EQ(adsr.Tick(), 0.6);

  // Release 14400 samples from the level reached down to silence.
  adsr.NoteOff();
  const auto release = TickFor(adsr, 14400);
  EXPECT_NEAR(release[0], 0.6, 1e-3);
  EXPECT_NEAR(release[7199], 0.6 * EnvelopeCurve(0.5), 1e-3);
  EXPECT_EQ(release.back(), 0.0);
  EXPECT_FALSE(adsr.IsActive());
  EXPECT_GT(release[14398], 0.0);
}

TEST(AdsrEnvelope, ShortSegmentsAndZeroSustain) {
  AdsrEnvelope adsr;
  adsr.Reset(48000.0);
  // No attack and no decay: a 4 ms rise straight to the sustain level.
  adsr.Configure(0.0, 0.0, 0.75, 10.0);
  adsr.NoteOn();
  const auto rise = TickFor(adsr, 193);
  EXPECT_NEAR(rise[191], 0.75, 1e-3);
  EXPECT_LT(rise[95], 0.75 * 0.25);
  EXPECT_EQ(rise[192], 0.75);
  EXPECT_TRUE(adsr.IsSustaining());

  // Tiny times still last 4 ms.
  adsr.Reset(48000.0);
  adsr.Configure(0.5, 0.0, 0.0, 1.0);
  adsr.NoteOn();
  const auto shortAttack = TickFor(adsr, 192);
  EXPECT_LT(shortAttack[100], 0.9);
  EXPECT_NEAR(shortAttack[191], 1.0, 1e-3);

  // Sustain 0 ends the envelope after the decay, gate still open.
  const auto decay = TickFor(adsr, 193);
  EXPECT_NEAR(decay[191], 0.0, 1e-3);
  EXPECT_EQ(decay[192], 0.0);
  EXPECT_FALSE(adsr.IsActive());
  EXPECT_EQ(adsr.Tick(), 0.0);
}

TEST(AdsrEnvelope, RetriggerDuringReleaseResumesFromTheCurrentLevel) {
  for (int releaseTicks : {1, 50, 700, 2000, 4000, 6000, 9000, 11000, 13000, 14000}) {
    AdsrEnvelope adsr;
    adsr.Reset(48000.0);
    adsr.Configure(400.0, 1000.0, 0.8, 300.0);
    adsr.NoteOn();
    TickFor(adsr, 19200 + 48000 + 10);
    adsr.NoteOff();
    const double before = TickFor(adsr, releaseTicks).back();
    adsr.NoteOn();
    const double after = adsr.Tick();
    // One attack step at the steepest point of the curve moves the level by about
    // 4 / (0.4 · 48000); a jump would be far larger.
    EXPECT_NEAR(after, before, 4e-3) << releaseTicks;
    EXPECT_GE(after, before - 1e-4) << releaseTicks;
    // The rest of the attack still reaches the top.
    const auto rest = TickFor(adsr, 19200);
    EXPECT_NEAR(*std::max_element(rest.begin(), rest.end()), 1.0, 1e-3);
  }
}

TEST(AdsrEnvelope, ResetSilencesButKeepsSettings) {
  AdsrEnvelope adsr;
  adsr.Configure(10.0, 10.0, 0.5, 10.0);
  adsr.NoteOn();
  TickFor(adsr, 300);
  adsr.Reset(96000.0);
  EXPECT_FALSE(adsr.IsActive());
  EXPECT_EQ(adsr.Level(), 0.0);
  EXPECT_EQ(adsr.Tick(), 0.0);
  // Same settings at the new rate: 10 ms attack is 960 samples.
  adsr.NoteOn();
  const auto attack = TickFor(adsr, 960);
  EXPECT_NEAR(attack.back(), 1.0, 1e-3);
  EXPECT_LT(attack[479], 0.25);

  // A note-off from silence ends at once.
  AdsrEnvelope idle;
  idle.NoteOff();
  EXPECT_FALSE(idle.IsActive());
}

}  // namespace
}  // namespace quorvel
