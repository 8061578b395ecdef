#pragma once

#include <cairo.h>

#include <string>
#include <string_view>

// Shared drawing vocabulary of the artwork generator. Every picture is drawn in editor units;
// the caller has already scaled the context for the output resolution.
namespace artwork {

struct Point {
  double x, y;
};

struct Rgb {
  double r, g, b;
};

inline constexpr double kPi = 3.14159265358979323846;

// A knob pointer or meter needle angle in degrees clockwise from 12 o'clock, as a unit
// vector in cairo's y-down space.
struct Direction {
  double x, y;
};
Direction DirectionOf(double degrees);

// Roboto Regular loaded through FreeType, shared by every picture.
class Typeface {
 public:
  explicit Typeface(const std::string& path);
  ~Typeface();
  Typeface(const Typeface&) = delete;
  Typeface& operator=(const Typeface&) = delete;

  cairo_font_face_t* Face() const { return face_; }

 private:
  void* library_ = nullptr;  // FT_Library, kept opaque to spare includers FreeType
  void* ftFace_ = nullptr;   // FT_Face
  cairo_font_face_t* face_ = nullptr;
};

enum class Align { Left, Centre, Right };

struct TextStyle {
  double size = 6;
  Rgb colour{0.85, 0.86, 0.84};
  double alpha = 1;
  Align align = Align::Centre;
  double tracking = 0;  // extra advance after every character, in units
};

// Draws one line whose baseline's anchor (left, centre or right) is at (x, y).
void DrawText(cairo_t* cr, const Typeface& type, std::string_view text, double x, double y,
              const TextStyle& style);
// Same, vertically centred on y by the height of capitals.
void DrawLabel(cairo_t* cr, const Typeface& type, std::string_view text, double x, double y,
               const TextStyle& style);

void SetColour(cairo_t* cr, Rgb c, double alpha = 1);
Rgb Mix(Rgb a, Rgb b, double t);
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
// A vertical linear gradient from top to bottom colour over [y0, y1]; filled into the path.
void FillVertical(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom, bool preserve = false);
// A radial highlight for round metal parts, lit from the upper left.
void FillDome(cairo_t* cr, double cx, double cy, double r, Rgb light, Rgb dark,
              bool preserve = false);
// Soft shadow under a round part: a few widening translucent discs.
void DropShadow(cairo_t* cr, double cx, double cy, double r, double offset, double alpha);

}  // namespace artwork
