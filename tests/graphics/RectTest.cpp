#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "graphics/Matrix.h"
#include "graphics/Rect.h"

namespace plugkit::gfx {
namespace {

// How many rectangles of the list cover each cell of a small integer grid.
std::vector<int> Coverage(const std::vector<Rect>& rects, int size) {
  std::vector<int> cells(static_cast<std::size_t>(size * size), 0);
  for (const Rect& r : rects) {
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        if (r.L <= x && x + 1 <= r.R && r.T <= y && y + 1 <= r.B)
          ++cells[static_cast<std::size_t>(y * size + x)];
      }
    }
  }
  return cells;
}

TEST(RectListTest, OptimizeNeverDrawsAPixelTwiceNorDropsOne) {
  constexpr int kGrid = 24;
  std::mt19937 rng(1234);
  std::uniform_int_distribution<int> coord(0, kGrid);
  for (int trial = 0; trial < 2000; ++trial) {
    RectList list;
    const int n = 2 + trial % 5;
    for (int i = 0; i < n; ++i) {
      int l = coord(rng), r = coord(rng), t = coord(rng), b = coord(rng);
      if (l > r) std::swap(l, r);
      if (t > b) std::swap(t, b);
      if (l == r) ++r;
      if (t == b) ++b;
      list.Add(Rect(static_cast<float>(l), static_cast<float>(t), static_cast<float>(r),
                    static_cast<float>(b)));
    }
    const std::vector<int> before = Coverage(list.Rects(), kGrid + 1);
    list.Optimize();
    const std::vector<int> after = Coverage(list.Rects(), kGrid + 1);
    for (std::size_t c = 0; c < before.size(); ++c) {
      ASSERT_EQ(after[c], before[c] > 0 ? 1 : 0) << "trial " << trial << " cell " << c;
    }
  }
}

TEST(RectListTest, CrossingAndNotchedOverlapsKeepTheirOuterParts) {
  // A wide band crossed by a tall one: the overlap lies across the middle of both.
  RectList cross;
  cross.Add({0, 10, 30, 20});
  cross.Add({10, 0, 20, 30});
  cross.Optimize();
  std::vector<int> cells = Coverage(cross.Rects(), 31);
  EXPECT_EQ(cells[15 * 31 + 25], 1);  // right arm of the band
  EXPECT_EQ(cells[15 * 31 + 2], 1);   // left arm
  EXPECT_EQ(cells[15 * 31 + 15], 1);  // centre, once

  // A small rectangle biting into the middle of one side of a big one.
  RectList notch;
  notch.Add({0, 0, 30, 30});
  notch.Add({10, 20, 20, 40});
  notch.Optimize();
  cells = Coverage(notch.Rects(), 41);
  EXPECT_EQ(cells[25 * 41 + 5], 1);
  EXPECT_EQ(cells[25 * 41 + 25], 1);
  EXPECT_EQ(cells[35 * 41 + 15], 1);
}

TEST(RectListTest, MergesEqualTouchingAndEmptyRectangles) {
  RectList equal;
  equal.Add({5, 5, 50, 40});
  equal.Add({5, 5, 50, 40});
  equal.Optimize();
  ASSERT_EQ(equal.Size(), 1);
  EXPECT_EQ(equal.Get(0), Rect(5, 5, 50, 40));

  RectList sideBySide;
  sideBySide.Add({0, 0, 10, 10});
  sideBySide.Add({10, 0, 20, 10});
  sideBySide.Add({0, 10, 20, 25});
  sideBySide.Optimize();
  ASSERT_EQ(sideBySide.Size(), 1);
  EXPECT_EQ(sideBySide.Get(0), Rect(0, 0, 20, 25));

  RectList withEmpty;
  withEmpty.Add({});
  withEmpty.Add({3, 4, 5, 6});
  withEmpty.Optimize();
  ASSERT_EQ(withEmpty.Size(), 1);
  EXPECT_EQ(withEmpty.Get(0), Rect(3, 4, 5, 6));

  // Same columns but a gap between them: nothing to merge.
  RectList apart;
  apart.Add({0, 0, 10, 10});
  apart.Add({0, 11, 10, 20});
  apart.Optimize();
  EXPECT_EQ(apart.Size(), 2);
}

TEST(RectListTest, CornerOverlapIsSplitAndSideOverlapShrunk) {
  // j overlaps the bottom-right corner of a larger i: j is split into the band below i and the
  // piece beside it.
  RectList corner;
  corner.Add({0, 0, 20, 20});
  corner.Add({10, 10, 25, 25});
  corner.Optimize();
  ASSERT_EQ(corner.Size(), 3);
  EXPECT_EQ(corner.Get(0), Rect(0, 0, 20, 20));
  EXPECT_EQ(corner.Get(1), Rect(10, 20, 25, 25));
  EXPECT_EQ(corner.Get(2), Rect(20, 10, 25, 20));

  // Overlap along the whole right side of i: i shrinks to its left part, then both merge.
  RectList side;
  side.Add({0, 0, 20, 10});
  side.Add({15, 0, 30, 10});
  side.Optimize();
  ASSERT_EQ(side.Size(), 1);
  EXPECT_EQ(side.Get(0), Rect(0, 0, 30, 10));
}

TEST(RectTest, EmptinessHitsAndPixelAlignment) {
  EXPECT_TRUE(Rect().Empty());
  EXPECT_FALSE(Rect(5, 0, 5, 10).Empty());  // zero width elsewhere is not empty
  const Rect r(10, 10, 20, 20);
  EXPECT_TRUE(r.ContainsPoint(10, 10));
  EXPECT_FALSE(r.ContainsPoint(20, 15));  // right edge exclusive
  EXPECT_FALSE(Rect().Contains(Rect()));
  EXPECT_EQ(Rect().Union(r), r);

  EXPECT_EQ(Rect(0.3f, 0.3f, 10.2f, 10.2f).PixelAligned(2.0f), Rect(0.0f, 0.0f, 10.5f, 10.5f));
  EXPECT_EQ(Rect(10, 10, 20, 20).PaddedPixelAligned(0.75f, 1.0f), Rect(9, 9, 21, 21));
  EXPECT_EQ(Rect(10, 10, 20, 20).PaddedPixelAligned(0.75f, 2.0f), Rect(9, 9, 21, 21));
  EXPECT_EQ(Rect(10, 10, 20, 20).PaddedPixelAligned(0.75f, 4.0f),
            Rect(9.25f, 9.25f, 20.75f, 20.75f));

  // A child rectangle sticking out of its parent is moved and cut inside it.
  EXPECT_EQ(Rect(-5, 2, 5, 8).ConstrainedTo(Rect(0, 0, 100, 100)), Rect(0, 2, 10, 8));
  EXPECT_EQ(Rect(90, 2, 110, 8).ConstrainedTo(Rect(0, 0, 100, 100)), Rect(79, 2, 99, 8));
}

TEST(MatrixTest, ComposesInDrawingOrderAndInverts) {
  Matrix m;
  m.Translate(10, 20).Rotate(90).Scale(2, 3);
  double x = 1, y = 0;
  m.TransformPoint(x, y);  // scale → (2, 0), rotate 90° clockwise → (0, 2), translate
  EXPECT_NEAR(x, 10.0, 1e-12);
  EXPECT_NEAR(y, 22.0, 1e-12);
  Matrix inverse = m;
  ASSERT_TRUE(inverse.Invert());
  inverse.TransformPoint(x, y);
  EXPECT_NEAR(x, 1.0, 1e-12);
  EXPECT_NEAR(y, 0.0, 1e-12);
  Matrix singular;
  singular.Scale(0, 1);
  EXPECT_FALSE(singular.Invert());
}

}  // namespace
}  // namespace plugkit::gfx
