#pragma once

// Shared helpers of the Cairo backend tests: PNG film strips made on the fly, temporary files
// and raw pixel reads.

#include <cairo.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "graphics/CairoBitmap.h"
#include "graphics/GraphicsCairo.h"
#include "tests/graphics/ResourceTableSetup.h"

namespace plugkit::gfx::test {

inline const Color red{255, 255, 0, 0};
inline const Color green{255, 0, 255, 0};
inline const Color blue{255, 0, 0, 255};

// A PNG strip of `colors.size()` frames stacked vertically, each `width` × `frameHeight`
// pixels of one opaque colour.
inline std::vector<std::uint8_t> SolidStripPng(int width, int frameHeight,
                                               const std::vector<Color>& colors) {
  const int frames = static_cast<int>(colors.size());
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, frameHeight * frames);
  cairo_t* cr = cairo_create(surface);
  for (int i = 0; i < frames; ++i) {
    const Color& c = colors[static_cast<std::size_t>(i)];
    cairo_set_source_rgba(cr, c.R / 255.0, c.G / 255.0, c.B / 255.0, c.A / 255.0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_rectangle(cr, 0, i * frameHeight, width, frameHeight);
    cairo_fill(cr);
  }
  cairo_destroy(cr);
  std::vector<std::uint8_t> png = CairoBitmap::EncodePng(surface);
  cairo_surface_destroy(surface);
  return png;
}

// A folder of its own for each test process, removed by the caller's fixture.
inline std::filesystem::path TestFolder() {
  static const std::filesystem::path folder = [] {
    auto path =
        std::filesystem::temp_directory_path() / ("quorvel-graphics-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    return path;
  }();
  return folder;
}

inline std::string WriteTestFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  const std::string path = (TestFolder() / name).string();
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file) {
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }
  return path;
}

// The unpremultiplied colour of device pixel (x, y).
inline Color PixelAt(GraphicsCairo& g, int x, int y) {
  const std::uint8_t* pixels = g.Pixels();
  if (!pixels || x < 0 || y < 0 || x >= g.SurfaceWidth() || y >= g.SurfaceHeight())
    return kColorTransparent;
  const std::uint8_t* p = pixels + (static_cast<std::size_t>(y) * g.SurfaceWidth() + x) * 4;
  const int a = p[3];
  if (a == 0) return kColorTransparent;
  auto un = [a](int c) { return (c * 255 + a / 2) / a; };
  return {a, un(p[2]), un(p[1]), un(p[0])};
}

inline bool Near(const Color& a, const Color& b, int tolerance = 2) {
  return std::abs(a.A - b.A) <= tolerance && std::abs(a.R - b.R) <= tolerance &&
         std::abs(a.G - b.G) <= tolerance && std::abs(a.B - b.B) <= tolerance;
}

inline std::string Describe(const Color& c) {
  return "(A" + std::to_string(c.A) + " R" + std::to_string(c.R) + " G" + std::to_string(c.G) +
         " B" + std::to_string(c.B) + ")";
}

}  // namespace plugkit::gfx::test
