#include "tools/artwork/Strips.h"

#include <array>
#include <stdexcept>

#include "tools/artwork/Knobs.h"
#include "tools/artwork/Lamps.h"
#include "tools/artwork/Meters.h"
#include "tools/artwork/Panel.h"
#include "tools/artwork/Switches.h"

namespace artwork {

namespace {

constexpr std::array kStrips = {
    StripSpec{"bg.png", 790, 350, 1, false, PaintBackground},
    StripSpec{"glow_r.png", 30, 31, 1, true, PaintRedGlow},
    StripSpec{"glow_y.png", 30, 31, 1, true, PaintYellowGlow},
    StripSpec{"glow_g.png", 30, 31, 1, true, PaintGreenGlow},
    StripSpec{"knob-cap-stack.png", 24, 23, 136, false, PaintCapKnob},
    StripSpec{"tiny-knob-stack.png", 16, 15, 136, false, PaintTinyKnob},
    StripSpec{"big-knob-stack.png", 31, 28, 136, false, PaintBigKnob},
    StripSpec{"env-slider.png", 16, 60, 50, false, PaintSlider},
    StripSpec{"mod-switch-L.png", 53, 25, 5, false, PaintSourceLever},
    StripSpec{"mod-switch-R.png", 55, 26, 5, false, PaintSourceLever},
    StripSpec{"filter-shape-sw.png", 47, 13, 3, false, PaintSlideSwitch},
    StripSpec{"phaser-stereo-sw.png", 29, 13, 2, false, PaintSlideSwitch},
    StripSpec{"chorus-stereo-sw.png", 29, 14, 2, false, PaintSlideSwitch},
    StripSpec{"VU-stack-outer.png", 158, 114, 101, false, PaintOuterMeter},
    StripSpec{"VU-stack-inner.png", 104, 74, 101, false, PaintInnerMeter},
    StripSpec{"toggle-v.png", 15, 23, 2, false, PaintToggle},
    StripSpec{"toggle-h.png", 27, 10, 2, false, PaintToggle},
    StripSpec{"trim-stack.png", 38, 38, 62, false, PaintTrimKnob},
    StripSpec{"lfo-stack.png", 25, 17, 41, false, PaintLfoWindow},
    StripSpec{"motor-button-stack.png", 76, 22, 2, true, PaintMotorButton},
    StripSpec{"sidechain-toggle.png", 23, 20, 2, false, PaintToggle},
    StripSpec{"sync-toggle.png", 13, 23, 2, false, PaintToggle},
};

}  // namespace

std::span<const StripSpec> Strips() { return kStrips; }

const StripSpec* FindStrip(const std::string& name) {
  for (const StripSpec& spec : kStrips) {
    if (name == spec.name) return &spec;
  }
  return nullptr;
}

std::string ScaledName(const std::string& name, int scale) {
  if (scale == 1) return name;
  const auto dot = name.rfind('.');
  return name.substr(0, dot) + "@" + std::to_string(scale) + "x" + name.substr(dot);
}

cairo_surface_t* RenderStrip(const StripSpec& spec, const Typeface& type, int scale) {
  const cairo_format_t format = spec.opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32;
  cairo_surface_t* surface = cairo_image_surface_create(format, spec.frameWidth * scale,
                                                        spec.frameHeight * spec.frames * scale);
  cairo_t* cr = cairo_create(surface);
  cairo_scale(cr, scale, scale);
  for (int i = 0; i < spec.frames; ++i) {
    cairo_save(cr);
    cairo_translate(cr, 0, static_cast<double>(i) * spec.frameHeight);
    cairo_rectangle(cr, 0, 0, spec.frameWidth, spec.frameHeight);
    cairo_clip(cr);
    if (spec.opaque) {
      cairo_set_source_rgb(cr, 0, 0, 0);
      cairo_paint(cr);
    }
    spec.paint(Frame{cr, type, i, spec.frames, static_cast<double>(spec.frameWidth),
                     static_cast<double>(spec.frameHeight)});
    cairo_restore(cr);
  }
  // A drawing error leaves the context inert; report it rather than ship a blank strip.
  const cairo_status_t status = cairo_status(cr);
  cairo_destroy(cr);
  if (status != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    throw std::runtime_error(std::string(spec.name) + ": " + cairo_status_to_string(status));
  }
  cairo_surface_flush(surface);
  return surface;
}

}  // namespace artwork
