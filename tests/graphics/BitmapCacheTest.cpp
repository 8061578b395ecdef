#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CairoTestSupport.h"
#include "graphics/GraphicsEditorDelegate.h"
#include "graphics/Resources.h"
#include "graphics/SharedStorages.h"
#include "graphics/platform/GraphicsHeadless.h"

namespace plugkit::gfx {
namespace {

using test::blue;
using test::green;
using test::Near;
using test::PixelAt;
using test::red;

// Records every image decoded from a resource or file.
class CountingGraphics : public GraphicsHeadless {
 public:
  using GraphicsHeadless::DecodeBitmap;
  using GraphicsHeadless::GraphicsHeadless;

  std::unique_ptr<BackendBitmap> DecodeBitmap(const char* location, int scale,
                                              ResourceLocation kind,
                                              const char* extension) override {
    decoded.push_back(std::filesystem::path(location).filename().string() + "@" +
                      std::to_string(scale));
    return GraphicsHeadless::DecodeBitmap(location, scale, kind, extension);
  }

  std::vector<std::string> decoded;
};

class BitmapCacheTest : public ::testing::Test {
 protected:
  static void TearDownTestSuite() { std::filesystem::remove_all(test::TestFolder()); }

  std::unique_ptr<CountingGraphics> Make(float drawScale) {
    auto g = std::make_unique<CountingGraphics>(delegate_, 40, 40, 18, drawScale);
    g->OpenWindow(nullptr);
    return g;
  }

  GraphicsEditorDelegate delegate_{0};
};

TEST_F(BitmapCacheTest, ContextsShareImagesPerScaleUntilTheLastOneGoes) {
  const std::string path =
      test::WriteTestFile("shared.png", test::SolidStripPng(8, 8, {red, blue}));
  auto one = Make(1.0f);
  auto two = Make(2.0f);
  Bitmap atOne = one->LoadBitmap(path.c_str(), 2);
  Bitmap atTwo = two->LoadBitmap(path.c_str(), 2);
  ASSERT_TRUE(atOne.IsValid() && atTwo.IsValid());
  EXPECT_NE(atOne.image, atTwo.image);
  EXPECT_EQ(atOne.image->Scale(), 1.0f);
  EXPECT_EQ(atTwo.image->Scale(), 2.0f);
  EXPECT_EQ(atTwo.width, 8) << "units do not change with the scale";
  EXPECT_EQ(atTwo.height, 16);
  EXPECT_EQ(atTwo.image->PixelHeight(), 32);
  EXPECT_EQ(one->decoded, std::vector<std::string>{"shared.png@1"});
  EXPECT_EQ(two->decoded, std::vector<std::string>{}) << "the scale-1 image was cached already";

  // A second context at an equal scale gets the very same image, without decoding.
  auto another = Make(1.0f);
  EXPECT_EQ(another->LoadBitmap(path.c_str(), 2).image, atOne.image);
  EXPECT_EQ(two->LoadBitmap(path.c_str(), 2).image, atTwo.image);
  EXPECT_TRUE(another->decoded.empty());
  {
    std::lock_guard lock(BitmapCache().Mutex());
    EXPECT_EQ(BitmapCache().Size(), 2u);
  }

  // The rescaled copy shows frame 2 of the strip at scale 2.
  two->SetClipRect(Rect(0, 0, 40, 40));
  two->DrawBitmap(atTwo, Rect(0, 0, 8, 8), 2);
  EXPECT_TRUE(Near(PixelAt(*two, 8, 8), blue));

  ASSERT_TRUE(one->LoadFont("Roboto-Regular", "Roboto-Regular.ttf"));
  one.reset();
  another.reset();
  {
    std::lock_guard lock(BitmapCache().Mutex());
    EXPECT_EQ(BitmapCache().Size(), 2u) << "one context is still alive";
  }
  two.reset();
  std::lock_guard bitmaps(BitmapCache().Mutex());
  std::lock_guard fonts(FontCache().Mutex());
  EXPECT_EQ(BitmapCache().Size(), 0u);
  EXPECT_EQ(FontCache().Size(), 0u);
  EXPECT_EQ(BitmapCache().References(), 0);
}

TEST_F(BitmapCacheTest, ScaledVariantSearchOrder) {
  test::WriteTestFile("knob.png", test::SolidStripPng(10, 10, {red}));
  test::WriteTestFile("knob@3x.png", test::SolidStripPng(30, 30, {blue}));
  const std::string knob = (test::TestFolder() / "knob.png").string();

  // Draw scale 1.5: looks for knob@2x, then knob@3x, which exists: decoded at 3, redrawn at 2.
  auto g = Make(1.5f);
  Bitmap b = g->LoadBitmap(knob.c_str());
  ASSERT_TRUE(b.IsValid());
  EXPECT_EQ(g->decoded, std::vector<std::string>{"knob@3x.png@3"});
  EXPECT_EQ(b.image->Scale(), 2.0f);
  EXPECT_EQ(b.image->PixelWidth(), 20);
  EXPECT_EQ(b.width, 10);
  {
    std::lock_guard lock(BitmapCache().Mutex());
    EXPECT_EQ(BitmapCache().Find(knob, 3), nullptr) << "the decoded source is not kept";
    EXPECT_EQ(BitmapCache().Find(knob, 2), b.image);
  }
  EXPECT_EQ(g->LoadBitmap(knob.c_str()).image, b.image);
  EXPECT_EQ(g->decoded.size(), 1u) << "the second load decodes nothing";

  // Scale 1 takes the plain file first; scale 4 falls back to the @3x variant.
  EXPECT_EQ(Make(1.0f)->LoadBitmap(knob.c_str()).image->PixelWidth(), 10);
  auto four = Make(4.0f);
  Bitmap atFour = four->LoadBitmap(knob.c_str());
  EXPECT_EQ(four->decoded, std::vector<std::string>{"knob@3x.png@3"});
  EXPECT_EQ(atFour.image->PixelWidth(), 40);
  four->SetClipRect(Rect(0, 0, 40, 40));
  four->DrawBitmap(atFour, Rect(0, 0, 10, 10), 1);
  EXPECT_TRUE(Near(PixelAt(*four, 20, 20), blue));

  // Once the files are gone, a cached scale still serves other scales.
  const std::string cachedOnly =
      test::WriteTestFile("gone.png", test::SolidStripPng(6, 6, {green}));
  ASSERT_TRUE(g->LoadBitmap(cachedOnly.c_str(), 1, false, 1).IsValid());
  std::filesystem::remove(cachedOnly);
  Bitmap rescaled = g->LoadBitmap(cachedOnly.c_str(), 1, false, 3);
  ASSERT_TRUE(rescaled.IsValid());
  EXPECT_EQ(rescaled.image->PixelWidth(), 18);

  // Missing files, unsupported types and empty names give empty bitmaps.
  EXPECT_FALSE(g->LoadBitmap((test::TestFolder() / "missing.png").c_str()).IsValid());
  EXPECT_FALSE(g->LoadBitmap("picture.bmp").IsValid());
  EXPECT_FALSE(g->LoadBitmap("").IsValid());
  const std::string notPng = test::WriteTestFile("broken.png", {1, 2, 3, 4, 5, 6, 7, 8, 9});
  EXPECT_FALSE(g->LoadBitmap(notPng.c_str()).IsValid());
}

TEST_F(BitmapCacheTest, ScaledVariantNamesOnlyUseADotInTheFileName) {
  const std::filesystem::path folder = test::TestFolder() / "art.v2";
  std::filesystem::create_directories(folder);
  test::WriteTestFile("art.v2/strip", test::SolidStripPng(5, 5, {red}));
  test::WriteTestFile("art.v2/strip@2x", test::SolidStripPng(10, 10, {blue}));
  std::string location;
  int sourceScale = 0;
  // The name has no extension of its own: the variant is "strip@2x", not "art@2x.v2/strip".
  struct Probe : CountingGraphics {
    using CountingGraphics::CountingGraphics;
    using Graphics::FindImageResource;
  };
  Probe probe(delegate_, 10, 10, 18, 2.0f);
  const std::string name = (folder / "strip").string();
  EXPECT_EQ(probe.FindImageResource(name.c_str(), "", location, 2, sourceScale),
            ResourceLocation::FilePath);
  EXPECT_EQ(sourceScale, 2);
  EXPECT_EQ(location, name + "@2x");
}

}  // namespace
}  // namespace plugkit::gfx
