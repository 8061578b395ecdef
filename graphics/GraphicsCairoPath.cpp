// The path interface of the Cairo backend. Cairo stores path points in device space as they
// are added, so a path built under one transform and drawn under another keeps its shape,
// while stroke widths and dashes follow the transform current when it is drawn.
#include <cmath>
#include <numbers>
#include <vector>

#include "graphics/CairoHelpers.h"
#include "graphics/GraphicsCairo.h"

namespace plugkit::gfx {
namespace {

bool Finite(std::initializer_list<double> values) {
  for (double v : values) {
    if (!std::isfinite(v)) return false;
  }
  return true;
}

double Radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

cairo_line_cap_t CairoCap(LineCap cap) {
  switch (cap) {
    case LineCap::Round:
      return CAIRO_LINE_CAP_ROUND;
    case LineCap::Square:
      return CAIRO_LINE_CAP_SQUARE;
    case LineCap::Butt:
      break;
  }
  return CAIRO_LINE_CAP_BUTT;
}

cairo_line_join_t CairoJoin(LineJoin join) {
  switch (join) {
    case LineJoin::Round:
      return CAIRO_LINE_JOIN_ROUND;
    case LineJoin::Bevel:
      return CAIRO_LINE_JOIN_BEVEL;
    case LineJoin::Miter:
      break;
  }
  return CAIRO_LINE_JOIN_MITER;
}

// Sets up painting the current path. When nothing can be drawn it drops the path, unless the
// caller keeps it, and returns false.
bool BeginPathPaint(cairo_t* cr, bool drawable, bool preserve, const Color& color,
                    const Blend* blend, cairo_operator_t& op) {
  if (!drawable) {
    if (cr && !preserve) cairo_new_path(cr);
    return false;
  }
  cairo_save(cr);
  SetSourceColor(cr, color, blend);
  op = CairoOperator(blend);
  cairo_set_operator(cr, op);
  return true;
}

// Paints the path, keeping it when asked, and restores what BeginPathPaint saved.
void EndPathPaint(cairo_t* cr, bool preserve, void (*paint)(cairo_t*),
                  void (*paintPreserve)(cairo_t*)) {
  (preserve ? paintPreserve : paint)(cr);
  cairo_restore(cr);
}

// An odd count is repeated once to make it even. Cairo refuses negative or all-zero lengths by
// putting the context into an error state, so such a pattern strokes solid instead.
void ApplyDash(cairo_t* cr, const DashPattern& dash) {
  const int count = std::clamp(dash.count, 0, DashPattern::kCapacity);
  if (count == 0) return;
  std::vector<double> lengths;
  double total = 0.0;
  for (int repeat = 0; repeat < (count % 2 ? 2 : 1); ++repeat) {
    for (int i = 0; i < count; ++i) {
      const double v = dash.values[static_cast<std::size_t>(i)];
      if (!std::isfinite(v) || v < 0.0) return;
      lengths.push_back(v);
      total += v;
    }
  }
  if (!(total > 0.0) || !std::isfinite(total)) return;
  cairo_set_dash(cr, lengths.data(), static_cast<int>(lengths.size()),
                 std::isfinite(dash.offset) ? dash.offset : 0.0);
}

}  // namespace

void GraphicsCairo::PathClear() {
  if (canvas_) cairo_new_path(canvas_);
}

void GraphicsCairo::PathClose() {
  if (canvas_) cairo_close_path(canvas_);
}

void GraphicsCairo::PathMoveTo(float x, float y) {
  if (CanDraw() && Finite({x, y})) cairo_move_to(canvas_, x, y);
}

void GraphicsCairo::PathLineTo(float x, float y) {
  if (CanDraw() && Finite({x, y})) cairo_line_to(canvas_, x, y);
}

void GraphicsCairo::PathCubicTo(float c1x, float c1y, float c2x, float c2y, float x2, float y2) {
  if (CanDraw() && Finite({c1x, c1y, c2x, c2y, x2, y2}))
    cairo_curve_to(canvas_, c1x, c1y, c2x, c2y, x2, y2);
}

void GraphicsCairo::PathQuadTo(float cx, float cy, float x2, float y2) {
  if (!CanDraw() || !Finite({cx, cy, x2, y2})) return;
  double x0 = cx;
  double y0 = cy;
  if (cairo_has_current_point(canvas_)) cairo_get_current_point(canvas_, &x0, &y0);
  // The cubic with control points two thirds of the way towards the quadratic's.
  cairo_curve_to(canvas_, x0 + 2.0 / 3.0 * (cx - x0), y0 + 2.0 / 3.0 * (cy - y0),
                 x2 + 2.0 / 3.0 * (cx - x2), y2 + 2.0 / 3.0 * (cy - y2), x2, y2);
}

void GraphicsCairo::PathArc(float cx, float cy, float r, float a1, float a2, Winding winding) {
  if (!CanDraw() || !Finite({cx, cy, r, a1, a2})) return;
  double sweep = static_cast<double>(a2) - a1;
  if (sweep >= 360.0 || sweep <= -360.0) {
    cairo_new_sub_path(canvas_);
    cairo_arc(canvas_, cx, cy, r, 0.0, 2.0 * std::numbers::pi);
    cairo_close_path(canvas_);
    return;
  }
  if (winding == Winding::Clockwise) {
    if (sweep < 0.0) sweep += 360.0;
  } else if (sweep > 0.0) {
    sweep -= 360.0;
  }
  // The framework's 0 degrees points up, Cairo's points right.
  const double start = Radians(static_cast<double>(a1) - 90.0);
  const double end = start + Radians(sweep);
  if (sweep >= 0.0) {
    cairo_arc(canvas_, cx, cy, r, start, end);
  } else {
    cairo_arc_negative(canvas_, cx, cy, r, start, end);
  }
}

void GraphicsCairo::PathStroke(const Color& color, float thickness, const StrokeOptions& options,
                               const Blend* blend) {
  cairo_operator_t op;
  const bool drawable = CanDraw() && std::isfinite(thickness) && thickness >= 0.0f;
  if (!BeginPathPaint(canvas_, drawable, options.preserve, color, blend, op)) return;
  double width = thickness;
  if (width == 0.0) {
    // A hairline: one device pixel whatever the transform.
    double dx = 1.0;
    double dy = 0.0;
    cairo_device_to_user_distance(canvas_, &dx, &dy);
    width = std::hypot(dx, dy);
  }
  cairo_set_line_width(canvas_, width);
  cairo_set_line_cap(canvas_, CairoCap(options.cap));
  cairo_set_line_join(canvas_, CairoJoin(options.join));
  cairo_set_miter_limit(canvas_, std::isfinite(options.miterLimit) ? options.miterLimit : 10.0);
  ApplyDash(canvas_, options.dash);
  if (IsUnbounded(op)) {
    // Cairo cannot clip to a stroke outline; its bounding box keeps the rest of the surface.
    double x1, y1, x2, y2;
    cairo_stroke_extents(canvas_, &x1, &y1, &x2, &y2);
    SetAsidePath keep(canvas_);
    cairo_rectangle(canvas_, x1, y1, x2 - x1, y2 - y1);
    cairo_clip(canvas_);
  }
  EndPathPaint(canvas_, options.preserve, cairo_stroke, cairo_stroke_preserve);
}

void GraphicsCairo::PathFill(const Color& color, const FillOptions& options, const Blend* blend) {
  cairo_operator_t op;
  if (!BeginPathPaint(canvas_, CanDraw(), options.preserve, color, blend, op)) return;
  cairo_set_fill_rule(canvas_, options.rule == FillRule::EvenOdd ? CAIRO_FILL_RULE_EVEN_ODD
                                                                 : CAIRO_FILL_RULE_WINDING);
  if (IsUnbounded(op)) cairo_clip_preserve(canvas_);
  EndPathPaint(canvas_, options.preserve, cairo_fill, cairo_fill_preserve);
}

}  // namespace plugkit::gfx
