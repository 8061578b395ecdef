#include "graphics/CairoFontFace.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <cairo-ft.h>

#include <cstring>
#include <mutex>
#include <vector>

namespace plugkit::gfx {
namespace {

struct ProcessFontMemory {
  std::mutex mutex;
  FT_Library library = nullptr;
  bool libraryFailed = false;
  struct Block {
    const unsigned char* data;
    std::size_t size;
  };
  std::vector<Block> blocks;

  // A process-lifetime copy of the bytes; equal bytes are stored once.
  const unsigned char* Keep(const std::vector<unsigned char>& bytes) {
    for (const Block& block : blocks) {
      if (block.size == bytes.size() && std::memcmp(block.data, bytes.data(), block.size) == 0) {
        return block.data;
      }
    }
    auto* copy = new unsigned char[bytes.size()];
    std::memcpy(copy, bytes.data(), bytes.size());
    blocks.push_back({copy, bytes.size()});
    return copy;
  }
};

// Deliberately never destroyed (see the header).
ProcessFontMemory& FontMemory() {
  static auto* memory = new ProcessFontMemory;
  return *memory;
}

const cairo_user_data_key_t faceKey{};

}  // namespace

cairo_font_face_t* CreateCairoFontFace(const FontData& data) {
  if (!data.IsValid()) return nullptr;
  ProcessFontMemory& memory = FontMemory();
  std::lock_guard lock(memory.mutex);
  if (!memory.library && !memory.libraryFailed) {
    memory.libraryFailed = FT_Init_FreeType(&memory.library) != 0;
  }
  if (!memory.library) return nullptr;

  const unsigned char* bytes = memory.Keep(data.bytes);
  FT_Face face = nullptr;
  if (FT_New_Memory_Face(memory.library, bytes, static_cast<FT_Long>(data.bytes.size()),
                         data.faceIndex, &face) != 0) {
    return nullptr;
  }
  cairo_font_face_t* fontFace = cairo_ft_font_face_create_for_ft_face(face, 0);
  // Through void(*)() so the compiler accepts the differing return type; the value is unused.
  auto destroy =
      reinterpret_cast<cairo_destroy_func_t>(reinterpret_cast<void (*)()>(&FT_Done_Face));
  if (cairo_font_face_status(fontFace) != CAIRO_STATUS_SUCCESS ||
      cairo_font_face_set_user_data(fontFace, &faceKey, face, destroy) != CAIRO_STATUS_SUCCESS) {
    cairo_font_face_destroy(fontFace);
    FT_Done_Face(face);
    return nullptr;
  }
  return fontFace;
}

}  // namespace plugkit::gfx
