#include "tools/frame-to-png/DemoArtwork.h"

#include <cairo.h>

#include <cmath>
#include <numbers>

#include "graphics/CairoBitmap.h"

namespace framepng {
namespace {

std::vector<std::uint8_t> Encode(cairo_surface_t* surface) {
  std::vector<std::uint8_t> png = plugkit::gfx::CairoBitmap::EncodePng(surface);
  cairo_surface_destroy(surface);
  return png;
}

}  // namespace

std::vector<std::uint8_t> KnobStripPng(int size, int frames) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size * frames);
  cairo_t* cr = cairo_create(surface);
  const double r = size / 2.0;
  for (int f = 0; f < frames; ++f) {
    const double cx = r;
    const double cy = r + f * size;
    cairo_pattern_t* body =
        cairo_pattern_create_radial(cx - r * 0.3, cy - r * 0.3, r * 0.1, cx, cy, r * 0.85);
    cairo_pattern_add_color_stop_rgb(body, 0.0, 0.45, 0.47, 0.52);
    cairo_pattern_add_color_stop_rgb(body, 1.0, 0.12, 0.13, 0.16);
    cairo_arc(cr, cx, cy, r * 0.82, 0, 2 * std::numbers::pi);
    cairo_set_source(cr, body);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(body);
    cairo_set_source_rgb(cr, 0.05, 0.05, 0.06);
    cairo_set_line_width(cr, size / 24.0);
    cairo_stroke(cr);

    const double t = frames > 1 ? static_cast<double>(f) / (frames - 1) : 0.0;
    const double angle = (-135.0 + 270.0 * t - 90.0) * std::numbers::pi / 180.0;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, size / 14.0);
    cairo_set_source_rgb(cr, 0.95, 0.75, 0.3);
    cairo_move_to(cr, cx + std::cos(angle) * r * 0.25, cy + std::sin(angle) * r * 0.25);
    cairo_line_to(cr, cx + std::cos(angle) * r * 0.7, cy + std::sin(angle) * r * 0.7);
    cairo_stroke(cr);
  }
  cairo_destroy(cr);
  return Encode(surface);
}

std::vector<std::uint8_t> LampStripPng(int size) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size * 2);
  cairo_t* cr = cairo_create(surface);
  const double r = size / 2.0;
  cairo_arc(cr, r, r, r * 0.35, 0, 2 * std::numbers::pi);
  cairo_set_source_rgb(cr, 0.25, 0.08, 0.05);
  cairo_fill(cr);
  cairo_pattern_t* glow = cairo_pattern_create_radial(r, size + r, 0, r, size + r, r);
  cairo_pattern_add_color_stop_rgba(glow, 0.0, 1.0, 0.55, 0.2, 1.0);
  cairo_pattern_add_color_stop_rgba(glow, 0.35, 1.0, 0.35, 0.1, 0.8);
  cairo_pattern_add_color_stop_rgba(glow, 1.0, 1.0, 0.2, 0.0, 0.0);
  cairo_rectangle(cr, 0, size, size, size);
  cairo_set_source(cr, glow);
  cairo_fill(cr);
  cairo_pattern_destroy(glow);
  cairo_destroy(cr);
  return Encode(surface);
}

std::vector<std::uint8_t> BackgroundPng(int width, int height) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = cairo_create(surface);
  cairo_pattern_t* shade = cairo_pattern_create_linear(0, 0, 0, height);
  cairo_pattern_add_color_stop_rgb(shade, 0.0, 0.22, 0.24, 0.28);
  cairo_pattern_add_color_stop_rgb(shade, 1.0, 0.10, 0.11, 0.13);
  cairo_set_source(cr, shade);
  cairo_paint(cr);
  cairo_pattern_destroy(shade);
  cairo_destroy(cr);
  return Encode(surface);
}

}  // namespace framepng
