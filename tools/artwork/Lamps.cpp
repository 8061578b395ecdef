#include "tools/artwork/Lamps.h"

namespace artwork {

namespace {

// Black outside the halo: the editor adds the picture to the panel, so black adds nothing.
void Glow(const Frame& f, Rgb colour) {
  const double cx = f.width / 2, cy = f.height / 2, r = 14.5;
  const Rgb hot = Mix(colour, {1, 1, 1}, 0.75);
  cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r);
  cairo_pattern_add_color_stop_rgb(p, 0, hot.r, hot.g, hot.b);
  cairo_pattern_add_color_stop_rgb(p, 0.16, colour.r, colour.g, colour.b);
  const Rgb halo = Mix({0, 0, 0}, colour, 0.32);
  cairo_pattern_add_color_stop_rgb(p, 0.42, halo.r, halo.g, halo.b);
  const Rgb fringe = Mix({0, 0, 0}, colour, 0.07);
  cairo_pattern_add_color_stop_rgb(p, 0.75, fringe.r, fringe.g, fringe.b);
  cairo_pattern_add_color_stop_rgb(p, 1, 0, 0, 0);
  cairo_set_source(f.cr, p);
  cairo_paint(f.cr);
  cairo_pattern_destroy(p);
}

}  // namespace

void PaintRedGlow(const Frame& f) { Glow(f, {1.0, 0.12, 0.06}); }
void PaintYellowGlow(const Frame& f) { Glow(f, {1.0, 0.78, 0.10}); }
void PaintGreenGlow(const Frame& f) { Glow(f, {0.20, 1.0, 0.25}); }

void PaintMotorButton(const Frame& f) {
  cairo_t* cr = f.cr;
  const bool lit = f.index == 1;
  const double x = 1, y = 1, w = f.width - 2, h = f.height - 2;
  RoundedRect(cr, x, y, w, h, 3);
  if (lit) {
    cairo_pattern_t* p = cairo_pattern_create_radial(f.width / 2, f.height / 2, 2, f.width / 2,
                                                     f.height / 2, f.width / 2);
    cairo_pattern_add_color_stop_rgb(p, 0, 1.0, 0.32, 0.22);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.55, 0.04, 0.03);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
  } else {
    FillVertical(cr, y, y + h, {0.24, 0.22, 0.22}, {0.11, 0.10, 0.10});
  }
  // Frosted cap: a light top edge and a darker lower rim.
  RoundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, 2.6);
  cairo_set_line_width(cr, 0.8);
  cairo_pattern_t* rim = cairo_pattern_create_linear(0, y, 0, y + h);
  cairo_pattern_add_color_stop_rgba(rim, 0, 1, 1, 1, lit ? 0.55 : 0.25);
  cairo_pattern_add_color_stop_rgba(rim, 1, 0, 0, 0, 0.5);
  cairo_set_source(cr, rim);
  cairo_stroke(cr);
  cairo_pattern_destroy(rim);

  TextStyle style{.size = 7.5, .tracking = 1.1};
  style.colour = lit ? Rgb{1.0, 0.93, 0.88} : Rgb{0.62, 0.60, 0.58};
  DrawLabel(cr, f.type, "MOTORS", f.width / 2 + 0.5, f.height / 2, style);
}

}  // namespace artwork
