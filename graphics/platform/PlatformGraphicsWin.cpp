#include "graphics/platform/GraphicsWin.h"
#include "graphics/platform/PlatformGraphics.h"

namespace plugkit::gfx {

std::unique_ptr<Graphics> MakeWindowGraphics(GraphicsEditorDelegate& delegate, int width,
                                             int height, int frameRate, float drawScale,
                                             TimerHost& timers) {
  (void)timers;  // the window's own frame clock drives it
  return std::make_unique<GraphicsWin>(delegate, width, height, frameRate, drawScale);
}

}  // namespace plugkit::gfx
