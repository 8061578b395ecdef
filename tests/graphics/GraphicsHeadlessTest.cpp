#include <gtest/gtest.h>

#include <filesystem>

#include "CairoTestSupport.h"
#include "graphics/BitmapControls.h"
#include "graphics/GraphicsEditorDelegate.h"
#include "graphics/platform/GraphicsHeadless.h"

namespace plugkit::gfx {
namespace {

using test::blue;
using test::PixelAt;
using test::red;

class GraphicsHeadlessTest : public ::testing::Test {
 protected:
  static void TearDownTestSuite() { std::filesystem::remove_all(test::TestFolder()); }

  GraphicsEditorDelegate delegate_{0};
};

TEST_F(GraphicsHeadlessTest, OpensAtTheWindowScaleAndRendersOnlyWhatIsDirty) {
  const std::string strip =
      test::WriteTestFile("two.png", test::SolidStripPng(10, 10, {red, blue}));
  int layouts = 0;
  BitmapControl* lamp = nullptr;
  delegate_.SetLayoutFunction([&](Graphics& g) {
    ++layouts;
    lamp = static_cast<BitmapControl*>(
        g.AttachControl(new BitmapControl(5, 5, g.LoadBitmap(strip.c_str(), 2))));
  });
  GraphicsHeadless g(delegate_, 40, 20, 18, 1.0f);
  g.SetWindowScale(2.0f);
  EXPECT_FALSE(g.IsWindowOpen());
  EXPECT_EQ(g.NativeWindow(), nullptr);
  EXPECT_FALSE(g.RenderFrame()) << "no frames while closed";

  EXPECT_NE(g.OpenWindow(nullptr), nullptr);
  EXPECT_TRUE(g.IsWindowOpen());
  EXPECT_EQ(layouts, 1);
  EXPECT_EQ(g.ScreenScale(), 2.0f);
  EXPECT_EQ(g.WindowScale(), 2.0f);
  EXPECT_EQ(g.SurfaceWidth(), 80);
  EXPECT_EQ(g.SurfaceHeight(), 40);
  ASSERT_NE(lamp, nullptr);
  EXPECT_EQ(lamp->GetBitmap().image->Scale(), 2.0f) << "the control reloaded its strip for scale 2";

  EXPECT_TRUE(g.RenderFrame());
  EXPECT_EQ(g.FramesPresented(), 1);
  EXPECT_EQ(PixelAt(g, 20, 20), red);
  EXPECT_FALSE(g.RenderFrame()) << "nothing dirty";
  EXPECT_EQ(g.FramesPresented(), 1);

  lamp->SetValue(1.0);
  lamp->SetDirty(false);
  EXPECT_TRUE(g.RenderFrame());
  EXPECT_EQ(PixelAt(g, 20, 20), blue);

  // A new window scale is picked up by the next frame tick.
  g.SetWindowScale(1.0f);
  g.RenderFrame();
  EXPECT_EQ(g.ScreenScale(), 1.0f);
  EXPECT_EQ(g.SurfaceWidth(), 40);
  EXPECT_EQ(PixelAt(g, 10, 10), blue);

  ASSERT_TRUE(g.WriteFramePng((test::TestFolder() / "frame.png").c_str()));
  EXPECT_GT(std::filesystem::file_size(test::TestFolder() / "frame.png"), 0u);
  EXPECT_FALSE(g.WriteFramePng("/no/such/folder/frame.png"));

  g.CloseWindow();
  EXPECT_EQ(g.ControlCount(), 0);
  EXPECT_FALSE(g.IsWindowOpen());
  delegate_.SetLayoutFunction(nullptr);
}

TEST_F(GraphicsHeadlessTest, KnobDragsKeepTheHiddenPointerInPlace) {
  const std::string strip =
      test::WriteTestFile("knob.png", test::SolidStripPng(10, 10, {red, blue}));
  BitmapKnobControl* knob = nullptr;
  delegate_.SetLayoutFunction([&](Graphics& g) {
    g.SetHandleMouseOver(true);
    knob = static_cast<BitmapKnobControl*>(
        g.AttachControl(new BitmapKnobControl(10, 5, g.LoadBitmap(strip.c_str(), 2), -1)));
  });
  GraphicsHeadless g(delegate_, 40, 20, 18, 1.0f);
  g.OpenWindow(nullptr);
  ASSERT_NE(knob, nullptr);

  const MouseState left{.L = true};
  g.PointerMove(15.0f, 10.0f, {});
  g.PointerDown(15.0f, 10.0f, left);
  EXPECT_TRUE(g.PointerHidden());
  g.PointerMove(15.0f, 7.0f, left);
  const double afterFirst = knob->Value(0);
  EXPECT_GT(afterFirst, 0.0) << "dragging up raises the value";
  float x = 0.0f;
  float y = 0.0f;
  g.GetPointerPosition(x, y);
  EXPECT_EQ(x, 15.0f);
  EXPECT_EQ(y, 10.0f) << "the locked pointer went back to where it was hidden";
  g.PointerMove(15.0f, 7.0f, left);
  EXPECT_GT(knob->Value(0), afterFirst) << "each move is measured from the snapped-back position";
  g.PointerMove(60.0f, -30.0f, left);  // far outside the window: still the knob's drag
  g.PointerUp(60.0f, -30.0f, left);
  EXPECT_FALSE(g.PointerHidden());
  g.GetPointerPosition(x, y);
  EXPECT_EQ(x, 15.0f);
  EXPECT_EQ(y, 10.0f) << "shown again where it was pressed";
  delegate_.SetLayoutFunction(nullptr);
}

}  // namespace
}  // namespace plugkit::gfx
