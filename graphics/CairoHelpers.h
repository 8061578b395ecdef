#pragma once

#include <cairo.h>

#include <algorithm>

#include "framework/SaturatingCast.h"
#include "graphics/GraphicsTypes.h"

namespace plugkit::gfx {

inline cairo_operator_t CairoOperator(const Blend* blend) {
  if (!blend) return CAIRO_OPERATOR_OVER;
  switch (blend->method) {
    case BlendMethod::SrcOver:
      return CAIRO_OPERATOR_OVER;
    case BlendMethod::SrcIn:
      return CAIRO_OPERATOR_IN;
    case BlendMethod::SrcOut:
      return CAIRO_OPERATOR_OUT;
    case BlendMethod::SrcAtop:
      return CAIRO_OPERATOR_ATOP;
    case BlendMethod::DstOver:
      return CAIRO_OPERATOR_DEST_OVER;
    case BlendMethod::DstIn:
      return CAIRO_OPERATOR_DEST_IN;
    case BlendMethod::DstOut:
      return CAIRO_OPERATOR_DEST_OUT;
    case BlendMethod::DstAtop:
      return CAIRO_OPERATOR_DEST_ATOP;
    case BlendMethod::Add:
      return CAIRO_OPERATOR_ADD;
    case BlendMethod::XOR:
      return CAIRO_OPERATOR_XOR;
  }
  return CAIRO_OPERATOR_OVER;
}

// Cairo applies these outside the drawn shape too (clearing the destination there), so the
// drawing must be clipped to the shape first.
inline bool IsUnbounded(cairo_operator_t op) {
  return op == CAIRO_OPERATOR_IN || op == CAIRO_OPERATOR_OUT || op == CAIRO_OPERATOR_DEST_IN ||
         op == CAIRO_OPERATOR_DEST_ATOP;
}

// Alpha 0..255 of a colour drawn with the blend's weight.
inline int WeightedAlpha(int alpha, const Blend* blend) {
  alpha = std::clamp(alpha, 0, 255);
  if (!blend) return alpha;
  return std::clamp(SaturateTruncate<int>(alpha * static_cast<double>(blend->weight)), 0, 255);
}

inline void SetSourceColor(cairo_t* cr, const Color& color, const Blend* blend) {
  auto channel = [](int v) { return std::clamp(v, 0, 255) / 255.0; };
  cairo_set_source_rgba(cr, channel(color.R), channel(color.G), channel(color.B),
                        WeightedAlpha(color.A, blend) / 255.0);
}

// Cairo keeps one path per context and clipping consumes it. The main path must survive the
// clips that bitmap drawing and clip changes make, so it is set aside meanwhile (in device
// coordinates, so a transform change in between does not move it).
class SetAsidePath {
 public:
  explicit SetAsidePath(cairo_t* cr) : cr_(cr) {
    cairo_matrix_t matrix;
    cairo_get_matrix(cr_, &matrix);
    cairo_identity_matrix(cr_);
    path_ = cairo_copy_path(cr_);
    cairo_new_path(cr_);
    cairo_set_matrix(cr_, &matrix);
  }
  ~SetAsidePath() {
    cairo_matrix_t matrix;
    cairo_get_matrix(cr_, &matrix);
    cairo_identity_matrix(cr_);
    cairo_new_path(cr_);
    if (path_->status == CAIRO_STATUS_SUCCESS) cairo_append_path(cr_, path_);
    cairo_path_destroy(path_);
    cairo_set_matrix(cr_, &matrix);
  }
  SetAsidePath(const SetAsidePath&) = delete;
  SetAsidePath& operator=(const SetAsidePath&) = delete;

 private:
  cairo_t* cr_;
  cairo_path_t* path_;
};

}  // namespace plugkit::gfx
