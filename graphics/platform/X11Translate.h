#pragma once

#include <cstdint>

namespace plugkit::gfx {

// The Windows virtual-key code of an X key symbol, so that controls stay platform-neutral;
// 0 for symbols without one.
std::int32_t VirtualKeyFromKeySym(unsigned long keySym);

// The screen scale an X display asks for through the "Xft.dpi" entry of its resource
// string: DPI / 96 rounded to a whole number (halves away from zero), at least 1; 1 when the
// entry is absent or unreadable.
float ScreenScaleFromResources(const char* resources);

// Tells a second press of the same button within 400 ms and 4 pixels of the first from a
// new press. A detected double click is consumed, so a third press starts over.
class DoubleClickDetector {
 public:
  static constexpr unsigned long kIntervalMs = 400;
  static constexpr int kDistance = 4;

  // [main-thread] Positions in pixels, time in milliseconds of the X server's clock.
  bool IsDoubleClick(unsigned button, int x, int y, unsigned long timeMs);

 private:
  unsigned button_ = 0;
  int x_ = 0;
  int y_ = 0;
  unsigned long time_ = 0;
};

}  // namespace plugkit::gfx
