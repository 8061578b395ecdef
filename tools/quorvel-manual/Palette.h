// The manual's colours, shared by its text and its figures.

#pragma once

#include <cairo.h>

namespace quorvelManual {

struct Rgb {
  double r, g, b;
};
inline constexpr Rgb kInk{0.13, 0.15, 0.17};
inline constexpr Rgb kSlate{0.14, 0.22, 0.28};
inline constexpr Rgb kAmber{0.80, 0.46, 0.10};

inline void SetColor(cairo_t* cr, Rgb c) { cairo_set_source_rgb(cr, c.r, c.g, c.b); }

}  // namespace quorvelManual
