#include "tools/artwork/Switches.h"

#include <cmath>

namespace artwork {

namespace {

constexpr Rgb kChromeLight{0.97, 0.97, 0.96};
constexpr Rgb kChromeDark{0.42, 0.43, 0.45};
constexpr Rgb kSlotTop{0.02, 0.02, 0.03};
constexpr Rgb kSlotBottom{0.10, 0.10, 0.11};
constexpr Rgb kOnColour{1.0, 0.55, 0.12};

void Slot(cairo_t* cr, double x, double y, double w, double h) {
  const double r = std::min(w, h) / 2.6;
  RoundedRect(cr, x, y, w, h, r);
  FillVertical(cr, y, y + h, kSlotTop, kSlotBottom);
  RoundedRect(cr, x + 0.25, y + 0.25, w - 0.5, h - 0.5, r);
  cairo_set_line_width(cr, 0.5);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.12);
  cairo_stroke(cr);
}

// A brushed metal block with bevelled edges.
void Thumb(cairo_t* cr, double x, double y, double w, double h, bool vertical) {
  RoundedRect(cr, x + 0.4, y + 0.8, w, h, 1.2);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.5);
  cairo_fill(cr);
  RoundedRect(cr, x, y, w, h, 1.2);
  FillVertical(cr, y, y + h, kChromeLight, kChromeDark);
  cairo_set_line_width(cr, 0.5);
  const int ridges = static_cast<int>((vertical ? h : w) / 2.2);
  for (int i = 1; i < ridges; ++i) {
    const double t = static_cast<double>(i) / ridges;
    if (vertical) {
      cairo_move_to(cr, x + 1.2, y + h * t);
      cairo_line_to(cr, x + w - 1.2, y + h * t);
    } else {
      cairo_move_to(cr, x + w * t, y + 1.2);
      cairo_line_to(cr, x + w * t, y + h - 1.2);
    }
  }
  cairo_set_source_rgba(cr, 0.1, 0.1, 0.12, 0.35);
  cairo_stroke(cr);
}

}  // namespace

Point LeverPivot(double frameWidth) { return {frameWidth / 2, 4.5}; }

double LeverAngle(int position) { return -60.0 + 30.0 * position; }

double SlideStop(double frameWidth, int stops, int stop) {
  const double thumb = stops > 2 ? 15 : 13;
  const double first = 1 + thumb / 2, last = frameWidth - 1 - thumb / 2;
  return first + (last - first) * stop / (stops - 1);
}

void PaintSourceLever(const Frame& f) {
  cairo_t* cr = f.cr;
  const Point p = LeverPivot(f.width);
  const double a = LeverAngle(f.index) * kPi / 180;
  const double dx = std::sin(a), dy = std::cos(a);
  const double tipX = p.x + dx * kLeverLength, tipY = p.y + dy * kLeverLength;

  // Shadow, then a tapered chrome bat ending in a ball.
  for (int pass = 0; pass < 2; ++pass) {
    const double ox = pass == 0 ? 0.6 : 0, oy = pass == 0 ? 1.3 : 0;
    const double nx = -dy, ny = dx;
    cairo_move_to(cr, p.x + nx * 1.9 + ox, p.y + ny * 1.9 + oy);
    cairo_line_to(cr, tipX + nx * 1.0 + ox, tipY + ny * 1.0 + oy);
    cairo_line_to(cr, tipX - nx * 1.0 + ox, tipY - ny * 1.0 + oy);
    cairo_line_to(cr, p.x - nx * 1.9 + ox, p.y - ny * 1.9 + oy);
    cairo_close_path(cr);
    cairo_arc(cr, tipX + ox, tipY + oy, 2.7, 0, 2 * kPi);
    if (pass == 0) {
      cairo_set_source_rgba(cr, 0, 0, 0, 0.45);
      cairo_fill(cr);
    } else {
      cairo_pattern_t* g =
          cairo_pattern_create_linear(p.x + nx * 2, p.y + ny * 2, p.x - nx * 2, p.y - ny * 2);
      cairo_pattern_add_color_stop_rgb(g, 0, kChromeDark.r, kChromeDark.g, kChromeDark.b);
      cairo_pattern_add_color_stop_rgb(g, 0.45, kChromeLight.r, kChromeLight.g, kChromeLight.b);
      cairo_pattern_add_color_stop_rgb(g, 1, kChromeDark.r, kChromeDark.g, kChromeDark.b);
      cairo_set_source(cr, g);
      cairo_fill(cr);
      cairo_pattern_destroy(g);
    }
  }
  cairo_arc(cr, tipX, tipY, 2.7, 0, 2 * kPi);
  FillDome(cr, tipX, tipY, 2.7, kChromeLight, kChromeDark);
  cairo_arc(cr, p.x, p.y, 3.4, 0, 2 * kPi);
  FillDome(cr, p.x, p.y, 3.4, {0.75, 0.75, 0.76}, {0.22, 0.22, 0.24});
}

void PaintSlideSwitch(const Frame& f) {
  cairo_t* cr = f.cr;
  Slot(cr, 0.5, 0.5, f.width - 1, f.height - 1);
  const double thumb = f.count > 2 ? 15 : 13;
  const double cx = SlideStop(f.width, f.count, f.index);
  Thumb(cr, cx - thumb / 2, 1.5, thumb, f.height - 3.2, false);
}

// The uncovered half of the slot glows amber when the switch is on.
void PaintToggle(const Frame& f) {
  cairo_t* cr = f.cr;
  const bool on = f.index == 1;
  const bool vertical = f.height > f.width;
  Slot(cr, 0.5, 0.5, f.width - 1, f.height - 1);
  const double inset = 1.6;
  const double w = vertical ? f.width - 2 * inset : (f.width - 2 * inset) * 0.55;
  const double h = vertical ? (f.height - 2 * inset) * 0.55 : f.height - 2 * inset;
  // On is to the right, or up.
  const double x = vertical || !on ? inset : f.width - inset - w;
  const double y = !vertical || on ? inset : f.height - inset - h;
  if (on) {
    const double lx = vertical ? inset + 0.8 : inset + 1.2;
    const double ly = vertical ? y + h + 1.2 : inset + 0.8;
    const double lw = vertical ? f.width - 2 * lx : f.width - 2 * inset - w - 2.4;
    const double lh = vertical ? f.height - inset - 1.2 - ly : f.height - 2 * ly;
    RoundedRect(cr, lx, ly, lw, lh, 0.8);
    SetColour(cr, kOnColour, 0.9);
    cairo_fill(cr);
  }
  Thumb(cr, x, y, w, h, vertical);
}

}  // namespace artwork
