#include "graphics/CairoStartup.h"

#include <cairo.h>

namespace plugkit::gfx {

void StartCairo() { cairo_surface_destroy(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1)); }

}  // namespace plugkit::gfx
