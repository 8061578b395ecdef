#pragma once

#include <memory>

#include "framework/Timer.h"
#include "graphics/Graphics.h"

namespace plugkit::gfx {

// [main-thread] The window layer of this platform for an editor opened in a host's window:
// X11 on Linux, whose frame clock runs on `timers`; Win32 on Windows, which clocks itself.
std::unique_ptr<Graphics> MakeWindowGraphics(GraphicsEditorDelegate& delegate, int width,
                                             int height, int frameRate, float drawScale,
                                             TimerHost& timers);

}  // namespace plugkit::gfx
