#include "product/EditorSnapshot.h"

#include <cstring>
#include <exception>

#include "graphics/GraphicsCairo.h"
#include "host/ThreadGuard.h"
#include "product/Quorvel.h"

namespace quorvel {
namespace {

// [main-thread]
bool CLAP_ABI Draw(const clap_plugin* plugin, double scale, void* pixels, uint64_t capacity,
                   uint32_t* width, uint32_t* height) {
  PLUGKIT_THREAD_GUARD(plugin, plugkit::ThreadRule::Main, "quorvel_plugin_editor_snapshot.draw",
                       false);
  if (!width || !height) return false;
  auto* self = dynamic_cast<Quorvel*>(plugkit::ClapPlugin::FromClap(plugin));
  if (!self) return false;
  try {
    return self->SnapshotEditor(scale, pixels, capacity, *width, *height);
  } catch (const std::exception&) {
    return false;
  }
}

constexpr quorvel_plugin_editor_snapshot kExtension{Draw};

}  // namespace

const quorvel_plugin_editor_snapshot& EditorSnapshotExtension() { return kExtension; }

bool CopyEditorFrame(plugkit::gfx::Graphics& graphics, void* pixels, uint64_t capacity,
                     uint32_t& width, uint32_t& height) {
  auto* cairo = dynamic_cast<plugkit::gfx::GraphicsCairo*>(&graphics);
  if (!cairo || !cairo->HasSurface()) return false;
  width = static_cast<uint32_t>(cairo->SurfaceWidth());
  height = static_cast<uint32_t>(cairo->SurfaceHeight());
  if (!pixels) return true;
  const uint64_t bytes = uint64_t{width} * height * 4;
  if (capacity < bytes) return false;
  plugkit::gfx::RectList whole;
  whole.Add(plugkit::gfx::Rect(0.0f, 0.0f, static_cast<float>(graphics.Width()),
                               static_cast<float>(graphics.Height())));
  graphics.Draw(whole);
  const std::uint8_t* frame = cairo->Pixels();
  if (!frame) return false;
  std::memcpy(pixels, frame, bytes);
  return true;
}

}  // namespace quorvel
