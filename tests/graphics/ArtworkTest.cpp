#include <cairo.h>
#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <utility>

#include "graphics/Resources.h"
#include "tests/graphics/ResourceTableSetup.h"

namespace plugkit::gfx {
namespace {

enum class Kind { Picture, Glow, Strip };

struct Artwork {
  const char* name;
  int width;
  int height;
  int frames;
  Kind kind;
};

// The images the editor loads, with the pixel sizes and frame counts its layout relies on.
constexpr Artwork kArtwork[] = {
    {"bg.png", 790, 350, 1, Kind::Picture},
    {"glow_r.png", 30, 31, 1, Kind::Glow},
    {"glow_y.png", 30, 31, 1, Kind::Glow},
    {"glow_g.png", 30, 31, 1, Kind::Glow},
    {"knob-cap-stack.png", 24, 3128, 136, Kind::Strip},
    {"tiny-knob-stack.png", 16, 2040, 136, Kind::Strip},
    {"big-knob-stack.png", 31, 3808, 136, Kind::Strip},
    {"env-slider.png", 16, 3000, 50, Kind::Strip},
    {"mod-switch-L.png", 53, 125, 5, Kind::Strip},
    {"mod-switch-R.png", 55, 130, 5, Kind::Strip},
    {"filter-shape-sw.png", 47, 39, 3, Kind::Strip},
    {"phaser-stereo-sw.png", 29, 26, 2, Kind::Strip},
    {"chorus-stereo-sw.png", 29, 28, 2, Kind::Strip},
    {"VU-stack-outer.png", 158, 11514, 101, Kind::Strip},
    {"VU-stack-inner.png", 104, 7474, 101, Kind::Strip},
    {"toggle-v.png", 15, 46, 2, Kind::Strip},
    {"toggle-h.png", 27, 20, 2, Kind::Strip},
    {"trim-stack.png", 38, 2356, 62, Kind::Strip},
    {"lfo-stack.png", 25, 697, 41, Kind::Strip},
    {"motor-button-stack.png", 76, 44, 2, Kind::Strip},
    {"sidechain-toggle.png", 23, 40, 2, Kind::Strip},
    {"sync-toggle.png", 13, 46, 2, Kind::Strip},
};

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

// Decodes the embedded image `name` ("knob@2x.png"); null when it is missing or unreadable.
Surface DecodeEmbedded(const std::string& name) {
  Surface none(nullptr, cairo_surface_destroy);
  std::string location;
  if (FindAsset(EmbeddedResources(), name, "png", location) != ResourceLocation::Embedded) {
    return none;
  }
  std::span<const unsigned char> bytes = ReadEmbeddedResource(location, "png");
  auto read = [](void* closure, unsigned char* data, unsigned int length) {
    auto* rest = static_cast<std::span<const unsigned char>*>(closure);
    if (length > rest->size()) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, rest->data(), length);
    *rest = rest->subspan(length);
    return CAIRO_STATUS_SUCCESS;
  };
  Surface image(cairo_image_surface_create_from_png_stream(read, &bytes), cairo_surface_destroy);
  if (cairo_surface_status(image.get()) != CAIRO_STATUS_SUCCESS) return none;
  return image;
}

std::uint32_t Pixel(cairo_surface_t* image, int x, int y) {
  const unsigned char* row =
      cairo_image_surface_get_data(image) + y * cairo_image_surface_get_stride(image);
  std::uint32_t pixel;
  std::memcpy(&pixel, row + x * 4, sizeof pixel);
  return pixel;
}

bool FramesEqual(cairo_surface_t* image, int frameHeight, int a, int b) {
  const int stride = cairo_image_surface_get_stride(image);
  const unsigned char* data = cairo_image_surface_get_data(image);
  return std::memcmp(data + a * frameHeight * stride, data + b * frameHeight * stride,
                     static_cast<std::size_t>(frameHeight * stride)) == 0;
}

class ArtworkTest : public testing::TestWithParam<Artwork> {};

TEST_P(ArtworkTest, IsEmbeddedAtOneAndTwoTimesItsSize) {
  const Artwork& art = GetParam();
  const std::string base(art.name, std::strlen(art.name) - 4);
  for (int scale : {1, 2}) {
    const std::string name = scale == 1 ? art.name : base + "@2x.png";
    Surface image = DecodeEmbedded(name);
    ASSERT_TRUE(image) << name;
    EXPECT_EQ(cairo_image_surface_get_width(image.get()), art.width * scale) << name;
    EXPECT_EQ(cairo_image_surface_get_height(image.get()), art.height * scale) << name;
  }
}

TEST_P(ArtworkTest, FramesShowWhatTheyStandFor) {
  const Artwork& art = GetParam();
  for (int scale : {1, 2}) {
    const std::string base(art.name, std::strlen(art.name) - 4);
    Surface image = DecodeEmbedded(scale == 1 ? art.name : base + "@2x.png");
    ASSERT_TRUE(image);
    cairo_surface_t* s = image.get();
    const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    if (art.kind == Kind::Glow) {
      // Drawn additively: no alpha, and black where the glow ends.
      EXPECT_EQ(cairo_image_surface_get_format(s), CAIRO_FORMAT_RGB24) << art.name;
      for (auto [x, y] : {std::pair{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}}) {
        EXPECT_EQ(Pixel(s, x, y) & 0xffffffu, 0u) << art.name << " at " << x << ", " << y;
      }
      EXPECT_GT(Pixel(s, w / 2, h / 2) & 0xffffffu, 0x404040u) << "the centre is lit";
    }
    if (art.kind == Kind::Strip) {
      const int frameHeight = h / art.frames;
      EXPECT_FALSE(FramesEqual(s, frameHeight, 0, art.frames - 1))
          << art.name << ": the first and last frames must differ";
      EXPECT_FALSE(FramesEqual(s, frameHeight, 0, art.frames / 2))
          << art.name << ": the middle frame must differ from the first";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Editor, ArtworkTest, testing::ValuesIn(kArtwork),
                         [](const testing::TestParamInfo<Artwork>& info) {
                           std::string name;
                           for (const char* c = info.param.name; *c != '.'; ++c) {
                             name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace plugkit::gfx
