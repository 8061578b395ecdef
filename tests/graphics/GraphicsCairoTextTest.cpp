#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "CairoTestSupport.h"
#include "graphics/GraphicsEditorDelegate.h"
#include "graphics/Resources.h"
#include "graphics/platform/GraphicsHeadless.h"

namespace plugkit::gfx {
namespace {

using test::PixelAt;

// Debian's Roboto Regular: 2048 units per em, ascender 1900, descender -500, so a style size
// s gives ascent s × 1900 / 2400 and descent s × 500 / 2400.
constexpr double kAscentShare = 1900.0 / 2400.0;
constexpr double kDescentShare = 500.0 / 2400.0;

class GraphicsCairoTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_ = std::make_unique<GraphicsHeadless>(delegate_, 60, 40, 18, 1.0f);
    g_->OpenWindow(nullptr);
    ASSERT_TRUE(g_->LoadFont("Roboto-Regular", "Roboto-Regular.ttf"));
    g_->SetClipRect(Rect(0, 0, 60, 40));
  }

  // Rows [first, last] that hold ink.
  void InkRows(int& first, int& last) {
    first = last = -1;
    for (int y = 0; y < g_->SurfaceHeight(); ++y) {
      for (int x = 0; x < g_->SurfaceWidth(); ++x) {
        if (PixelAt(*g_, x, y).A > 64) {
          if (first < 0) first = y;
          last = y;
          break;
        }
      }
    }
  }

  GraphicsEditorDelegate delegate_{0};
  std::unique_ptr<GraphicsHeadless> g_;
};

TEST_F(GraphicsCairoTextTest, MeasuresAndPlacesByAlignment) {
  TextStyle style;  // Roboto-Regular, 14, centred, middle
  Rect bounds(0, 0, 40, 20);
  const float width = g_->MeasureText(style, "Hg", bounds);
  EXPECT_GT(width, 10.0f);
  EXPECT_LT(width, 25.0f);
  EXPECT_NEAR((bounds.L + bounds.R) / 2.0f, 20.0f, 1e-4);
  // Baseline at 10 - descent + 7; the box starts one ascent above it and is 14 high.
  const double baseline = 10.0 - 14.0 * kDescentShare + 7.0;
  EXPECT_NEAR(bounds.T, baseline - 14.0 * kAscentShare, 1e-4);
  EXPECT_NEAR(bounds.B, bounds.T + 14.0f, 1e-4);

  style.align = TextAlign::Near;
  style.valign = TextVAlign::Top;
  Rect near(5, 3, 40, 20);
  EXPECT_FLOAT_EQ(g_->MeasureText(style, "Hg", near), width);
  EXPECT_FLOAT_EQ(near.L, 5.0f);
  EXPECT_NEAR(near.T, 3.0f, 1e-4);

  style.align = TextAlign::Far;
  style.valign = TextVAlign::Bottom;
  Rect far(0, 0, 40, 20);
  g_->MeasureText(style, "Hg", far);
  EXPECT_NEAR(far.R, 40.0f, 1e-4);
  EXPECT_NEAR(far.T, 20.0 - 14.0 * kDescentShare - 14.0 * kAscentShare, 1e-4);

  // Rotated a quarter turn the box stands up: as wide as the text was high.
  style.angle = 90.0f;
  style.align = TextAlign::Center;
  style.valign = TextVAlign::Middle;
  Rect rotated(0, 0, 40, 40);
  EXPECT_NEAR(g_->MeasureText(style, "Hg", rotated), 14.0f, 1e-3);
  EXPECT_NEAR(rotated.H(), width, 1e-3);
  EXPECT_NEAR(rotated.MW(), 20.0f, 1e-3);
  EXPECT_NEAR(rotated.MH(), 20.0f, 1e-3);
}

TEST_F(GraphicsCairoTextTest, DrawsGlyphsBetweenCapHeightAndBaseline) {
  TextStyle style;
  style.size = 24.0f;
  style.align = TextAlign::Near;
  style.valign = TextVAlign::Top;
  style.foreground = Color{255, 0, 0, 0};
  g_->DrawText(style, "HH", Rect(4, 2, 60, 40));
  int first = 0;
  int last = 0;
  InkRows(first, last);
  // Baseline at 2 + ascent = 21; Roboto's capitals are 1456 of 2048 units high, at a font size
  // of 24 × 2048 / 2400, so about 17.5 units.
  const double baseline = 2.0 + 24.0 * kAscentShare;
  const double capTop = baseline - 1456.0 / 2400.0 * 24.0;
  EXPECT_NEAR(first, capTop, 1.0);
  EXPECT_NEAR(last + 1, baseline, 1.0);
  EXPECT_EQ(PixelAt(*g_, 2, 10).A, 0) << "nothing left of the bounds";

  // Half weight halves the ink's opacity.
  const Color full = PixelAt(*g_, 6, static_cast<int>(baseline) - 5);
  EXPECT_EQ(full.A, 255);
  g_->FillRect(kColorTransparent, Rect(0, 0, 60, 40), nullptr);
  const Blend clear{BlendMethod::DstOut, 1.0f};
  g_->FillRect(kColorBlack, Rect(0, 0, 60, 40), &clear);
  const Blend half{BlendMethod::SrcOver, 0.5f};
  g_->DrawText(style, "HH", Rect(4, 2, 60, 40), &half);
  EXPECT_NEAR(PixelAt(*g_, 6, static_cast<int>(baseline) - 5).A, 127, 1);
}

TEST_F(GraphicsCairoTextTest, RotatedTextInksInsideItsMeasuredBox) {
  TextStyle style;
  style.size = 20.0f;
  style.foreground = kColorBlack;
  for (float angle : {90.0f, -30.0f}) {
    SCOPED_TRACE(angle);
    const Blend clear{BlendMethod::DstOut, 1.0f};
    g_->FillRect(kColorBlack, Rect(0, 0, 60, 40), &clear);
    style.angle = angle;
    Rect box(10, 2, 50, 38);
    g_->MeasureText(style, "Tilt", box);
    g_->DrawText(style, "Tilt", Rect(10, 2, 50, 38));
    int inked = 0;
    for (int y = 0; y < g_->SurfaceHeight(); ++y) {
      for (int x = 0; x < g_->SurfaceWidth(); ++x) {
        if (PixelAt(*g_, x, y).A < 64) continue;
        ++inked;
        EXPECT_TRUE(x + 1 >= box.L && x <= box.R && y + 1 >= box.T && y <= box.B) << x << "," << y;
      }
    }
    EXPECT_GT(inked, 20);
  }
}

TEST_F(GraphicsCairoTextTest, UnknownFontsAndBadTextDrawNothingHarmful) {
  TextStyle unknown;
  unknown.SetFontId("No-Such-Font");
  Rect bounds(1, 2, 30, 20);
  EXPECT_EQ(g_->MeasureText(unknown, "abc", bounds), 0.0f);
  EXPECT_TRUE(bounds.Empty());
  g_->DrawText(unknown, "abc", Rect(0, 0, 60, 40));
  int first = 0;
  int last = 0;
  InkRows(first, last);
  EXPECT_EQ(first, -1);

  TextStyle style;
  Rect empty(0, 0, 40, 20);
  EXPECT_EQ(g_->MeasureText(style, "", empty), 0.0f);
  // Malformed UTF-8 is drawn with replacement characters and leaves the context working.
  Rect broken(0, 0, 60, 40);
  EXPECT_GT(g_->MeasureText(style, "a\xC3(\xFF\xED\xA0\x80z", broken), 0.0f);
  g_->DrawText(style, "a\xC3(\xFF\xED\xA0\x80z", Rect(0, 0, 60, 20));
  g_->FillRect(kColorBlack, Rect(0, 30, 60, 40));
  EXPECT_EQ(PixelAt(*g_, 30, 35), kColorBlack);

  // Fonts that cannot be read are refused.
  EXPECT_FALSE(g_->LoadFont("Missing", "/no/such/font.ttf"));
  const unsigned char junk[64] = {0, 1, 0, 0};
  EXPECT_FALSE(g_->LoadFont("Junk", junk, sizeof junk));
  const std::vector<std::uint8_t> roboto = ReadResourceBytes("Roboto-Regular.ttf", "ttf");
  EXPECT_TRUE(g_->LoadFont("From-Bytes", roboto.data(), static_cast<int>(roboto.size())));
  EXPECT_TRUE(g_->LoadFont("Roboto-Regular", "Roboto-Regular.ttf"))
      << "an id already loaded is success";
}

}  // namespace
}  // namespace plugkit::gfx
