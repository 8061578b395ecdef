// Text on the Cairo backend: fonts from the process-wide font cache, sized so that the style
// size is the height from descender to ascender, placed by the style's alignment.
#include <cairo-ft.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <numbers>
#include <string>

#include "graphics/CairoFontFace.h"
#include "graphics/CairoHelpers.h"
#include "graphics/GraphicsCairo.h"
#include "graphics/SharedStorages.h"
#include "graphics/Utf8.h"

namespace plugkit::gfx {
namespace {

// Larger sizes make no sense on screen and risk Cairo refusing the font matrix.
constexpr double kMaxFontSize = 10000.0;

cairo_font_options_t* TextFontOptions() {
  cairo_font_options_t* options = cairo_font_options_create();
  // Cairo's defaults round advances to whole pixels; grey anti-aliasing suits an ARGB buffer.
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  return options;
}

}  // namespace

struct GraphicsCairo::PreparedText {
  PreparedText() = default;
  PreparedText(const PreparedText&) = delete;
  PreparedText& operator=(const PreparedText&) = delete;
  ~PreparedText() {
    if (font) cairo_scaled_font_destroy(font);
  }

  cairo_scaled_font_t* font = nullptr;
  std::string utf8;
  double fontSize = 0.0;
  double x = 0.0;
  double y = 0.0;  // baseline
  Rect box;
};

bool GraphicsCairo::PrepareText(const CachedFont& font, const TextStyle& style, const char* str,
                                const Rect& bounds, PreparedText& text) const {
  const FontData& data = font.data;
  if (!data.IsValid() || !str) return false;
  text.fontSize =
      style.size * static_cast<double>(data.unitsPerEm) / (data.ascender - data.descender);
  if (!(text.fontSize > 0.0) || text.fontSize > kMaxFontSize) return false;
  text.utf8 = SanitizeUtf8(str);

  cairo_matrix_t fontMatrix;
  cairo_matrix_t identity;
  cairo_matrix_init_scale(&fontMatrix, text.fontSize, text.fontSize);
  cairo_matrix_init_identity(&identity);
  cairo_font_options_t* options = TextFontOptions();
  text.font = cairo_scaled_font_create(font.face, &fontMatrix, &identity, options);
  cairo_font_options_destroy(options);
  if (cairo_scaled_font_status(text.font) != CAIRO_STATUS_SUCCESS) return false;

  cairo_text_extents_t extents;
  cairo_font_extents_t metrics;
  cairo_scaled_font_text_extents(text.font, text.utf8.c_str(), &extents);
  cairo_scaled_font_extents(text.font, &metrics);
  const double width = extents.x_advance;
  const double ascent = -metrics.ascent;  // negative: above the baseline
  const double descent = metrics.descent;

  switch (style.align) {
    case TextAlign::Near:
      text.x = bounds.L;
      break;
    case TextAlign::Center:
      text.x = (bounds.L + bounds.R) / 2.0 - width / 2.0;
      break;
    case TextAlign::Far:
      text.x = bounds.R - width;
      break;
  }
  switch (style.valign) {
    case TextVAlign::Top:
      text.y = bounds.T - ascent;
      break;
    case TextVAlign::Middle:
      text.y = (bounds.T + bounds.B) / 2.0 - descent + style.size / 2.0;
      break;
    case TextVAlign::Bottom:
      text.y = bounds.B - descent;
      break;
  }
  text.box =
      Rect(static_cast<float>(text.x), static_cast<float>(text.y + ascent),
           static_cast<float>(text.x + width), static_cast<float>(text.y + ascent + style.size));
  return true;
}

void GraphicsCairo::RotatedTextBox(const TextStyle& style, const Rect& bounds, Rect& box,
                                   double& tx, double& ty) {
  const double radians = style.angle * std::numbers::pi / 180.0;
  const double c = std::cos(radians);
  const double s = std::sin(radians);
  const double xs[4] = {box.L, box.R, box.R, box.L};
  const double ys[4] = {box.T, box.T, box.B, box.B};
  double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
  for (int i = 0; i < 4; ++i) {
    const double x = xs[i] * c - ys[i] * s;
    const double y = xs[i] * s + ys[i] * c;
    minX = std::min(minX, x), maxX = std::max(maxX, x);
    minY = std::min(minY, y), maxY = std::max(maxY, y);
  }
  switch (style.align) {
    case TextAlign::Near:
      tx = bounds.L - minX;
      break;
    case TextAlign::Center:
      tx = bounds.MW() - (minX + maxX) / 2.0;
      break;
    case TextAlign::Far:
      tx = bounds.R - maxX;
      break;
  }
  switch (style.valign) {
    case TextVAlign::Top:
      ty = bounds.T - minY;
      break;
    case TextVAlign::Middle:
      ty = bounds.MH() - (minY + maxY) / 2.0;
      break;
    case TextVAlign::Bottom:
      ty = bounds.B - maxY;
      break;
  }
  box = Rect(static_cast<float>(minX + tx), static_cast<float>(minY + ty),
             static_cast<float>(maxX + tx), static_cast<float>(maxY + ty));
}

float GraphicsCairo::BackendMeasureText(const TextStyle& style, const char* str,
                                        Rect& bounds) const {
  std::lock_guard lock(FontCache().Mutex());
  const CachedFont* font = FontCache().Find(style.FontId(), kFontCacheScale);
  PreparedText text;
  if (!font || !PrepareText(*font, style, str, bounds, text)) {
    bounds = Rect();
    return 0.0f;
  }
  if (style.angle != 0.0f) {
    double tx = 0.0;
    double ty = 0.0;
    RotatedTextBox(style, bounds, text.box, tx, ty);
  }
  bounds = text.box;
  return bounds.W();
}

void GraphicsCairo::BackendDrawText(const TextStyle& style, const char* str, const Rect& bounds,
                                    const Blend* blend) {
  if (!CanDraw()) return;
  std::lock_guard lock(FontCache().Mutex());
  const CachedFont* font = FontCache().Find(style.FontId(), kFontCacheScale);
  PreparedText text;
  if (!font || !PrepareText(*font, style, str, bounds, text)) return;

  PathTransformSave();
  if (style.angle != 0.0f) {
    double tx = 0.0;
    double ty = 0.0;
    Rect box = text.box;
    RotatedTextBox(style, bounds, box, tx, ty);
    PathTransformTranslate(static_cast<float>(tx), static_cast<float>(ty));
    PathTransformRotate(style.angle);
  }
  if (CanDraw()) {
    cairo_glyph_t* glyphs = nullptr;
    int glyphCount = 0;
    if (cairo_scaled_font_text_to_glyphs(text.font, text.x, text.y, text.utf8.c_str(),
                                         static_cast<int>(text.utf8.size()), &glyphs, &glyphCount,
                                         nullptr, nullptr, nullptr) == CAIRO_STATUS_SUCCESS) {
      cairo_save(canvas_);
      SetSourceColor(canvas_, style.foreground, blend);
      cairo_set_font_face(canvas_, font->face);
      cairo_set_font_size(canvas_, text.fontSize);
      cairo_font_options_t* options = TextFontOptions();
      cairo_set_font_options(canvas_, options);
      cairo_font_options_destroy(options);
      cairo_show_glyphs(canvas_, glyphs, glyphCount);
      cairo_restore(canvas_);
    }
    cairo_glyph_free(glyphs);
  }
  PathTransformRestore();
}

bool GraphicsCairo::CreateBackendFont(const char* fontId, const PlatformFont& platformFont) {
  if (!fontId) return false;
  std::lock_guard lock(FontCache().Mutex());
  if (FontCache().Find(fontId, kFontCacheScale)) return true;
  const auto& bytes = platformFont.FileBytes();
  FontData data = ReadFontData(bytes, FindFaceByStyle(bytes, platformFont.StyleText()));
  if (!data.IsValid()) return false;
  cairo_font_face_t* face = CreateCairoFontFace(data);
  if (!face) return false;
  FontCache().Add(fontId, kFontCacheScale, std::make_unique<CachedFont>(std::move(data), face));
  return true;
}

}  // namespace plugkit::gfx
