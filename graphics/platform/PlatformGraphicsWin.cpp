#include "graphics/platform/PlatformGraphics.h"

namespace plugkit::gfx {

// The Windows window layer is not part of this build yet: no editor opens in a host's window.
std::unique_ptr<Graphics> MakeWindowGraphics(GraphicsEditorDelegate&, int, int, int, float,
                                             TimerHost&) {
  return nullptr;
}

}  // namespace plugkit::gfx
