// What the X11 window layer derives from X's own values: virtual keys, screen scale, double
// clicks.

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include "graphics/platform/X11Translate.h"

namespace {

using plugkit::gfx::DoubleClickDetector;
using plugkit::gfx::ScreenScaleFromResources;
using plugkit::gfx::VirtualKeyFromKeySym;

TEST(X11TranslateTest, KeySymsBecomeWindowsVirtualKeys) {
  const struct {
    unsigned long keySym;
    int virtualKey;
  } cases[] = {{XK_a, 0x41},       {XK_Z, 0x5A},      {XK_0, 0x30},      {XK_KP_7, 0x67},
               {XK_F1, 0x70},      {XK_F12, 0x7B},    {XK_Return, 0x0D}, {XK_Escape, 0x1B},
               {XK_Left, 0x25},    {XK_Down, 0x28},   {XK_Delete, 0x2E}, {XK_space, 0x20},
               {XK_Shift_R, 0x10}, {XK_KP_Add, 0x6B}, {XK_Prior, 0x21},  {XK_eacute, 0}};
  for (const auto& c : cases) EXPECT_EQ(VirtualKeyFromKeySym(c.keySym), c.virtualKey) << c.keySym;
}

TEST(X11TranslateTest, ScreenScaleIsTheRoundedDpiRatio) {
  const struct {
    const char* resources;
    float scale;
  } cases[] = {{nullptr, 1.0f},
               {"", 1.0f},
               {"Xft.dpi:\t96\n", 1.0f},
               {"Xft.dpi:\t120\n", 1.0f},
               {"Xft.antialias:\t1\nXft.dpi:\t144\nXft.hinting:\t1\n", 2.0f},
               {"Xft.dpi:\t192", 2.0f},
               {"Xft.dpi:\t288\n", 3.0f},
               {"Xft.dpi:\t48\n", 1.0f},
               {"Xft.dpi:\tlarge\n", 1.0f},
               {"Xft.dpi:\t-96\n", 1.0f},
               {"Xcursor.size:\t144\n", 1.0f}};
  for (const auto& c : cases) {
    EXPECT_EQ(ScreenScaleFromResources(c.resources), c.scale) << (c.resources ? c.resources : "");
  }
}

TEST(X11TranslateTest, SecondPressCloseInTimeAndPlaceIsADoubleClick) {
  const struct {
    unsigned button;
    int x;
    int y;
    unsigned long time;
    bool isDouble;
  } presses[] = {
      {1, 10, 10, 1000, false}, {1, 14, 6, 1400, true},   // within 4 px and 400 ms
      {1, 14, 6, 1500, false},  {1, 14, 6, 1950, false},  // a third press starts over; too late
      {1, 19, 6, 2000, false},  {3, 19, 6, 2100, false},  // too far; another button
      {3, 19, 6, 2200, true},
  };
  DoubleClickDetector detector;
  for (const auto& p : presses) {
    EXPECT_EQ(detector.IsDoubleClick(p.button, p.x, p.y, p.time), p.isDouble) << p.time;
  }
}

}  // namespace
