#pragma once

#include <vector>

namespace plugkit::gfx {

// Rectangle in editor units, left/top inclusive, right/bottom exclusive. Empty means all four
// edges are exactly 0; a zero-width rectangle elsewhere is not empty.
struct Rect {
  float L = 0.0f;
  float T = 0.0f;
  float R = 0.0f;
  float B = 0.0f;

  constexpr Rect() = default;
  constexpr Rect(float l, float t, float r, float b) : L(l), T(t), R(r), B(b) {}

  friend constexpr bool operator==(const Rect&, const Rect&) = default;

  constexpr bool Empty() const { return L == 0.0f && T == 0.0f && R == 0.0f && B == 0.0f; }
  constexpr float W() const { return R - L; }
  constexpr float H() const { return B - T; }
  constexpr float Area() const { return W() * H(); }
  constexpr float MW() const { return 0.5f * (L + R); }
  constexpr float MH() const { return 0.5f * (T + B); }

  // Point hit: left/top inclusive, right/bottom exclusive.
  constexpr bool ContainsPoint(float x, float y) const {
    return L <= x && x < R && T <= y && y < B;
  }
  // Both non-empty and other inside this one, edges included.
  bool Contains(const Rect& other) const;
  // Both non-empty and overlapping; touching on this rectangle's right or bottom edge counts.
  bool Intersects(const Rect& other) const;
  // The overlap (max of the near edges, min of the far edges); may have zero or negative size.
  Rect Intersect(const Rect& other) const;
  // The bounding rectangle; an empty rectangle contributes nothing.
  Rect Union(const Rect& other) const;
  Rect Padded(float pad) const { return {L - pad, T - pad, R + pad, B + pad}; }
  // Edges moved outwards to whole device pixels at the given pixel scale.
  Rect PixelAligned(float scale) const;
  // Padded, then moved outwards to whole device pixels.
  Rect PaddedPixelAligned(float pad, float scale) const;
  // Moves this rectangle inside `bounds` (shifted first, then cut), as child clipping needs.
  Rect ConstrainedTo(const Rect& bounds) const;
};

// The dirty areas of one frame, in the order they are drawn.
class RectList {
 public:
  void Add(const Rect& r) { rects_.push_back(r); }
  void Clear() { rects_.clear(); }
  int Size() const { return static_cast<int>(rects_.size()); }
  bool IsEmpty() const { return rects_.empty(); }
  const Rect& Get(int i) const { return rects_[static_cast<std::size_t>(i)]; }
  Rect& Get(int i) { return rects_[static_cast<std::size_t>(i)]; }
  const std::vector<Rect>& Rects() const { return rects_; }

  Rect Bounds() const;
  void PixelAlign(float scale);
  // Removes overlaps (no pixel is drawn twice) and merges touching rectangles that share
  // both edges of one axis.
  void Optimize();

  // Same left and right with touching or overlapping rows, or same top and bottom with
  // touching or overlapping columns; an empty rectangle merges with anything.
  static bool Mergeable(const Rect& a, const Rect& b);

 private:
  void RemoveOverlaps();
  void MergeNeighbours();
  // Takes the overlap X out of rectangle `index`: the rectangle is replaced by its first
  // remaining piece and further pieces are appended. Returns false when nothing remains and
  // the rectangle was removed.
  bool CutOut(std::size_t index, const Rect& X, bool shrink);

  std::vector<Rect> rects_;
};

}  // namespace plugkit::gfx
