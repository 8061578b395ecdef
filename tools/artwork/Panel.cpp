#include "tools/artwork/Panel.h"

#include <cmath>
#include <cstdint>
#include <string_view>

#include "tools/artwork/Knobs.h"
#include "tools/artwork/Layout.h"
#include "tools/artwork/Switches.h"

namespace artwork {

namespace {

constexpr Rgb kMetalTop{0.235, 0.24, 0.255};
constexpr Rgb kMetalBottom{0.15, 0.155, 0.17};
constexpr Rgb kLegend{0.86, 0.86, 0.82};
constexpr Rgb kTitle{0.98, 0.66, 0.24};
constexpr Rgb kSubTitle{0.55, 0.78, 0.95};

constexpr TextStyle kNameStyle{.size = 5.6, .colour = kLegend, .tracking = 0.35};
constexpr TextStyle kValueStyle{.size = 4.6, .colour = kLegend, .alpha = 0.8};

struct Legend {
  const char* text;
  double x, y;
};

// Titles of the parts of the modulation-source panel.
constexpr Legend kSubTitles[] = {
    {"ENV FOLLOWER", 282, 13}, {"LFO 1", 536, 13},     {"LFO 2", 536, 122},
    {"ADSR GATE", 364, 192},   {"ENVELOPE", 397, 266},
};

// Screws holding the plates, where no legend is printed.
constexpr Point kScrews[] = {{8, 122},   {234, 122}, {8, 240}, {312, 341}, {328, 341}, {466, 341},
                             {482, 341}, {634, 341}, {781, 9}, {781, 341}, {554, 204}, {234, 138}};

constexpr const char* kSourceNames[kLeverPositions] = {"LFO1", "ADSR", "OFF", "ENV", "LFO2"};

// Brushed metal: fine horizontal streaks of varying brightness. Each streak is one long
// run, which keeps the picture small as a PNG.
void BrushedMetal(cairo_t* cr, double width, double height) {
  cairo_rectangle(cr, 0, 0, width, height);
  FillVertical(cr, 0, height, kMetalTop, kMetalBottom);
  std::uint32_t seed = 0x9e3779b9u;
  auto random = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) / 16777216.0;
  };
  cairo_set_line_width(cr, 0.5);
  for (double y = 0.25; y < height; y += 0.5) {
    const double shade = random();
    const double x0 = random() * width * 0.6;
    cairo_move_to(cr, x0, y);
    cairo_line_to(cr, x0 + width * (0.3 + random()), y);
    if (shade > 0.5) {
      cairo_set_source_rgba(cr, 1, 1, 1, (shade - 0.5) * 0.05);
    } else {
      cairo_set_source_rgba(cr, 0, 0, 0, shade * 0.09);
    }
    cairo_stroke(cr);
  }
}

void OutlinePath(cairo_t* cr, const Section& s, double dx, double dy) {
  for (const Point& p : s.outline) cairo_line_to(cr, p.x + dx, p.y + dy);
  cairo_close_path(cr);
}

// Each section is a slightly raised plate with an engraved edge.
void SectionPlate(cairo_t* cr, const Section& s) {
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  OutlinePath(cr, s, 0, 0);
  if (s.inset) {
    cairo_set_source_rgba(cr, 0.02, 0.05, 0.10, 0.38);
  } else {
    cairo_set_source_rgba(cr, 1, 1, 1, 0.025);
  }
  cairo_fill(cr);
  OutlinePath(cr, s, 0.5, 0.5);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.10);
  cairo_set_line_width(cr, 0.8);
  cairo_stroke(cr);
  OutlinePath(cr, s, 0, 0);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.55);
  cairo_stroke(cr);
}

void Title(const Frame& f, const Section& s) {
  TextStyle style{.size = 7.2, .colour = kTitle, .align = Align::Left, .tracking = 1.4};
  DrawText(f.cr, f.type, s.title, s.titleX, s.titleY, style);
}

struct DialGeometry {
  double wellRadius, tickInner, tickOuter, valueRadius;
};

DialGeometry GeometryOf(std::string_view image) {
  if (image == "big-knob-stack.png") return {13.8, 15.2, 17.6, 21.0};
  if (image == "tiny-knob-stack.png") return {6.6, 7.6, 9.4, 12.0};
  return {9.8, 11.0, 13.3, 16.6};
}

void Dial(const Frame& f, const Placement& p, bool bipolar) {
  cairo_t* cr = f.cr;
  const StripSpec* spec = FindStrip(p.image);
  const double cx = p.x + spec->frameWidth / 2.0, cy = p.y + spec->frameHeight / 2.0;
  const DialGeometry g = GeometryOf(p.image);

  // The well the knob sits in.
  cairo_arc(cr, cx, cy, g.wellRadius, 0, 2 * kPi);
  cairo_pattern_t* well =
      cairo_pattern_create_radial(cx, cy + 0.8, g.wellRadius * 0.6, cx, cy, g.wellRadius);
  cairo_pattern_add_color_stop_rgba(well, 0, 0, 0, 0, 0.55);
  cairo_pattern_add_color_stop_rgba(well, 1, 0, 0, 0, 0.25);
  cairo_set_source(cr, well);
  cairo_fill(cr);
  cairo_pattern_destroy(well);
  cairo_new_path(cr);
  cairo_arc(cr, cx, cy, g.wellRadius, 0.1 * kPi, 0.9 * kPi);
  cairo_set_line_width(cr, 0.5);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.12);
  cairo_stroke(cr);

  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  constexpr int kTicks = 11;
  for (int i = 0; i < kTicks; ++i) {
    const double angle = KnobAngle(static_cast<double>(i) / (kTicks - 1));
    const bool major = i == 0 || i == kTicks - 1 || (bipolar && i == kTicks / 2);
    const double inner = major ? g.tickInner - 0.6 : g.tickInner + 0.4;
    const Direction d = DirectionOf(angle);
    cairo_move_to(cr, cx + d.x * inner, cy + d.y * inner);
    cairo_line_to(cr, cx + d.x * g.tickOuter, cy + d.y * g.tickOuter);
    cairo_set_line_width(cr, major ? 0.8 : 0.5);
    SetColour(cr, kLegend, major ? 0.95 : 0.6);
    cairo_stroke(cr);
  }

  const char* low = bipolar ? "\xe2\x88\x92" : p.low;
  const char* high = bipolar ? "+" : p.high;
  const Direction left = DirectionOf(-kKnobSweep), right = DirectionOf(kKnobSweep);
  TextStyle value = kValueStyle;
  if (bipolar) value.size = 5.5;
  if (low) {
    value.align = Align::Right;
    DrawLabel(cr, f.type, low, cx + left.x * g.valueRadius + 2.6, cy + left.y * g.valueRadius,
              value);
  }
  if (high) {
    value.align = Align::Left;
    DrawLabel(cr, f.type, high, cx + right.x * g.valueRadius - 2.6, cy + right.y * g.valueRadius,
              value);
  }
  if (p.mid) {
    value.align = Align::Centre;
    DrawLabel(cr, f.type, p.mid, cx, cy - g.tickOuter - 3.2, value);
  }
}

void Lever(const Frame& f, const Placement& p) {
  cairo_t* cr = f.cr;
  const StripSpec* spec = FindStrip(p.image);
  const Point pivot = LeverPivot(spec->frameWidth);
  const double px = p.x + pivot.x, py = p.y + pivot.y;
  // The gate the lever moves in, with a detent dot and a name at every position.
  // Cairo measures angles from the x axis, the lever from straight down.
  const double right = (90 - LeverAngle(kLeverPositions - 1)) * kPi / 180;
  const double left = (90 - LeverAngle(0)) * kPi / 180;
  cairo_new_path(cr);
  cairo_arc(cr, px, py, kLeverLength, right, left);
  cairo_set_line_width(cr, 2.4);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.4);
  cairo_stroke_preserve(cr);
  cairo_set_line_width(cr, 0.4);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.06);
  cairo_stroke(cr);
  for (int i = 0; i < kLeverPositions; ++i) {
    const double a = LeverAngle(i) * kPi / 180;
    const double dx = std::sin(a), dy = std::cos(a);
    cairo_arc(cr, px + dx * (kLeverLength + 3.6), py + dy * (kLeverLength + 3.6), 0.55, 0, 2 * kPi);
    SetColour(cr, kLegend, 0.8);
    cairo_fill(cr);
    const double r = kLeverLength + 8.6 + (i == 0 || i == 4 ? 2.5 : 0);
    TextStyle style = kValueStyle;
    style.size = 4.3;
    DrawLabel(cr, f.type, kSourceNames[i], px + dx * r, py + dy * r - (i == 2 ? 1 : 0), style);
  }
}

void Slide(const Frame& f, const Placement& p) {
  const StripSpec* spec = FindStrip(p.image);
  const char* legends[] = {p.low, p.mid, p.high};
  TextStyle style = kValueStyle;
  if (spec->frames == 2) {
    style.size = 4.8;
    // Two-way switches carry their legends at the ends.
    const double y = p.y + spec->frameHeight / 2.0;
    style.align = Align::Right;
    DrawLabel(f.cr, f.type, p.low, p.x - 2.5, y, style);
    style.align = Align::Left;
    DrawLabel(f.cr, f.type, p.high, p.x + spec->frameWidth + 2.5, y, style);
    return;
  }
  for (int i = 0; i < spec->frames; ++i) {
    DrawLabel(f.cr, f.type, legends[i], p.x + SlideStop(spec->frameWidth, spec->frames, i),
              p.y + spec->frameHeight + 5, style);
  }
}

// A dark recess one unit larger than the control.
void Recess(cairo_t* cr, double x, double y, double w, double h, double radius) {
  RoundedRect(cr, x - 1.2, y - 1.2, w + 2.4, h + 2.4, radius);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.5);
  cairo_fill(cr);
  RoundedRect(cr, x - 1.0, y - 0.6, w + 2.0, h + 1.8, radius);
  cairo_set_line_width(cr, 0.5);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.09);
  cairo_stroke(cr);
}

void Fader(const Frame& f, const Placement& p) {
  cairo_t* cr = f.cr;
  const StripSpec* spec = FindStrip(p.image);
  const double cx = p.x + spec->frameWidth / 2.0;
  const double top = p.y + SliderHandleY(spec->frameHeight, 1);
  const double bottom = p.y + SliderHandleY(spec->frameHeight, 0);
  RoundedRect(cr, cx - 1.4, top - 2, 2.8, bottom - top + 4, 1.4);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.75);
  cairo_fill(cr);
  constexpr int kTicks = 11;
  for (int i = 0; i < kTicks; ++i) {
    const double y = bottom + (top - bottom) * i / (kTicks - 1);
    const double len = i % 5 == 0 ? 3.2 : 2.0;
    cairo_move_to(cr, p.x - 0.8, y);
    cairo_line_to(cr, p.x - 0.8 + len, y);
    cairo_move_to(cr, p.x + spec->frameWidth + 0.8, y);
    cairo_line_to(cr, p.x + spec->frameWidth + 0.8 - len, y);
  }
  cairo_set_line_width(cr, 0.5);
  SetColour(cr, kLegend, 0.6);
  cairo_stroke(cr);
}

// The jewel the lamp's glow shines through.
void Lens(const Frame& f, const Placement& p) {
  cairo_t* cr = f.cr;
  const StripSpec* spec = FindStrip(p.image);
  const double cx = p.x + spec->frameWidth / 2.0, cy = p.y + spec->frameHeight / 2.0;
  const std::string_view image = p.image;
  const Rgb tint = image == "glow_r.png"   ? Rgb{0.35, 0.04, 0.03}
                   : image == "glow_y.png" ? Rgb{0.33, 0.26, 0.03}
                                           : Rgb{0.05, 0.28, 0.07};
  cairo_arc(cr, cx, cy, 3.9, 0, 2 * kPi);
  FillDome(cr, cx, cy, 3.9, {0.85, 0.85, 0.86}, {0.25, 0.25, 0.27});
  cairo_arc(cr, cx, cy, 2.8, 0, 2 * kPi);
  FillDome(cr, cx, cy, 2.8, Mix(tint, {1, 1, 1}, 0.25), Mix(tint, {0, 0, 0}, 0.5));
  cairo_arc(cr, cx - 0.9, cy - 1.0, 0.7, 0, 2 * kPi);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.45);
  cairo_fill(cr);
}

void DrawMark(const Frame& f, const Placement& p) {
  const StripSpec* spec = FindStrip(p.image);
  switch (p.mark) {
    case Mark::Dial:
      Dial(f, p, false);
      break;
    case Mark::BipolarDial:
      Dial(f, p, true);
      break;
    case Mark::Lever:
      Lever(f, p);
      break;
    case Mark::Slide:
      Slide(f, p);
      break;
    case Mark::Toggle:
      Recess(f.cr, p.x, p.y, spec->frameWidth, spec->frameHeight, 2.5);
      break;
    case Mark::Window:
      Recess(f.cr, p.x, p.y, spec->frameWidth, spec->frameHeight, 3.0);
      break;
    case Mark::Fader:
      Fader(f, p);
      break;
    case Mark::Lamp:
      Lens(f, p);
      break;
    case Mark::None:
      break;
  }
  if (*p.name) DrawLabel(f.cr, f.type, p.name, p.nameX, p.nameY, kNameStyle);
}

// A countersunk slotted screw; each slot is turned a little differently.
void Screw(cairo_t* cr, Point p, double slotAngle) {
  cairo_arc(cr, p.x, p.y, 2.7, 0, 2 * kPi);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.5);
  cairo_fill(cr);
  cairo_arc(cr, p.x, p.y, 2.2, 0, 2 * kPi);
  FillDome(cr, p.x, p.y, 2.2, {0.72, 0.72, 0.73}, {0.26, 0.26, 0.28});
  const Direction d = DirectionOf(slotAngle);
  cairo_move_to(cr, p.x - d.x * 1.8, p.y - d.y * 1.8);
  cairo_line_to(cr, p.x + d.x * 1.8, p.y + d.y * 1.8);
  cairo_set_line_width(cr, 0.6);
  cairo_set_source_rgba(cr, 0.05, 0.05, 0.06, 0.9);
  cairo_stroke(cr);
}

// The black window both meters sit in, with a bevelled bezel.
void MeterWindow(cairo_t* cr) {
  const double x = kOuterMeterX - 3, y = kOuterMeterY - 3, w = 158 + 6, h = 114;
  RoundedRect(cr, x - 1.5, y - 1.5, w + 3, h + 3, 9);
  cairo_pattern_t* bezel = cairo_pattern_create_linear(0, y - 1.5, 0, y + h + 1.5);
  cairo_pattern_add_color_stop_rgb(bezel, 0, 0.05, 0.05, 0.06);
  cairo_pattern_add_color_stop_rgb(bezel, 1, 0.45, 0.46, 0.48);
  cairo_set_source(cr, bezel);
  cairo_fill(cr);
  cairo_pattern_destroy(bezel);
  RoundedRect(cr, x, y, w, h, 8);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_fill(cr);
}

void Logo(const Frame& f) {
  const TextStyle maker{.size = 4.2, .colour = kLegend, .alpha = 0.75, .tracking = 0.9};
  DrawText(f.cr, f.type, "BRACKMOOR", 395.4, 141.6, maker);
  const TextStyle product{.size = 8.6, .colour = kTitle, .tracking = 0.5};
  DrawText(f.cr, f.type, "Quorvel", 395.2, 150.2, product);
}

}  // namespace

void PaintBackground(const Frame& f) {
  BrushedMetal(f.cr, f.width, f.height);
  for (const Section& s : Sections()) SectionPlate(f.cr, s);
  for (const Section& s : Sections()) Title(f, s);
  TextStyle sub{.size = 5.6, .colour = kSubTitle, .tracking = 0.9};
  for (const Legend& l : kSubTitles) DrawText(f.cr, f.type, l.text, l.x, l.y, sub);
  double slot = 20;
  for (const Point& p : kScrews) Screw(f.cr, p, slot += 37);
  MeterWindow(f.cr);
  Logo(f);
  for (const Placement& p : Placements()) DrawMark(f, p);
}

}  // namespace artwork
