#pragma once

#include <cstdint>
#include <string>

#include "graphics/GraphicsTypes.h"
#include "graphics/Rect.h"

namespace plugkit::gfx {

// The arithmetic of the Win32 window layer, kept free of Win32 calls so that it is tested on
// every platform.

// The screen scale for a window's DPI: 96 DPI is 1; others DPI / 96 rounded to a whole number,
// halves away from zero, at least 1 (0, what GetDpiForWindow answers on failure, gives 1).
float ScreenScaleFromDpi(unsigned dpi);

// Whole wheel notches in a WM_MOUSEWHEEL wParam: the signed high word over 120, truncated, so
// a high-resolution step below a notch gives 0.
int WheelNotches(std::uint64_t wParam);

// Whether a mouse message was synthesised from pen or touch input (its GetMessageExtraInfo).
bool IsPenOrTouchMessage(std::uint64_t extraInfo);

// The UTF-8 of a key's translation (ToUnicode's UTF-16 units): only a single character counts;
// two units (a dead key's leftover, a surrogate pair) or none give empty text.
std::string KeyTextFromUtf16(const char16_t* units, int count);

// A window area in device pixels as units at `scale` pixels per unit, widened to whole units.
Rect UnitsFromPixels(long left, long top, long right, long bottom, float scale);

// The IDC_ resource number of the system pointer for a shape; the arrow for unknown shapes.
int SystemCursorId(CursorShape shape);

// Paces a frame clock that posts the vertical-blank count with each tick message: a message
// that arrives after the next blank is late and dropped, and a paint that overran a blank
// skips the next one so the window catches up instead of queueing behind the display.
class FramePacer {
 public:
  // [main-thread] Whether the tick posted at `postedCount` should draw, `currentCount` being
  // the clock thread's count now.
  bool ShouldDraw(std::uint32_t postedCount, std::uint32_t currentCount);
  // [main-thread] After painting for the tick posted at `postedCount`.
  void AfterPaint(std::uint32_t postedCount, std::uint32_t currentCount);

 private:
  std::uint32_t skipUntil_ = 0;
};

}  // namespace plugkit::gfx
