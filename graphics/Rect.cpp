#include "graphics/Rect.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace plugkit::gfx {

bool Rect::Contains(const Rect& o) const {
  if (Empty() || o.Empty()) return false;
  return o.L >= L && o.T >= T && o.R <= R && o.B <= B;
}

bool Rect::Intersects(const Rect& o) const {
  if (Empty() || o.Empty()) return false;
  return R >= o.L && L < o.R && B >= o.T && T < o.B;
}

Rect Rect::Intersect(const Rect& o) const {
  return {std::max(L, o.L), std::max(T, o.T), std::min(R, o.R), std::min(B, o.B)};
}

Rect Rect::Union(const Rect& o) const {
  if (Empty()) return o;
  if (o.Empty()) return *this;
  return {std::min(L, o.L), std::min(T, o.T), std::max(R, o.R), std::max(B, o.B)};
}

Rect Rect::PixelAligned(float scale) const {
  return {std::floor(L * scale) / scale, std::floor(T * scale) / scale,
          std::ceil(R * scale) / scale, std::ceil(B * scale) / scale};
}

Rect Rect::PaddedPixelAligned(float pad, float scale) const {
  return {std::floor((L - pad) * scale) / scale, std::floor((T - pad) * scale) / scale,
          std::ceil((R + pad) * scale) / scale, std::ceil((B + pad) * scale) / scale};
}

Rect Rect::ConstrainedTo(const Rect& bounds) const {
  Rect r = *this;
  if (r.L < bounds.L) {
    const float w = r.W();
    r.L = bounds.L;
    r.R = std::min(bounds.R - 1.0f, bounds.L + w);
  }
  if (r.T < bounds.T) {
    const float h = r.H();
    r.T = bounds.T;
    r.B = std::min(bounds.B - 1.0f, bounds.T + h);
  }
  if (r.R >= bounds.R) {
    const float overflow = r.R - bounds.R;
    r.L = std::max(bounds.L, r.L - overflow - 1.0f);
    r.R = bounds.R - 1.0f;
  }
  if (r.B >= bounds.B) {
    const float overflow = r.B - bounds.B;
    r.T = std::max(bounds.T, r.T - overflow - 1.0f);
    r.B = bounds.B - 1.0f;
  }
  return r;
}

Rect RectList::Bounds() const {
  Rect bounds;
  for (const Rect& r : rects_) bounds = bounds.Union(r);
  return bounds;
}

void RectList::PixelAlign(float scale) {
  for (Rect& r : rects_) r = r.PixelAligned(scale);
}

bool RectList::Mergeable(const Rect& a, const Rect& b) {
  if (a.Empty() || b.Empty()) return true;
  if (a.L == b.L && a.R == b.R) {
    return (a.T >= b.T && a.T <= b.B) || (b.T >= a.T && b.T <= a.B);
  }
  if (a.T == b.T && a.B == b.B) {
    return (a.L >= b.L && a.L <= b.R) || (b.L >= a.L && b.L <= a.R);
  }
  return false;
}

void RectList::Optimize() {
  RemoveOverlaps();
  MergeNeighbours();
}

namespace {

// Whether the classic one-step cut of X out of r (a shrink to one side, or a split into the
// band above/below and the piece beside X) leaves exactly r minus X. It does when X lies along
// a whole side or in a corner of r, and trivially when X has no area.
bool ClassicCutIsExact(const Rect& r, const Rect& X, bool shrink) {
  if (X.W() <= 0.0f || X.H() <= 0.0f) return true;
  const bool sL = X.L == r.L, sT = X.T == r.T, sR = X.R == r.R, sB = X.B == r.B;
  if (shrink) {
    if (!sL) return sR && sT && sB;
    if (!sT) return sB && sR;
    if (!sR) return sT && sB;
    return true;
  }
  if (sL && sT) return true;
  if (sL) return sB;
  if (sT) return sR;
  return sR && sB;
}

Rect ClassicShrink(const Rect& r, const Rect& X) {
  if (X.L != r.L) return {r.L, r.T, X.L, r.B};
  if (X.T != r.T) return {r.L, r.T, r.R, X.T};
  if (X.R != r.R) return {X.R, r.T, r.R, r.B};
  return {r.L, X.B, r.R, r.B};
}

// Returns the replacement of r and sets `appended` to the second piece.
Rect ClassicSplit(const Rect& r, const Rect& X, Rect& appended) {
  if (r.L == X.L && r.T == X.T) {
    appended = {X.R, r.T, r.R, X.B};
    return {r.L, X.B, r.R, r.B};
  }
  if (r.L == X.L) {
    appended = {r.L, r.T, r.R, X.T};
    return {X.R, X.T, r.R, r.B};
  }
  if (r.T == X.T) {
    appended = {r.L, r.T, X.L, X.B};
    return {r.L, X.B, r.R, r.B};
  }
  appended = {r.L, r.T, r.R, X.T};
  return {r.L, X.T, X.L, r.B};
}

}  // namespace

bool RectList::CutOut(std::size_t index, const Rect& X, bool shrink) {
  const Rect r = rects_[index];
  if (ClassicCutIsExact(r, X, shrink)) {
    if (shrink) {
      rects_[index] = ClassicShrink(r, X);
    } else {
      Rect appended;
      rects_[index] = ClassicSplit(r, X, appended);
      rects_.push_back(appended);
    }
    return true;
  }
  // X lies across the middle of r or against one side only: the one-step cut would drop part
  // of r from the frame, so take r apart into the bands above and below X and the pieces
  // beside it.
  Rect pieces[4] = {
      {r.L, r.T, r.R, X.T}, {r.L, X.B, r.R, r.B}, {r.L, X.T, X.L, X.B}, {X.R, X.T, r.R, X.B}};
  bool replaced = false;
  for (const Rect& piece : pieces) {
    if (piece.W() <= 0.0f || piece.H() <= 0.0f) continue;
    if (!replaced) {
      rects_[index] = piece;
      replaced = true;
    } else {
      rects_.push_back(piece);
    }
  }
  if (!replaced) rects_.erase(rects_.begin() + static_cast<std::ptrdiff_t>(index));
  return replaced;
}

void RectList::RemoveOverlaps() {
  for (std::size_t i = 0; i < rects_.size(); ++i) {
    std::size_t j = i + 1;
    while (j < rects_.size()) {
      const Rect a = rects_[i];
      const Rect b = rects_[j];
      if (a.Contains(b)) {
        rects_.erase(rects_.begin() + static_cast<std::ptrdiff_t>(j));
        continue;
      }
      if (b.Contains(a)) {
        rects_.erase(rects_.begin() + static_cast<std::ptrdiff_t>(i));
        j = i + 1;
        if (i >= rects_.size()) return;
        continue;
      }
      if (a.Intersects(b)) {
        const Rect X = a.Intersect(b);
        if (Mergeable(a, X)) {
          if (!CutOut(i, X, true)) {
            j = i + 1;
            if (i >= rects_.size()) return;
            continue;
          }
        } else if (Mergeable(b, X)) {
          if (!CutOut(j, X, true)) continue;
        } else if (b.Area() > a.Area()) {
          if (!CutOut(i, X, false)) {
            j = i + 1;
            if (i >= rects_.size()) return;
            continue;
          }
        } else {
          if (!CutOut(j, X, false)) continue;
        }
      }
      ++j;
    }
  }
}

void RectList::MergeNeighbours() {
  bool merged = true;
  while (merged) {
    merged = false;
    for (std::size_t i = 0; i < rects_.size() && !merged; ++i) {
      for (std::size_t j = i + 1; j < rects_.size(); ++j) {
        if (Mergeable(rects_[i], rects_[j])) {
          rects_[j] = rects_[i].Union(rects_[j]);
          rects_.erase(rects_.begin() + static_cast<std::ptrdiff_t>(i));
          merged = true;
          break;
        }
      }
    }
  }
}

}  // namespace plugkit::gfx
