// Drawing operations built on the path interface, checked through the calls they make.

#include <gtest/gtest.h>

#include "GraphicsTestSupport.h"

namespace plugkit::gfx::test {
namespace {

std::vector<std::string> Names(const std::vector<Op>& ops) {
  std::vector<std::string> names;
  for (const Op& op : ops) names.push_back(op.name);
  return names;
}

class GraphicsDrawingTest : public ::testing::Test {
 protected:
  TestDelegate delegate;
  RecordingGraphics g{delegate};
};

TEST_F(GraphicsDrawingTest, RoundRectPutsOneQuarterArcInEachCorner) {
  g.FillRoundRect(kColorBlack, Rect(10, 20, 110, 70), 8.0f);
  ASSERT_EQ(Names(g.ops),
            (std::vector<std::string>{"clear", "arc", "arc", "arc", "arc", "close", "fill"}));
  // Centres inset by the radius; angles clockwise from 12 o'clock, going round clockwise.
  EXPECT_EQ(g.ops[1].args, (std::vector<float>{18, 28, 8, 270, 360, 0}));
  EXPECT_EQ(g.ops[2].args, (std::vector<float>{102, 28, 8, 0, 90, 0}));
  EXPECT_EQ(g.ops[3].args, (std::vector<float>{102, 62, 8, 90, 180, 0}));
  EXPECT_EQ(g.ops[4].args, (std::vector<float>{18, 62, 8, 180, 270, 0}));

  g.ops.clear();
  g.DrawRoundRect(kColorBlack, Rect(0, 0, 10, 10), 2.0f, 0.0f, 3.0f, 0.0f, nullptr, 1.5f);
  const std::vector<Op> arcs = g.OpsNamed("arc");
  ASSERT_EQ(arcs.size(), 4u);
  EXPECT_EQ(arcs[1].args[2], 0.0f);  // a square corner among round ones
  EXPECT_EQ(g.ops.back().name, "stroke");
  EXPECT_EQ(g.ops.back().args[0], 1.5f);

  // No positive radius: the plain rectangle.
  g.ops.clear();
  g.FillRoundRect(kColorBlack, Rect(1, 2, 3, 4), 0.0f);
  EXPECT_EQ(Names(g.ops),
            (std::vector<std::string>{"clear", "move", "line", "line", "line", "close", "fill"}));
  EXPECT_EQ(g.ops[1].args, (std::vector<float>{1, 2}));
  EXPECT_EQ(g.ops[3].args, (std::vector<float>{3, 4}));
  g.ops.clear();
  g.DrawRoundRect(kColorBlack, Rect(1, 2, 3, 4), -1.0f);
  EXPECT_TRUE(g.OpsNamed("arc").empty());
}

TEST_F(GraphicsDrawingTest, ArcsCirclesAndEllipses) {
  g.DrawArc(kColorBlack, 50, 50, 20, 0, 90);
  EXPECT_EQ(Names(g.ops), (std::vector<std::string>{"clear", "arc", "stroke"}));
  EXPECT_EQ(g.ops[1].args, (std::vector<float>{50, 50, 20, 0, 90, 0}));

  g.ops.clear();
  g.FillArc(kColorBlack, 50, 50, 20, 45, 135);
  EXPECT_EQ(Names(g.ops), (std::vector<std::string>{"clear", "move", "arc", "close", "fill"}));
  EXPECT_EQ(g.ops[1].args, (std::vector<float>{50, 50}));  // the pie starts at the centre

  g.ops.clear();
  g.FillCircle(kColorBlack, 30, 40, 5);
  EXPECT_EQ(Names(g.ops), (std::vector<std::string>{"clear", "move", "arc", "close", "fill"}));
  EXPECT_EQ(g.ops[1].args, (std::vector<float>{30, 35}));  // top of the circle
  EXPECT_EQ(g.ops[2].args, (std::vector<float>{30, 40, 5, 0, 360, 0}));

  // An ellipse is a unit circle under translate/rotate/scale, restored before stroking so the
  // line keeps its thickness.
  g.ops.clear();
  g.DrawEllipse(kColorBlack, 100, 50, 30, 10, 0.0f);
  EXPECT_EQ(Names(g.ops), (std::vector<std::string>{"clear", "arc", "stroke"}));
  EXPECT_EQ(g.ops[1].args, (std::vector<float>{0, 0, 1, 0, 360, 0}));
  EXPECT_TRUE(g.current.IsIdentity());
  EXPECT_TRUE(g.Transform().IsIdentity());

  g.ops.clear();
  g.DrawEllipse(kColorBlack, 100, 50, 0, 10);
  g.FillEllipse(kColorBlack, 100, 50, 10, -1);
  g.FillEllipse(kColorBlack, Rect(5, 5, 5, 20));
  EXPECT_TRUE(g.ops.empty());
}

TEST_F(GraphicsDrawingTest, LinesPointsAndGrid) {
  g.DrawRadialLine(kColorBlack, 100, 100, 0, 10, 30);
  std::vector<Op> points = g.OpsNamed("move");
  std::vector<Op> ends = g.OpsNamed("line");
  EXPECT_NEAR(points[0].args[0], 100, 1e-4);
  EXPECT_NEAR(points[0].args[1], 90, 1e-4);
  EXPECT_NEAR(ends[0].args[0], 100, 1e-4);
  EXPECT_NEAR(ends[0].args[1], 70, 1e-4);  // angle 0 points straight up

  g.ops.clear();
  g.DrawRadialLine(kColorBlack, 100, 100, 90, 0, 30);
  ends = g.OpsNamed("line");
  EXPECT_NEAR(ends[0].args[0], 130, 1e-4);  // angle 90 points right
  EXPECT_NEAR(ends[0].args[1], 100, 1e-4);

  g.ops.clear();
  g.DrawDottedLine(kColorBlack, 0, 0, 10, 0, nullptr, 1.0f, 3.0f);
  EXPECT_EQ(g.ops.back().args, (std::vector<float>{1, 1, 3}));  // one dash of length 3

  g.ops.clear();
  g.DrawPoint(kColorBlack, 4, 5);
  EXPECT_EQ(g.OpsNamed("line")[1].args, (std::vector<float>{5, 6}));
  EXPECT_EQ(g.ops.back().name, "fill");

  g.ops.clear();
  g.DrawGrid(kColorBlack, Rect(0, 0, 30, 20), 10, 1);  // a step of 1 draws no rows
  EXPECT_EQ(g.OpsNamed("move").size(), 2u);            // x = 10 and 20, not 30
  EXPECT_EQ(g.OpsNamed("stroke").size(), 1u);
}

TEST_F(GraphicsDrawingTest, FilmStripFrameSelection) {
  BackendBitmap image(40, 300, 1.0f, 1.0f);
  Bitmap strip{&image, 40, 300, 10, false, "strip.png"};
  const Blend half{BlendMethod::Add, 0.5f};
  g.DrawBitmap(strip, Rect(0, 0, 40, 30), 0, &half);  // below range: first frame
  g.DrawBitmap(strip, Rect(0, 0, 40, 30), 4);         // frame 4: three frames down
  g.DrawBitmap(strip, Rect(0, 0, 40, 30), 99);        // above range: last frame
  const std::vector<Op> draws = g.OpsNamed("bitmap");
  ASSERT_EQ(draws.size(), 3u);
  EXPECT_EQ(draws[0].args[4], 0);
  EXPECT_EQ(draws[0].args[5], 0);
  EXPECT_EQ(draws[0].args[6], 0.5f);
  EXPECT_EQ(draws[1].args[5], 90);
  EXPECT_EQ(draws[2].args[5], 270);

  // Horizontal strips step along x; 7 frames in 100 units use whole-number arithmetic with
  // the multiplication first: (f - 1) × 100 / 7.
  g.ops.clear();
  Bitmap wide{&image, 100, 20, 7, true, "wide.png"};
  g.DrawBitmap(wide, Rect(0, 0, 14, 20), 3);
  EXPECT_EQ(g.OpsNamed("bitmap")[0].args[4], 28);
  EXPECT_EQ(g.OpsNamed("bitmap")[0].args[5], 0);

  g.ops.clear();
  g.DrawBitmap(Bitmap{}, Rect(0, 0, 10, 10), 1);
  g.DrawBitmapScaledToFit(Bitmap{}, Rect(0, 0, 10, 10));
  g.DrawRotatedBitmap(Bitmap{}, 5, 5, 45);
  EXPECT_TRUE(g.ops.empty());
}

TEST_F(GraphicsDrawingTest, TransformedBitmapsRestoreTheTransform) {
  BackendBitmap image(20, 10, 1.0f, 1.0f);
  Bitmap bitmap{&image, 20, 10, 1, false, "b.png"};
  g.DrawRotatedBitmap(bitmap, 50, 60, 30);
  ASSERT_EQ(g.OpsNamed("bitmap").size(), 1u);
  EXPECT_EQ(g.OpsNamed("bitmap")[0].args, (std::vector<float>{-10, -5, 10, 5, 0, 0, -1}));
  EXPECT_TRUE(g.current.IsIdentity());
  EXPECT_TRUE(g.Transform().IsIdentity());

  g.PathTransformSave();
  g.PathTransformTranslate(3, 4);
  g.DrawBitmapScaledToFit(bitmap, Rect(10, 10, 50, 30));
  EXPECT_EQ(g.Transform(), Matrix({1, 0, 0, 1, 3, 4}));
  g.PathTransformRestore();
  g.PathTransformRestore();  // one restore too many keeps the identity
  EXPECT_TRUE(g.Transform().IsIdentity());
}

TEST_F(GraphicsDrawingTest, EmptyTextIsNeitherDrawnNorMeasured) {
  Rect bounds(1, 2, 3, 4);
  EXPECT_EQ(g.MeasureText(TextStyle{}, "", bounds), 0.0f);
  EXPECT_EQ(g.MeasureText(TextStyle{}, nullptr, bounds), 0.0f);
  g.DrawText(TextStyle{}, "", bounds);
  g.DrawText(TextStyle{}, nullptr, bounds);
  EXPECT_TRUE(g.ops.empty());
  g.DrawText(TextStyle{}, "ab", bounds);
  EXPECT_EQ(g.OpsNamed("text").size(), 1u);
  EXPECT_EQ(g.MeasureText(TextStyle{}, "abc", bounds), 21.0f);
}

}  // namespace
}  // namespace plugkit::gfx::test
