#include "tools/quorvel-manual/Figures.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <string>
#include <vector>

#include "effect/AdsrEnvelope.h"
#include "effect/BiquadFilter.h"
#include "effect/DriveStage.h"
#include "effect/LadderFilter.h"
#include "effect/TableLfo.h"
#include "effect/WaveTables.h"
#include "tools/quorvel-manual/Palette.h"

namespace quorvelManual {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kRate = 48000.0;

constexpr Rgb kGrid{0.86, 0.88, 0.90};
// Curve colours, from the quietest setting to the strongest.
constexpr Rgb kCurves[] = {
    {0.14, 0.22, 0.28}, {0.16, 0.50, 0.62}, {0.80, 0.46, 0.10}, {0.72, 0.16, 0.16}};

enum class Align { Left, Center, Right };

// A line of text with its top left (or top centre, top right) at x, y.
void Label(cairo_t* cr, const std::string& markup, double x, double y, double size,
           Align align = Align::Left, bool bold = false) {
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoFontDescription* font = pango_font_description_new();
  pango_font_description_set_family(font, "Roboto");
  pango_font_description_set_weight(font, bold ? PANGO_WEIGHT_MEDIUM : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_absolute_size(font, size * PANGO_SCALE);
  pango_layout_set_font_description(layout, font);
  pango_font_description_free(font);
  pango_layout_set_markup(layout, markup.c_str(), -1);
  pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
  int w = 0, h = 0;
  pango_layout_get_size(layout, &w, &h);
  const double width = static_cast<double>(w) / PANGO_SCALE;
  const double shift = align == Align::Left ? 0 : align == Align::Center ? width / 2 : width;
  cairo_move_to(cr, x - shift, y);
  pango_cairo_show_layout(cr, layout);
  g_object_unref(layout);
}

// A plot frame: data ranges mapped onto a rectangle, with grid lines and tick labels.
class Plot {
 public:
  Plot(cairo_t* cr, double x, double y, double w, double h, double x0, double x1, double y0,
       double y1, bool logX)
      : cr_(cr), x_(x), y_(y), w_(w), h_(h), x0_(x0), x1_(x1), y0_(y0), y1_(y1), logX_(logX) {}

  double X(double v) const {
    const double t = logX_ ? std::log(v / x0_) / std::log(x1_ / x0_) : (v - x0_) / (x1_ - x0_);
    return x_ + t * w_;
  }
  double Y(double v) const { return y_ + h_ - (std::clamp(v, y0_, y1_) - y0_) / (y1_ - y0_) * h_; }

  void GridX(double v, const std::string& text) const {
    Line(X(v), y_, X(v), y_ + h_);
    SetColor(cr_, kInk);
    Label(cr_, text, X(v), y_ + h_ + 3, 7, Align::Center);
  }
  void GridY(double v, const std::string& text) const {
    Line(x_, Y(v), x_ + w_, Y(v));
    SetColor(cr_, kInk);
    Label(cr_, text, x_ - 4, Y(v) - 4.5, 7, Align::Right);
  }
  void Frame(const std::string& title) const {
    SetColor(cr_, kSlate);
    cairo_set_line_width(cr_, 0.8);
    cairo_rectangle(cr_, x_, y_, w_, h_);
    cairo_stroke(cr_);
    Label(cr_, title, x_ + w_ / 2, y_ - 13, 8, Align::Center, true);
  }
  void Curve(const std::vector<std::pair<double, double>>& points, Rgb color,
             double width = 1.3) const {
    cairo_save(cr_);
    cairo_rectangle(cr_, x_, y_, w_, h_);
    cairo_clip(cr_);
    SetColor(cr_, color);
    cairo_set_line_width(cr_, width);
    cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
    for (size_t i = 0; i < points.size(); ++i) {
      const double px = X(points[i].first), py = Y(points[i].second);
      if (i == 0)
        cairo_move_to(cr_, px, py);
      else
        cairo_line_to(cr_, px, py);
    }
    cairo_stroke(cr_);
    cairo_restore(cr_);
  }

 private:
  void Line(double ax, double ay, double bx, double by) const {
    SetColor(cr_, kGrid);
    cairo_set_line_width(cr_, 0.5);
    cairo_move_to(cr_, ax, ay);
    cairo_line_to(cr_, bx, by);
    cairo_stroke(cr_);
  }

  cairo_t* cr_;
  double x_, y_, w_, h_, x0_, x1_, y0_, y1_;
  bool logX_;
};

// The cutoff stage's impulse response: the ladder, and for the band passes the resonant
// high-pass after it with its make-up gain, as the engine chains them.
std::vector<double> CutoffImpulseResponse(int shape, double cutoff, double resonance,
                                          size_t length) {
  quorvel::LadderFilter ladder;
  ladder.Reset(kRate);
  ladder.SetCutoff(cutoff);
  ladder.SetResonance(resonance);
  quorvel::HPF bandPass;
  bandPass.SetSampleRate(kRate);
  bandPass.SetFrequency((shape == 1 ? 0.25 : 0.75) * cutoff);
  bandPass.SetQ(4.0 * resonance + 1.0);
  const double makeUp = shape == 1 ? 4.0 : 8.0;
  // Small enough that the ladder's saturation stays out of the picture.
  constexpr double kImpulse = 1e-3;
  std::vector<double> response(length);
  for (size_t i = 0; i < length; ++i) {
    double y = ladder.Process(i == 0 ? kImpulse : 0.0);
    if (shape != 0) y = makeUp * bandPass.Process(y);
    response[i] = y / kImpulse;
  }
  // A fade over the last quarter keeps a resonance still ringing at the end from smearing
  // ripples across the plot.
  const size_t fadeStart = length - length / 4;
  for (size_t i = fadeStart; i < length; ++i)
    response[i] *= 0.5 * (1.0 + std::cos(kPi * static_cast<double>(i - fadeStart) /
                                         static_cast<double>(length / 4)));
  return response;
}

double MagnitudeDb(const std::vector<double>& response, double hz) {
  std::complex<double> sum = 0.0;
  const std::complex<double> step = std::polar(1.0, -2.0 * kPi * hz / kRate);
  std::complex<double> turn = 1.0;
  for (double h : response) {
    sum += h * turn;
    turn *= step;
  }
  return 20.0 * std::log10(std::max(std::abs(sum), 1e-9));
}

void Box(cairo_t* cr, double x, double y, double w, double h, const std::string& text, Rgb fill,
         Rgb ink) {
  cairo_new_path(cr);
  constexpr double r = 4;
  cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
  cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
  cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
  cairo_close_path(cr);
  SetColor(cr, fill);
  cairo_fill_preserve(cr);
  SetColor(cr, kSlate);
  cairo_set_line_width(cr, 0.8);
  cairo_stroke(cr);
  SetColor(cr, ink);
  const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
  Label(cr, text, x + w / 2, y + h / 2 - lines * 4.6, 7.5, Align::Center, true);
}

void Arrow(cairo_t* cr, double ax, double ay, double bx, double by, Rgb color,
           bool dashed = false) {
  SetColor(cr, color);
  cairo_set_line_width(cr, 0.9);
  const double dash[] = {2.5, 2.0};
  cairo_set_dash(cr, dash, dashed ? 2 : 0, 0);
  const double angle = std::atan2(by - ay, bx - ax);
  cairo_move_to(cr, ax, ay);
  cairo_line_to(cr, bx - 4 * std::cos(angle), by - 4 * std::sin(angle));
  cairo_stroke(cr);
  cairo_set_dash(cr, nullptr, 0, 0);
  cairo_move_to(cr, bx, by);
  cairo_line_to(cr, bx - 6 * std::cos(angle - 0.4), by - 6 * std::sin(angle - 0.4));
  cairo_line_to(cr, bx - 6 * std::cos(angle + 0.4), by - 6 * std::sin(angle + 0.4));
  cairo_close_path(cr);
  cairo_fill(cr);
}

}  // namespace

void DrawSignalChain(cairo_t* cr, double width, double /*height*/) {
  const char* stages[] = {"Input\ntrim", "Cutoff\nfilter", "High-\npass",  "Drive",
                          "Phaser",      "Chorus",         "Output\ngain", "Brickwall\nlimiter"};
  // Stages a modulation slot reaches: filter, drive, phaser, chorus, output.
  const bool modulated[] = {false, true, false, true, true, true, true, false};
  constexpr int kStages = 8;
  const double left = 26, right = width - 30;
  const double gap = 9;
  const double boxW = (right - left - gap * (kStages - 1)) / kStages;
  const double rowY = 18, boxH = 36;
  const double busY = 92;
  const Rgb stageFill{0.93, 0.95, 0.97}, sourceFill{0.99, 0.93, 0.85};

  SetColor(cr, kInk);
  Label(cr, "in", 2, rowY + boxH / 2 - 6, 8);
  Label(cr, "out", width - 12, rowY + boxH / 2 - 6, 8);
  Arrow(cr, 12, rowY + boxH / 2, left, rowY + boxH / 2, kSlate);
  for (int i = 0; i < kStages; ++i) {
    const double x = left + i * (boxW + gap);
    Box(cr, x, rowY, boxW, boxH, stages[i], stageFill, kSlate);
    const double next = i + 1 < kStages ? x + boxW + gap : width - 15;
    Arrow(cr, x + boxW, rowY + boxH / 2, next, rowY + boxH / 2, kSlate);
    if (modulated[i]) Arrow(cr, x + boxW / 2, busY, x + boxW / 2, rowY + boxH, kAmber, true);
  }
  // The modulation bus: nine targets, each with its own source and strength.
  SetColor(cr, kAmber);
  cairo_set_line_width(cr, 2.2);
  cairo_move_to(cr, left + boxW / 2 + (boxW + gap), busY);
  cairo_line_to(cr, left + 6.5 * (boxW + gap), busY);
  cairo_stroke(cr);
  Label(cr, "nine modulation targets,\neach with its own\nsource and strength", left + 4, busY + 8,
        7);

  const char* sources[] = {"LFO 1", "LFO 2", "Envelope\nfollower", "Gate \xe2\x86\x92 ADSR"};
  const double srcY = 126, srcH = 30, srcW = 78;
  const double srcLeft = left + 1.9 * (boxW + gap);
  const double srcGap = (right - srcLeft - 4 * srcW - 30) / 3;
  for (int i = 0; i < 4; ++i) {
    const double x = srcLeft + i * (srcW + srcGap);
    Box(cr, x, srcY, srcW, srcH, sources[i], sourceFill, kSlate);
    Arrow(cr, x + srcW / 2, srcY, x + srcW / 2, busY + 1, kAmber);
  }
  // The detector feeding the follower and the gate: the main input or the side-chain.
  const double detX = srcLeft + 2 * (srcW + srcGap), detY = 180, detW = srcW * 2 + srcGap;
  Box(cr, detX, detY, detW, 32, "Detector\nmain input, or side-chain when switched on", stageFill,
      kSlate);
  Arrow(cr, detX + srcW / 2, detY, detX + srcW / 2, srcY + srcH, kSlate);
  Arrow(cr, detX + detW - srcW / 2, detY, detX + detW - srcW / 2, srcY + srcH, kSlate);
  SetColor(cr, kInk);
  Label(cr, "side-chain in", 2, detY + 18, 8);
  Arrow(cr, 56, detY + 24, detX, detY + 24, kSlate);
  // The main input also reaches the detector.
  SetColor(cr, kSlate);
  cairo_set_line_width(cr, 0.9);
  cairo_move_to(cr, 18, rowY + boxH / 2);
  cairo_line_to(cr, 18, detY + 8);
  cairo_stroke(cr);
  Arrow(cr, 18, detY + 8, detX, detY + 8, kSlate);
}

ManualDocument::Draw FilterResponsePlot(int shape) {
  return [shape](cairo_t* cr, double width, double height) {
    const Plot plot(cr, 34, 16, width - 130, height - 32, 20, 20000, -48, 24, true);
    for (double hz : {20.0, 50.0, 100.0, 200.0, 500.0, 1000.0, 2000.0, 5000.0, 10000.0, 20000.0}) {
      const std::string text = hz >= 1000 ? std::to_string(static_cast<int>(hz / 1000)) + "k"
                                          : std::to_string(static_cast<int>(hz));
      plot.GridX(hz, text);
    }
    for (int db = -48; db <= 24; db += 12) plot.GridY(db, std::to_string(db) + " dB");
    const char* titles[] = {"low pass", "wide band pass", "narrow band pass"};
    plot.Frame(std::string("cutoff filter shape \"") + titles[shape] + "\", cutoff 1000 Hz");
    const double resonances[] = {0.0, 0.4, 0.7, 0.9};
    for (int k = 0; k < 4; ++k) {
      const auto response = CutoffImpulseResponse(shape, 1000.0, resonances[k], 1 << 14);
      std::vector<std::pair<double, double>> points;
      for (int i = 0; i <= 240; ++i) {
        const double hz = 20.0 * std::pow(1000.0, i / 240.0);
        points.emplace_back(hz, MagnitudeDb(response, hz));
      }
      plot.Curve(points, kCurves[k]);
      SetColor(cr, kCurves[k]);
      const double ly = 26 + k * 15;
      cairo_rectangle(cr, width - 86, ly + 4, 12, 2.5);
      cairo_fill(cr);
      char text[48];
      std::snprintf(text, sizeof text, "resonance %.2f", resonances[k]);
      SetColor(cr, kInk);
      Label(cr, text, width - 70, ly, 7.5);
    }
  };
}

void DrawDriveCurve(cairo_t* cr, double width, double height) {
  const double side = height - 32;
  const double x = (width - side) / 2;
  const Plot plot(cr, x, 16, side, side, -2, 2, -1.25, 1.25, false);
  for (double v : {-2.0, -1.0, 0.0, 1.0, 2.0}) plot.GridX(v, std::to_string(int(v)));
  for (double v : {-1.0, -0.5, 0.0, 0.5, 1.0}) {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", v);
    plot.GridY(v, text);
  }
  plot.Frame("drive waveshaper: input (across) to shaped output (up)");
  plot.Curve({{-1.25, -1.25}, {1.25, 1.25}}, kCurves[1], 0.6);
  std::vector<std::pair<double, double>> points;
  for (int i = 0; i <= 400; ++i) {
    const double v = -2.0 + 4.0 * i / 400.0;
    points.emplace_back(v, quorvel::DriveCurve(v));
  }
  plot.Curve(points, kAmber, 1.6);
}

void DrawLfoShapes(cairo_t* cr, double width, double height) {
  const char* names[] = {"sine", "tri", "nonlinear", "saw", "square"};
  const double gap = 12;
  const double w = (width - 30 - 4 * gap) / 5;
  for (int s = 0; s < quorvel::kWaveShapeCount; ++s) {
    const Plot plot(cr, 30 + s * (w + gap), 16, w, height - 32, 0, 1, -1.1, 1.1, false);
    plot.GridX(0, "0");
    plot.GridX(1, "1 cycle");
    if (s == 0)
      for (double v : {-1.0, 0.0, 1.0}) plot.GridY(v, std::to_string(int(v)));
    else
      for (double v : {-1.0, 0.0, 1.0}) plot.GridY(v, "");
    plot.Frame(std::string("\"") + names[s] + "\"");
    // One table cycle over 400 steps: increment = 0.5 · rate / sample rate = 1 / 400.
    quorvel::TableLfo lfo;
    lfo.SetSampleRate(200.0);
    lfo.SetRate(1.0);
    lfo.SetTable(quorvel::GetWaveTable(s));
    const auto values = lfo.Render(400);
    std::vector<std::pair<double, double>> points{{0.0, quorvel::GetWaveTable(s)[0]}};
    for (size_t i = 0; i < values.size(); ++i)
      points.emplace_back((static_cast<double>(i) + 1) / 400.0, values[i]);
    plot.Curve(points, kAmber, 1.5);
  }
}

void DrawAdsr(cairo_t* cr, double width, double height) {
  // Default settings: attack 400 ms, decay 1000 ms, sustain 0.75, release 500 ms; the gate
  // is open for two seconds.
  constexpr double kEnvRate = 1000.0;
  constexpr int kOpen = 2000, kLength = 3000;
  quorvel::AdsrEnvelope adsr;
  adsr.Reset(kEnvRate);
  adsr.Configure(400.0, 1000.0, 0.75, 500.0);
  std::vector<std::pair<double, double>> level, gate;
  for (int i = 0; i < kLength; ++i) {
    if (i == 0) adsr.NoteOn();
    if (i == kOpen) adsr.NoteOff();
    const double t = i / kEnvRate;
    level.emplace_back(t, adsr.Tick());
    gate.emplace_back(t, i < kOpen ? 1.08 : -0.08);
  }
  const Plot plot(cr, 34, 16, width - 44, height - 32, 0, 3, -0.15, 1.15, false);
  for (double t : {0.0, 0.4, 1.0, 1.4, 2.0, 2.5, 3.0}) {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f s", t);
    plot.GridX(t, text);
  }
  for (double v : {0.0, 0.75, 1.0}) {
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", v);
    plot.GridY(v, text);
  }
  plot.Frame("ADSR at its defaults: attack 400 ms, decay 1 s, sustain 0.75, release 500 ms");
  plot.Curve({{0, -0.08}, {0, 1.08}}, kCurves[1], 1.0);
  plot.Curve(gate, kCurves[1], 1.0);
  plot.Curve(level, kAmber, 1.7);
  SetColor(cr, kCurves[1]);
  Label(cr, "gate open", plot.X(1.0), plot.Y(1.08) + 2, 7.5, Align::Center);
  Label(cr, "gate closed", plot.X(2.6), plot.Y(-0.08) - 11, 7.5, Align::Center);
  SetColor(cr, kInk);
  const double y = plot.Y(0.4);
  Label(cr, "attack", plot.X(0.2), y, 7.5, Align::Center);
  Label(cr, "decay", plot.X(0.7), y, 7.5, Align::Center);
  Label(cr, "sustain", plot.X(1.7), y, 7.5, Align::Center);
  Label(cr, "release", plot.X(2.25), y, 7.5, Align::Center);
}

}  // namespace quorvelManual
