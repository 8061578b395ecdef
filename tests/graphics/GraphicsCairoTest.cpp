#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

#include "CairoTestSupport.h"
#include "graphics/BitmapControls.h"
#include "graphics/GraphicsCairo.h"
#include "graphics/GraphicsEditorDelegate.h"
#include "graphics/platform/GraphicsHeadless.h"

namespace plugkit::gfx {
namespace {

using test::blue;
using test::Describe;
using test::green;
using test::Near;
using test::PixelAt;
using test::red;

const Color white{255, 255, 255, 255};

class GraphicsCairoTest : public ::testing::Test {
 protected:
  static void TearDownTestSuite() { std::filesystem::remove_all(test::TestFolder()); }

  std::unique_ptr<GraphicsHeadless> Open(float drawScale, int width = 40, int height = 20) {
    auto g = std::make_unique<GraphicsHeadless>(delegate_, width, height, 18, drawScale);
    g->OpenWindow(nullptr);
    g->SetClipRect(Rect(0, 0, static_cast<float>(width), static_cast<float>(height)));
    return g;
  }

  GraphicsEditorDelegate delegate_{0};
};

TEST_F(GraphicsCairoTest, SurfaceFollowsUnitsAndScales) {
  auto g = Open(1.5f, 790, 350);
  EXPECT_EQ(g->SurfaceWidth(), 1185);
  EXPECT_EQ(g->SurfaceHeight(), 525);
  EXPECT_STREQ(g->BackendName(), "CAIRO | CPU");
  g->Resize(790, 350, 2.0f, true);
  EXPECT_EQ(g->SurfaceWidth(), 1580);
  EXPECT_EQ(g->SurfaceHeight(), 700);
  EXPECT_TRUE(g->IsImageExtensionSupported("PNG"));
  EXPECT_FALSE(g->IsImageExtensionSupported("bmp"));
  EXPECT_FALSE(g->IsImageExtensionSupported("svg"));
  EXPECT_FALSE(g->IsImageExtensionSupported(nullptr));
}

TEST_F(GraphicsCairoTest, FilmStripFramesAtScalesOneOneAndAHalfAndTwo) {
  const std::string path =
      test::WriteTestFile("strip.png", test::SolidStripPng(10, 10, {red, green, blue}));
  for (float scale : {1.0f, 1.5f, 2.0f}) {
    SCOPED_TRACE(scale);
    auto g = Open(scale);
    Bitmap strip = g->LoadBitmap(path.c_str(), 3);
    ASSERT_TRUE(strip.IsValid());
    EXPECT_EQ(strip.width, 10);
    EXPECT_EQ(strip.height, 30);
    EXPECT_EQ(strip.image->Scale(), std::ceil(scale)) << "one image per whole total scale";
    EXPECT_EQ(strip.image->PixelWidth(), 10 * static_cast<int>(std::ceil(scale)));

    // Drawn after the load: the rescaling layer must have handed the main surface back intact.
    const Color expected[] = {red, green, blue, red, blue};
    const int frames[] = {1, 2, 3, 0, 7};  // out-of-range frames clamp to the strip
    for (int i = 0; i < 5; ++i) {
      const float left = 2.0f + 7.0f * static_cast<float>(i);
      g->FillRect(white, Rect(0, 0, 40, 20));
      g->DrawBitmap(strip, Rect(left, 5, left + 5, 15), frames[i]);
      // The inside of the destination shows the frame, without bleeding from its neighbours.
      for (float y : {5.6f, 10.0f, 14.4f}) {
        const Color c =
            PixelAt(*g, static_cast<int>((left + 2.5f) * scale), static_cast<int>(y * scale));
        EXPECT_TRUE(Near(c, expected[i], 3))
            << "frame " << frames[i] << " at y " << y << ": " << Describe(c);
      }
      // Nothing outside the destination.
      EXPECT_EQ(
          PixelAt(*g, static_cast<int>((left + 2.5f) * scale), static_cast<int>(16.0f * scale)),
          white);
      EXPECT_EQ(
          PixelAt(*g, static_cast<int>((left + 5.5f) * scale), static_cast<int>(10.0f * scale)),
          white);
    }
  }
}

TEST_F(GraphicsCairoTest, AdditiveGlowAtHalfWeight) {
  auto g = Open(1.0f);
  const std::vector<std::uint8_t> png = test::SolidStripPng(8, 8, {Color{255, 200, 100, 40}});
  Bitmap glow = g->LoadBitmap("glow.png", png.data(), static_cast<int>(png.size()), 1, false, 1);
  ASSERT_TRUE(glow.IsValid());
  g->FillRect(Color{255, 64, 64, 64}, Rect(0, 0, 40, 20));
  g->FillRect(Color{255, 250, 250, 250}, Rect(20, 0, 40, 20));
  const Blend add{BlendMethod::Add, 0.5f};
  g->DrawBitmap(glow, Rect(4, 4, 12, 12), 1, &add);
  g->DrawBitmap(glow, Rect(24, 4, 32, 12), 1, &add);
  // Weight 0.5 gives alpha int(0.5 × 255) = 127: dst + src × 127 / 255.
  EXPECT_TRUE(Near(PixelAt(*g, 8, 8), Color{255, 64 + 100, 64 + 50, 64 + 20}))
      << Describe(PixelAt(*g, 8, 8));
  EXPECT_TRUE(Near(PixelAt(*g, 28, 8), Color{255, 255, 255, 255})) << "addition saturates";
  EXPECT_EQ(PixelAt(*g, 2, 2), (Color{255, 64, 64, 64})) << "outside the destination";
}

TEST_F(GraphicsCairoTest, DisabledControlDrawsAtAQuarter) {
  const std::string background =
      test::WriteTestFile("white.png", test::SolidStripPng(40, 20, {white}));
  const std::string knob =
      test::WriteTestFile("redknob.png", test::SolidStripPng(10, 10, {red, blue}));
  BitmapControl* control = nullptr;
  delegate_.SetLayoutFunction([&](Graphics& g) {
    g.AttachControl(new BitmapControl(0, 0, g.LoadBitmap(background.c_str())));
    control = static_cast<BitmapControl*>(
        g.AttachControl(new BitmapControl(10, 5, g.LoadBitmap(knob.c_str(), 2))));
  });
  for (float scale : {1.0f, 2.0f}) {
    SCOPED_TRACE(scale);
    auto g = std::make_unique<GraphicsHeadless>(delegate_, 40, 20, 18, scale);
    g->OpenWindow(nullptr);
    ASSERT_NE(control, nullptr);
    control->SetDisabled(true);
    g->RenderAll();
    // A quarter of red over white: alpha int(0.25 × 255) = 63.
    const int inside = static_cast<int>(15 * scale);
    const Color c = PixelAt(*g, inside, static_cast<int>(10 * scale));
    EXPECT_TRUE(Near(c, Color{255, 255, 192, 192})) << Describe(c);
    EXPECT_EQ(PixelAt(*g, static_cast<int>(5 * scale), inside), white);

    control->SetDisabled(false);
    EXPECT_TRUE(g->RenderFrame()) << "the control became dirty";
    EXPECT_TRUE(Near(PixelAt(*g, inside, static_cast<int>(10 * scale)), red));
    EXPECT_FALSE(g->RenderFrame()) << "nothing left to draw";
    g->CloseWindow();
  }
  delegate_.SetLayoutFunction(nullptr);
}

TEST_F(GraphicsCairoTest, UnboundedOperatorsStayInsideTheShape) {
  auto g = Open(1.0f);
  const std::vector<std::uint8_t> png = test::SolidStripPng(4, 4, {Color{128, 0, 0, 255}});
  Bitmap half = g->LoadBitmap("half.png", png.data(), static_cast<int>(png.size()), 1, false, 1);
  for (BlendMethod method :
       {BlendMethod::SrcIn, BlendMethod::SrcOut, BlendMethod::DstIn, BlendMethod::DstAtop}) {
    SCOPED_TRACE(static_cast<int>(method));
    const Blend blend{method, 1.0f};
    g->FillRect(red, Rect(0, 0, 40, 20));
    // The destination is larger than the image: the image's own edge bounds it too.
    g->DrawBitmap(half, Rect(10, 10, 20, 20), 0, 0, &blend);
    EXPECT_EQ(PixelAt(*g, 5, 5), red);
    EXPECT_EQ(PixelAt(*g, 16, 16), red) << "inside the destination but outside the image";
    g->FillRect(red, Rect(0, 0, 40, 20));
    g->FillRect(Color{128, 0, 0, 255}, Rect(30, 2, 34, 6), &blend);
    EXPECT_EQ(PixelAt(*g, 5, 5), red);
    EXPECT_EQ(PixelAt(*g, 36, 4), red);
  }
  // Plain source-in inside the shape: the source where the destination is opaque.
  const Blend in{BlendMethod::SrcIn, 1.0f};
  g->FillRect(red, Rect(0, 0, 40, 20));
  g->FillRect(blue, Rect(30, 2, 34, 6), &in);
  EXPECT_EQ(PixelAt(*g, 32, 4), blue);
}

TEST_F(GraphicsCairoTest, ArcsStartAtTwelveOClockAndRunClockwise) {
  auto g = Open(1.0f, 40, 40);
  auto inked = [&](int x, int y) { return PixelAt(*g, x, y).A > 128; };
  g->DrawArc(blue, 20, 20, 10, 0, 90, nullptr, 2.0f);
  EXPECT_TRUE(inked(20, 10) || inked(19, 10)) << "12 o'clock";
  EXPECT_TRUE(inked(30, 20) || inked(30, 19)) << "3 o'clock";
  EXPECT_TRUE(inked(27, 12)) << "between them";
  EXPECT_FALSE(inked(10, 20)) << "9 o'clock is outside the arc";
  EXPECT_FALSE(inked(20, 30)) << "6 o'clock is outside the arc";

  g->FillRect(kColorTransparent, Rect(0, 0, 40, 40), nullptr);
  const Blend clear{BlendMethod::DstOut, 1.0f};
  g->FillRect(white, Rect(0, 0, 40, 40), &clear);
  g->DrawCircle(blue, 20, 20, 10, nullptr, 2.0f);
  EXPECT_TRUE(inked(10, 20) && inked(20, 29) && inked(29, 20) && inked(20, 10)) << "a full circle";

  g->FillRect(white, Rect(0, 0, 40, 40), &clear);
  g->PathClear();
  g->PathArc(20, 20, 10, 0, 90, Winding::CounterClockwise);
  g->PathStroke(blue, 2.0f);
  EXPECT_TRUE(inked(10, 20) && inked(20, 29)) << "counter-clockwise goes round the long way";
  EXPECT_FALSE(inked(27, 12));
}

TEST_F(GraphicsCairoTest, BadInputDrawsNothingAndLeavesTheSurfaceUsable) {
  auto g = Open(1.0f);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  g->PathTransformScale(0.0f, 0.0f);  // singular
  g->FillRect(red, Rect(0, 0, 40, 20));
  g->PathTransformReset();
  g->SetTransform(Matrix{nan, 0, 0, 1, 0, 0});
  g->FillRect(red, Rect(0, 0, 40, 20));
  g->PathTransformReset();
  EXPECT_EQ(PixelAt(*g, 5, 5), kColorTransparent);

  StrokeOptions dashes;
  const float negative[] = {-3.0f, 2.0f};
  dashes.dash.Set(negative, 2);
  g->PathClear();
  g->PathMoveTo(0, 5);
  g->PathLineTo(static_cast<float>(nan), 5);
  g->PathLineTo(40, 5);
  g->PathStroke(green, 2.0f, dashes);  // invalid dashes stroke solid
  const Blend nanWeight{BlendMethod::SrcOver, std::numeric_limits<float>::quiet_NaN()};
  g->FillRect(green, Rect(0, 10, 40, 20), &nanWeight);

  g->FillRect(blue, Rect(0, 15, 40, 20));
  EXPECT_EQ(PixelAt(*g, 20, 5), green) << "the line was stroked, skipping the bad point";
  EXPECT_EQ(PixelAt(*g, 20, 17), blue) << "the context still draws";
  EXPECT_EQ(PixelAt(*g, 20, 12), kColorTransparent) << "a NaN weight draws fully transparent";

  Bitmap none;
  g->DrawBitmap(none, Rect(0, 0, 40, 20), 1);
  EXPECT_EQ(PixelAt(*g, 20, 17), blue);
}

}  // namespace
}  // namespace plugkit::gfx
