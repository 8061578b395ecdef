#include "graphics/platform/GraphicsX11.h"
#include "graphics/platform/PlatformGraphics.h"

namespace plugkit::gfx {

std::unique_ptr<Graphics> MakeWindowGraphics(GraphicsEditorDelegate& delegate, int width,
                                             int height, int frameRate, float drawScale,
                                             TimerHost& timers) {
  return std::make_unique<GraphicsX11>(delegate, width, height, frameRate, drawScale, timers);
}

}  // namespace plugkit::gfx
