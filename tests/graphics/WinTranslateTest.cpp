// What the Win32 window layer derives from the values of window messages: screen scale, wheel
// notches, pen and touch input, key text, paint areas and the pacing of vertical-blank ticks.

#include <gtest/gtest.h>

#include <string>

#include "graphics/platform/WinTranslate.h"

namespace {

using namespace plugkit::gfx;

TEST(WinTranslateTest, ScreenScaleIsTheDpiOver96RoundedHalfAwayFromZero) {
  const struct {
    unsigned dpi;
    float scale;
  } cases[] = {{96, 1.0f},  {120, 1.0f}, {144, 2.0f}, {192, 2.0f}, {240, 3.0f},
               {288, 3.0f}, {48, 1.0f},  {0, 1.0f},   {20, 1.0f}};
  for (const auto& c : cases) EXPECT_EQ(ScreenScaleFromDpi(c.dpi), c.scale) << c.dpi;
}

TEST(WinTranslateTest, WheelGivesWholeNotchesOfTheSignedHighWord) {
  const struct {
    std::uint64_t wParam;
    int notches;
  } cases[] = {{120u << 16, 1},         {0xFF88u << 16, -1},  // -120
               {60u << 16, 0},          {0xFFC4u << 16, 0},   // ±60: half a notch
               {(240u << 16) | 0x8, 2}, {(359u << 16), 2},    // buttons in the low word
               {0x7FFFu << 16, 273},    {0x8000u << 16, -273}};
  for (const auto& c : cases) EXPECT_EQ(WheelNotches(c.wParam), c.notches) << c.wParam;
}

TEST(WinTranslateTest, PenAndTouchAreToldByTheExtraInfoSignature) {
  EXPECT_TRUE(IsPenOrTouchMessage(0xFF515700u));
  EXPECT_TRUE(IsPenOrTouchMessage(0xFF515780u));  // touch sets the low bits
  EXPECT_FALSE(IsPenOrTouchMessage(0));
  EXPECT_FALSE(IsPenOrTouchMessage(0xFF515600u));
}

TEST(WinTranslateTest, KeyTextIsOneCharacterAsUtf8) {
  const struct {
    std::u16string units;
    std::string text;
  } cases[] = {{u"a", "a"}, {u"\u00e9", "\xC3\xA9"}, {u"\u20ac", "\xE2\x82\xAC"}, {u"", ""},
               {u"`a", ""}, {u"\xD83D", ""},         {u"\xD83D\xDE00", ""}};
  for (const auto& c : cases) {
    EXPECT_EQ(KeyTextFromUtf16(c.units.data(), static_cast<int>(c.units.size())), c.text) << c.text;
  }
}

TEST(WinTranslateTest, PaintAreasWidenToWholeUnits) {
  const Rect r = UnitsFromPixels(3, 4, 101, 50, 2.0f);
  EXPECT_EQ(r.L, 1.0f);
  EXPECT_EQ(r.T, 2.0f);
  EXPECT_EQ(r.R, 51.0f);
  EXPECT_EQ(r.B, 25.0f);
  const Rect third = UnitsFromPixels(0, 0, 10, 10, 1.5f);
  EXPECT_EQ(third.R, 7.0f);
}

TEST(WinTranslateTest, LateTicksAreDroppedAndAnOverrunSkipsOneBlank) {
  FramePacer pacer;
  EXPECT_TRUE(pacer.ShouldDraw(5, 5));
  EXPECT_FALSE(pacer.ShouldDraw(5, 6)) << "arrived after the next blank";
  EXPECT_TRUE(pacer.ShouldDraw(6, 6));
  pacer.AfterPaint(6, 7);  // the paint overran a blank
  EXPECT_FALSE(pacer.ShouldDraw(7, 7));
  EXPECT_TRUE(pacer.ShouldDraw(8, 8));
  pacer.AfterPaint(8, 8);
  EXPECT_TRUE(pacer.ShouldDraw(9, 9));
}

}  // namespace
