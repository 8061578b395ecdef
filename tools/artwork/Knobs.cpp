#include "tools/artwork/Knobs.h"

#include <algorithm>
#include <cmath>

namespace artwork {

namespace {

constexpr Rgb kWhite{0.95, 0.95, 0.92};
constexpr Rgb kAmber{1.0, 0.62, 0.16};
constexpr Rgb kBlackLight{0.34, 0.35, 0.37};
constexpr Rgb kBlackDark{0.05, 0.05, 0.06};
constexpr Rgb kAluLight{0.93, 0.93, 0.92};
constexpr Rgb kAluDark{0.46, 0.47, 0.49};

void Pointer(cairo_t* cr, double cx, double cy, double angle, double r0, double r1, double width,
             Rgb colour) {
  const Direction d = DirectionOf(angle);
  cairo_move_to(cr, cx + d.x * r0, cy + d.y * r0);
  cairo_line_to(cr, cx + d.x * r1, cy + d.y * r1);
  cairo_set_line_width(cr, width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  SetColour(cr, colour);
  cairo_stroke(cr);
}

// A black cap with a soft top light and a thin bright rim.
void BlackCap(cairo_t* cr, double cx, double cy, double r) {
  cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
  FillDome(cr, cx, cy, r, kBlackLight, kBlackDark);
  cairo_arc(cr, cx, cy, r - 0.35, 0, 2 * kPi);
  cairo_set_line_width(cr, 0.7);
  cairo_pattern_t* rim = cairo_pattern_create_linear(cx - r, cy - r, cx + r, cy + r);
  cairo_pattern_add_color_stop_rgba(rim, 0, 1, 1, 1, 0.35);
  cairo_pattern_add_color_stop_rgba(rim, 1, 1, 1, 1, 0.02);
  cairo_set_source(cr, rim);
  cairo_stroke(cr);
  cairo_pattern_destroy(rim);
}

// A turned aluminium skirt whose knurling turns with the knob.
void KnurledSkirt(cairo_t* cr, double cx, double cy, double r, double angle, int ridges) {
  cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
  FillDome(cr, cx, cy, r, kAluLight, kAluDark);
  cairo_set_line_width(cr, 0.45);
  for (int i = 0; i < ridges; ++i) {
    const Direction d = DirectionOf(angle + 360.0 * i / ridges);
    cairo_move_to(cr, cx + d.x * (r - 1.6), cy + d.y * (r - 1.6));
    cairo_line_to(cr, cx + d.x * r, cy + d.y * r);
  }
  cairo_set_source_rgba(cr, 0.1, 0.1, 0.12, 0.55);
  cairo_stroke(cr);
}

double Wave(int shape, double x) {
  switch (shape) {
    case 0:
      return std::sin(2 * kPi * x);
    case 2: {
      const double v = Wave(1, x);
      const double u = 2.5 - std::sqrt(4.25 - 2 * v);
      return -(1 - u) * (1 - u) - 0.5 * u * (1 - u) + u * u;
    }
    case 3:
      return x < 1.0 / 128     ? 128 * x
             : x < 127.0 / 128 ? 1 - (2 * x - 1.0 / 64) / (63.0 / 64)
                               : 128 * (x - 1);
    case 4:
      if (x < 1.0 / 128) return 128 * x;
      if (x < 63.0 / 128) return 1;
      if (x < 65.0 / 128) return 1 - 64 * (2 * x - 1 + 1.0 / 64);
      if (x < 127.0 / 128) return -1;
      return 128 * (x - 1);
    default:
      return x < 0.25 ? 4 * x : x < 0.75 ? 4 * (0.5 - x) : 4 * (x - 1);
  }
}

}  // namespace

double KnobAngle(double position) { return -kKnobSweep + 2 * kKnobSweep * position; }

void PaintCapKnob(const Frame& f) {
  const double cx = f.width / 2, cy = f.height / 2, r = 8.6;
  const double angle = KnobAngle(f.Position());
  DropShadow(f.cr, cx, cy, r, 1.2, 0.45);
  BlackCap(f.cr, cx, cy, r);
  Pointer(f.cr, cx, cy, angle, 3.0, r - 1.4, 1.4, kWhite);
}

void PaintTinyKnob(const Frame& f) {
  const double cx = f.width / 2, cy = f.height / 2, r = 5.6;
  DropShadow(f.cr, cx, cy, r, 0.9, 0.45);
  BlackCap(f.cr, cx, cy, r);
  Pointer(f.cr, cx, cy, KnobAngle(f.Position()), 1.6, r - 1.0, 1.2, kWhite);
}

void PaintBigKnob(const Frame& f) {
  const double cx = f.width / 2, cy = f.height / 2, r = 12.6;
  const double angle = KnobAngle(f.Position());
  DropShadow(f.cr, cx, cy, r, 1.4, 0.5);
  KnurledSkirt(f.cr, cx, cy, r, angle, 40);
  BlackCap(f.cr, cx, cy, 9.2);
  Pointer(f.cr, cx, cy, angle, 3.2, 8.2, 1.6, kAmber);
  Pointer(f.cr, cx, cy, angle, r - 1.5, r - 0.3, 1.2, kBlackDark);
}

void PaintTrimKnob(const Frame& f) {
  const double cx = f.width / 2, cy = f.height / 2, r = 16.5;
  const double angle = KnobAngle(f.Position());
  DropShadow(f.cr, cx, cy, r, 1.6, 0.6);
  KnurledSkirt(f.cr, cx, cy, r, angle, 56);
  BlackCap(f.cr, cx, cy, 12.4);
  Pointer(f.cr, cx, cy, angle, 4.5, 11.2, 1.8, kAmber);
}

double SliderHandleY(double frameHeight, double position) {
  const double travel = frameHeight - 10;
  return frameHeight - 5 - travel * position;
}

void PaintSlider(const Frame& f) {
  cairo_t* cr = f.cr;
  const double y = SliderHandleY(f.height, f.Position());
  const double w = f.width - 2, h = 9;
  RoundedRect(cr, 1.6, y - h / 2 + 1.3, w, h, 1.8);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.45);
  cairo_fill(cr);
  RoundedRect(cr, 1, y - h / 2, w, h, 1.8);
  FillVertical(cr, y - h / 2, y + h / 2, {0.36, 0.37, 0.39}, {0.08, 0.08, 0.09});
  // Grip ridges and the white index line.
  cairo_set_line_width(cr, 0.5);
  for (double dy : {-3.0, -1.8, 1.8, 3.0}) {
    cairo_move_to(cr, 2.5, y + dy);
    cairo_line_to(cr, f.width - 2.5, y + dy);
  }
  cairo_set_source_rgba(cr, 1, 1, 1, 0.18);
  cairo_stroke(cr);
  cairo_move_to(cr, 2, y);
  cairo_line_to(cr, f.width - 2, y);
  cairo_set_line_width(cr, 1.1);
  SetColour(cr, kWhite);
  cairo_stroke(cr);
}

void PaintLfoWindow(const Frame& f) {
  cairo_t* cr = f.cr;
  RoundedRect(cr, 0.5, 0.5, f.width - 1, f.height - 1, 2);
  FillVertical(cr, 0, f.height, {0.02, 0.07, 0.06}, {0.04, 0.12, 0.10});
  cairo_set_line_width(cr, 0.3);
  cairo_move_to(cr, 2, f.height / 2);
  cairo_line_to(cr, f.width - 2, f.height / 2);
  cairo_set_source_rgba(cr, 0.4, 0.9, 0.75, 0.25);
  cairo_stroke(cr);

  // Between the five named frames the trace morphs from one wave into the next.
  const double s = f.Position() * 4;
  const int a = std::min(3, static_cast<int>(s));
  const double t = s - a;
  const double x0 = 3, x1 = f.width - 3, mid = f.height / 2, amp = f.height / 2 - 3.5;
  for (int i = 0; i <= 96; ++i) {
    const double x = i / 96.0;
    const double y = (1 - t) * Wave(a, x) + t * Wave(a + 1, x);
    const double px = x0 + (x1 - x0) * x, py = mid - amp * y;
    i == 0 ? cairo_move_to(cr, px, py) : cairo_line_to(cr, px, py);
  }
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_width(cr, 2.2);
  cairo_set_source_rgba(cr, 0.3, 1.0, 0.75, 0.25);
  cairo_stroke_preserve(cr);
  cairo_set_line_width(cr, 0.9);
  cairo_set_source_rgb(cr, 0.6, 1.0, 0.85);
  cairo_stroke(cr);

  // Glass: a faint reflection over the upper half.
  RoundedRect(cr, 0.5, 0.5, f.width - 1, f.height / 2, 2);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.05);
  cairo_fill(cr);
}

}  // namespace artwork
