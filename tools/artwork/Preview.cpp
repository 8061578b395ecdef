#include "tools/artwork/Preview.h"

#include <cairo.h>

#include <map>
#include <memory>
#include <string_view>

#include "tools/artwork/Drawing.h"
#include "tools/artwork/Layout.h"
#include "tools/artwork/Meters.h"
#include "tools/artwork/Strips.h"

namespace artwork {

namespace {

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

Surface Load(const std::string& path) {
  Surface s(cairo_image_surface_create_from_png(path.c_str()), cairo_surface_destroy);
  if (cairo_surface_status(s.get()) != CAIRO_STATUS_SUCCESS) s.reset();
  return s;
}

// The editor's marker lines, to judge the meters with their usual companions.
void Marker(cairo_t* cr, double decibels, double r0, double r1, Rgb colour) {
  const Direction d = DirectionOf(MeterAngle(decibels));
  cairo_move_to(cr, kPivotX + d.x * r0, kPivotY + d.y * r0);
  cairo_line_to(cr, kPivotX + d.x * r1, kPivotY + d.y * r1);
  cairo_set_line_width(cr, 1);
  SetColour(cr, colour, 0.85);
  cairo_stroke(cr);
}

}  // namespace

bool WritePreview(const std::string& folder, int scale, bool lit, const std::string& path) {
  Surface target(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 790 * scale, 350 * scale),
                 cairo_surface_destroy);
  cairo_t* cr = cairo_create(target.get());
  std::map<std::string, Surface> images;
  bool complete = true;
  auto image = [&](const std::string& name) -> cairo_surface_t* {
    auto it = images.find(name);
    if (it == images.end()) {
      it = images.emplace(name, Load(folder + "/" + ScaledName(name, scale))).first;
    }
    complete = complete && it->second;
    return it->second.get();
  };

  if (cairo_surface_t* bg = image("bg.png")) {
    cairo_set_source_surface(cr, bg, 0, 0);
    cairo_paint(cr);
  }
  for (const Placement& p : Placements()) {
    const StripSpec* spec = FindStrip(p.image);
    const bool lamp = std::string_view(p.image).starts_with("glow");
    cairo_surface_t* strip = image(p.image);
    if (!strip || (lamp && !lit)) continue;
    const int frame = lit ? spec->frames / 2 : 0;
    const double x = p.x * scale, y = p.y * scale;
    cairo_save(cr);
    cairo_rectangle(cr, x, y, spec->frameWidth * scale, spec->frameHeight * scale);
    cairo_clip(cr);
    cairo_set_source_surface(cr, strip, x, y - frame * spec->frameHeight * scale);
    cairo_set_operator(cr, lamp ? CAIRO_OPERATOR_ADD : CAIRO_OPERATOR_OVER);
    cairo_paint(cr);
    cairo_restore(cr);
    // The markers belong between the meters and the trim knob.
    if (lit && std::string_view(p.image) == "VU-stack-inner.png") {
      cairo_save(cr);
      cairo_scale(cr, scale, scale);
      cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
      Marker(cr, -18, 30, 52, {1, 0, 0});
      Marker(cr, -3, 30, 52, {1, 1, 0});
      Marker(cr, -15, 63, 77, {1, 0, 0});
      Marker(cr, -12, 63, 77, {0, 1, 0});
      cairo_restore(cr);
    }
  }
  cairo_destroy(cr);
  return complete && cairo_surface_write_to_png(target.get(), path.c_str()) == CAIRO_STATUS_SUCCESS;
}

}  // namespace artwork
