#include "tools/artwork/Drawing.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <stdexcept>
#include <vector>

namespace artwork {

namespace {

constexpr double kCapHeight = 0.711;  // Roboto's capital height per em

// The text split into its UTF-8 characters, so that tracking can space them.
std::vector<std::string> Characters(std::string_view text) {
  std::vector<std::string> characters;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xe0 ? 2 : lead < 0xf0 ? 3 : 4;
    characters.emplace_back(text.substr(i, length));
    i += length;
  }
  return characters;
}

double Advance(cairo_t* cr, const std::string& character) {
  cairo_text_extents_t extents;
  cairo_text_extents(cr, character.c_str(), &extents);
  return extents.x_advance;
}

}  // namespace

Direction DirectionOf(double degrees) {
  const double a = degrees * kPi / 180;
  return {std::sin(a), -std::cos(a)};
}

Typeface::Typeface(const std::string& path) {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  if (FT_Init_FreeType(&library) != 0) throw std::runtime_error("FreeType did not start");
  if (FT_New_Face(library, path.c_str(), 0, &face) != 0) {
    FT_Done_FreeType(library);
    throw std::runtime_error("cannot read the font " + path);
  }
  library_ = library;
  ftFace_ = face;
  face_ = cairo_ft_font_face_create_for_ft_face(face, 0);
}

Typeface::~Typeface() {
  cairo_font_face_destroy(face_);
  FT_Done_Face(static_cast<FT_Face>(ftFace_));
  FT_Done_FreeType(static_cast<FT_Library>(library_));
}

void DrawText(cairo_t* cr, const Typeface& type, std::string_view text, double x, double y,
              const TextStyle& style) {
  cairo_save(cr);
  cairo_set_font_face(cr, type.Face());
  cairo_set_font_size(cr, style.size);
  // Unhinted outlines and fractional advances keep the 1x and 2x pictures alike.
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);

  const std::vector<std::string> characters = Characters(text);
  double width = 0;
  for (const std::string& c : characters) width += Advance(cr, c) + style.tracking;
  if (!characters.empty()) width -= style.tracking;
  double pen = x;
  if (style.align == Align::Centre) pen -= width / 2;
  if (style.align == Align::Right) pen -= width;
  SetColour(cr, style.colour, style.alpha);
  for (const std::string& c : characters) {
    cairo_move_to(cr, pen, y);
    cairo_show_text(cr, c.c_str());
    pen += Advance(cr, c) + style.tracking;
  }
  cairo_restore(cr);
}

void DrawLabel(cairo_t* cr, const Typeface& type, std::string_view text, double x, double y,
               const TextStyle& style) {
  DrawText(cr, type, text, x, y + style.size * kCapHeight / 2, style);
}

void SetColour(cairo_t* cr, Rgb c, double alpha) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

Rgb Mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
  cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
  cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
  cairo_close_path(cr);
}

void FillVertical(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom, bool preserve) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
  cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
  cairo_pattern_add_color_stop_rgb(p, 1, bottom.r, bottom.g, bottom.b);
  cairo_set_source(cr, p);
  preserve ? cairo_fill_preserve(cr) : cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void FillDome(cairo_t* cr, double cx, double cy, double r, Rgb light, Rgb dark, bool preserve) {
  cairo_pattern_t* p =
      cairo_pattern_create_radial(cx - r * 0.35, cy - r * 0.45, r * 0.1, cx, cy, r * 1.05);
  cairo_pattern_add_color_stop_rgb(p, 0, light.r, light.g, light.b);
  cairo_pattern_add_color_stop_rgb(p, 1, dark.r, dark.g, dark.b);
  cairo_set_source(cr, p);
  preserve ? cairo_fill_preserve(cr) : cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void DropShadow(cairo_t* cr, double cx, double cy, double r, double offset, double alpha) {
  for (int i = 3; i >= 1; --i) {
    cairo_arc(cr, cx + offset * 0.4, cy + offset, r + i * 0.6, 0, 2 * kPi);
    cairo_set_source_rgba(cr, 0, 0, 0, alpha / 3);
    cairo_fill(cr);
  }
}

}  // namespace artwork
