#pragma once

#include <cstdint>

#include "product/ext/EditorSnapshot.h"

namespace plugkit::gfx {
class Graphics;
}

namespace quorvel {

// The table behind QUORVEL_EXT_EDITOR_SNAPSHOT.
const quorvel_plugin_editor_snapshot& EditorSnapshotExtension();

// [main-thread] Reports the frame's pixel size and, with a buffer of at least
// width × height × 4 bytes, draws the whole editor and copies the frame into it. False for a
// graphics context without a pixel surface or a buffer that is too small.
bool CopyEditorFrame(plugkit::gfx::Graphics& graphics, void* pixels, uint64_t capacity,
                     uint32_t& width, uint32_t& height);

}  // namespace quorvel
