#pragma once

#include <cairo.h>

#include "graphics/FontData.h"

namespace plugkit::gfx {

// [main-thread] A Cairo font face for the face `data.faceIndex` of the font bytes, through
// FreeType; null when FreeType refuses the data. The caller owns the returned reference.
//
// Cairo keeps font faces in its own caches and may call FT_Done_Face long after the face was
// released, even after this module is unloaded. So the FreeType library and a copy of the
// font bytes are kept for the life of the process (equal bytes share one copy), and Cairo is
// handed FreeType's own FT_Done_Face as the destroy function.
cairo_font_face_t* CreateCairoFontFace(const FontData& data);

}  // namespace plugkit::gfx
