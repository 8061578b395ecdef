#include "tools/artwork/Meters.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>

#include "tools/artwork/Layout.h"

namespace artwork {

namespace {

constexpr double kFloorAmplitude = 0.06309573444802;  // −24 dB, the left end of the scale
constexpr Rgb kPrint{0.90, 0.88, 0.80};
constexpr Rgb kHot{0.95, 0.25, 0.15};
constexpr Rgb kNeedle{1.0, 0.97, 0.90};

struct Scale {
  double tickInner, tickOuter, labelRadius, textSize;
};

constexpr const char* kMinus = "\xe2\x88\x92";  // U+2212, the typographic minus

constexpr int kLabelled[] = {-24, -18, -12, -9, -6, -3, 0};

void Tick(cairo_t* cr, Point pivot, double angle, double r0, double r1, double width) {
  const Direction d = DirectionOf(angle);
  cairo_move_to(cr, pivot.x + d.x * r0, pivot.y + d.y * r0);
  cairo_line_to(cr, pivot.x + d.x * r1, pivot.y + d.y * r1);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

void DrawScale(const Frame& f, Point pivot, const Scale& s) {
  cairo_t* cr = f.cr;
  // The red zone from −3 dB to full scale.
  const double a0 = (MeterAngle(-3) - 90) * kPi / 180, a1 = (MeterAngle(0) - 90) * kPi / 180;
  cairo_arc(cr, pivot.x, pivot.y, s.tickOuter - 1, a0, a1);
  cairo_set_line_width(cr, 2);
  SetColour(cr, kHot, 0.85);
  cairo_stroke(cr);

  const double start = (MeterAngle(-24) - 90) * kPi / 180;
  cairo_arc(cr, pivot.x, pivot.y, s.tickOuter, start, a1);
  cairo_set_line_width(cr, 0.6);
  SetColour(cr, kPrint);
  cairo_stroke(cr);

  for (int db = -24; db <= 0; ++db) {
    const bool labelled = std::ranges::find(kLabelled, db) != std::end(kLabelled);
    if (!labelled && db < -12 && db % 2 != 0) continue;
    SetColour(cr, db > -3 ? kHot : kPrint);
    const double inner = labelled ? s.tickInner : (s.tickInner + s.tickOuter) / 2;
    Tick(cr, pivot, MeterAngle(db), inner, s.tickOuter, labelled ? 0.9 : 0.5);
    if (!labelled) continue;
    const Direction d = DirectionOf(MeterAngle(db));
    TextStyle style{.size = s.textSize, .colour = db == 0 ? kHot : kPrint};
    const std::string text = db < 0 ? kMinus + std::to_string(-db) : std::to_string(db);
    DrawLabel(cr, f.type, text, pivot.x + d.x * s.labelRadius, pivot.y + d.y * s.labelRadius,
              style);
  }
}

void Needle(const Frame& f, Point pivot, double r0, double r1) {
  const double angle = kNeedleStart + (kNeedleEnd - kNeedleStart) * f.Position();
  const Direction d = DirectionOf(angle);
  cairo_t* cr = f.cr;
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_move_to(cr, pivot.x + d.x * r0 + 0.7, pivot.y + d.y * r0 + 1.2);
  cairo_line_to(cr, pivot.x + d.x * r1 + 0.7, pivot.y + d.y * r1 + 1.2);
  cairo_set_line_width(cr, 1.4);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
  cairo_stroke(cr);
  cairo_move_to(cr, pivot.x + d.x * r0, pivot.y + d.y * r0);
  cairo_line_to(cr, pivot.x + d.x * r1, pivot.y + d.y * r1);
  cairo_set_line_width(cr, 1.1);
  SetColour(cr, kNeedle);
  cairo_stroke(cr);
}

}  // namespace

double MeterAngle(double decibels) {
  const double level = (std::pow(10, decibels / 20) - kFloorAmplitude) / (1 - kFloorAmplitude);
  return kNeedleStart + (kNeedleEnd - kNeedleStart) * level;
}

void PaintOuterMeter(const Frame& f) {
  cairo_t* cr = f.cr;
  const Point pivot{kPivotX - kOuterMeterX, kPivotY - kOuterMeterY};
  RoundedRect(cr, 0.5, 0.5, f.width - 1, f.height - 5, 7);
  // The faces are lit from above only: vertical gradients keep a hundred frames small as PNG.
  FillVertical(cr, 0, f.height, {0.12, 0.12, 0.13}, {0.03, 0.03, 0.035});
  DrawScale(f, pivot, {70, 77, 63.5, 5});
  TextStyle title{.size = 5, .colour = kPrint, .tracking = 0.8};
  DrawLabel(cr, f.type, "GATE", pivot.x, f.height - 10, title);
  title.align = Align::Right;
  title.tracking = 0;
  DrawLabel(cr, f.type, "dB", f.width - 6, f.height - 10, title);
  Needle(f, pivot, 57, 79);
}

void PaintInnerMeter(const Frame& f) {
  cairo_t* cr = f.cr;
  const Point pivot{kPivotX - kInnerMeterX, kPivotY - kInnerMeterY};
  cairo_arc(cr, pivot.x, pivot.y, 51.5, 0, 2 * kPi);
  FillVertical(cr, 0, f.height, {0.18, 0.18, 0.19}, {0.07, 0.07, 0.075});
  cairo_arc(cr, pivot.x, pivot.y, 51.5, 0, 2 * kPi);
  cairo_set_line_width(cr, 1);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.8);
  cairo_stroke(cr);
  DrawScale(f, pivot, {43.5, 49.5, 37.5, 4.6});
  TextStyle title{.size = 5, .colour = kPrint, .tracking = 0.8};
  DrawLabel(cr, f.type, "ENV", pivot.x, pivot.y - 27, title);
  title.align = Align::Left;
  DrawLabel(cr, f.type, "TRIM", pivot.x + 21, f.height - 5, title);
  Needle(f, pivot, 20, 49);
}

}  // namespace artwork
