#include "editor/QuorvelEditor.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <string_view>

#include "editor/BrackmoorKnobControl.h"
#include "editor/BrackmoorSwitchControl.h"
#include "editor/DisplayScalePreference.h"
#include "editor/ManualLocator.h"
#include "editor/PlatformFiles.h"
#include "editor/QuorvelLEDControl.h"
#include "editor/QuorvelManualHotspotControl.h"
#include "editor/QuorvelMotorizedKnobControl.h"
#include "editor/QuorvelNeedleControl.h"
#include "editor/QuorvelRadialNeedleControl.h"
#include "editor/ScaleCornerControl.h"
#include "effect/ControlTag.h"
#include "effect/QuorvelParameters.h"
#include "graphics/Graphics.h"
#include "graphics/platform/GraphicsHeadless.h"

namespace quorvel {

using plugkit::gfx::Bitmap;
using plugkit::gfx::Color;
using plugkit::gfx::Direction;
using plugkit::gfx::Graphics;
using plugkit::gfx::Rect;

namespace {

struct Artwork {
  const char* name;
  int width;
  int height;
  int frames;
};

// In loading order; the sizes are those of the 1× images.
constexpr std::array<Artwork, 22> kArtwork{{
    {"bg.png", 790, 350, 1},
    {"glow_r.png", 30, 31, 1},
    {"glow_y.png", 30, 31, 1},
    {"glow_g.png", 30, 31, 1},
    {"knob-cap-stack.png", 24, 3128, 136},
    {"tiny-knob-stack.png", 16, 2040, 136},
    {"big-knob-stack.png", 31, 3808, 136},
    {"env-slider.png", 16, 3000, 50},
    {"mod-switch-L.png", 53, 125, 5},
    {"mod-switch-R.png", 55, 130, 5},
    {"filter-shape-sw.png", 47, 39, 3},
    {"phaser-stereo-sw.png", 29, 26, 2},
    {"chorus-stereo-sw.png", 29, 28, 2},
    {"VU-stack-outer.png", 158, 11514, 101},
    {"VU-stack-inner.png", 104, 7474, 101},
    {"toggle-v.png", 15, 46, 2},
    {"toggle-h.png", 27, 20, 2},
    {"trim-stack.png", 38, 2356, 62},
    {"lfo-stack.png", 25, 697, 41},
    {"motor-button-stack.png", 76, 44, 2},
    {"sidechain-toggle.png", 23, 40, 2},
    {"sync-toggle.png", 13, 46, 2},
}};

struct Lamp {
  const char* image;
  float x;
  float y;
  ControlTag tag;
};

constexpr std::array<Lamp, 17> kLamps{{
    {"glow_r.png", 137, 25, ControlTag::CutoffModLamp},
    {"glow_r.png", 93, 168, ControlTag::DriveModLamp},
    {"glow_r.png", 215, 271, ControlTag::ChorusWetModLamp},
    {"glow_r.png", 164, 240, ControlTag::ChorusDelayModLamp},
    {"glow_r.png", 506, 228, ControlTag::OutputModLamp},
    {"glow_r.png", 705, 243, ControlTag::PhaserWetModLamp},
    {"glow_r.png", 583, 100, ControlTag::PhaserFrequency1ModLamp},
    {"glow_r.png", 659, 138, ControlTag::PhaserFrequency2ModLamp},
    {"glow_r.png", 734, 100, ControlTag::PhaserFrequency3ModLamp},
    {"glow_r.png", 605, 269, ControlTag::LimiterLamp},
    {"glow_r.png", 383, 189, ControlTag::GateClosedLamp},
    {"glow_y.png", 376, 206, ControlTag::GateHoldLamp},
    {"glow_g.png", 373, 222, ControlTag::GateOpenLamp},
    {"glow_g.png", 59, -3, ControlTag::CutoffOnLamp},
    {"glow_g.png", -3, 167, ControlTag::DriveOnLamp},
    {"glow_g.png", 101, 325, ControlTag::ChorusOnLamp},
    {"glow_g.png", 550, -3, ControlTag::PhaserOnLamp},
}};

// The needles of both meters and the four marker lines turn about the trim knob's hub.
constexpr float kPivotX = 397.0f;
constexpr float kPivotY = 106.0f;
constexpr double kMarkerStartAngle = -108.0;
constexpr double kMarkerEndAngle = 99.0;
constexpr float kMarkerOpacity = 0.85f;

struct Marker {
  Color color;
  double innerRadius;
  double outerRadius;
  ControlTag tag;
};

constexpr Color kRed{255, 255, 0, 0};
constexpr Color kYellow{255, 255, 255, 0};
constexpr Color kGreen{255, 0, 255, 0};

constexpr std::array<Marker, 4> kMarkers{{
    {kRed, 30, 52, ControlTag::FloorMarker},
    {kYellow, 30, 52, ControlTag::CeilingMarker},
    {kRed, 63, 77, ControlTag::GateOffMarker},
    {kGreen, 63, 77, ControlTag::GateOnMarker},
}};

enum class Kind { Switch, Knob, MotorKnob };

struct Bound {
  Kind kind;
  const char* image;
  float x;
  float y;
  ParamIndex param;
  double gearing;  // knobs only
  int tag;         // motorized knobs only
};

constexpr int Tag(ControlTag tag) { return static_cast<int>(tag); }

using P = ParamIndex;
using C = ControlTag;

// Every parameter-bound control, in drawing order.
constexpr std::array<Bound, 58> kBound{{
    {Kind::Switch, "motor-button-stack.png", 358, 160, P::MotorizedKnobs, 0, -1},
    {Kind::Knob, "trim-stack.png", 376, 86, P::InputTrim, 10, -1},
    {Kind::Switch, "sidechain-toggle.png", 290, 199, P::SidechainDetector, 0, -1},
    {Kind::Switch, "sync-toggle.png", 536, 74, P::Lfo1TempoSync, 0, -1},
    {Kind::Switch, "sync-toggle.png", 473, 171, P::Lfo2TempoSync, 0, -1},
    {Kind::Knob, "lfo-stack.png", 498, 88, P::Lfo1Shape, 6, -1},
    {Kind::Knob, "lfo-stack.png", 494, 185, P::Lfo2Shape, 6, -1},
    {Kind::Switch, "toggle-h.png", 83, 5, P::CutoffFilterEnable, 0, -1},
    {Kind::Switch, "toggle-v.png", 1, 190, P::DriveEnable, 0, -1},
    {Kind::Switch, "toggle-h.png", 125, 333, P::ChorusEnable, 0, -1},
    {Kind::Switch, "toggle-h.png", 573, 5, P::PhaserEnable, 0, -1},
    {Kind::Switch, "filter-shape-sw.png", 181, 6, P::CutoffFilterShape, 0, -1},
    {Kind::Switch, "phaser-stereo-sw.png", 689, 6, P::PhaserSuperStereo, 0, -1},
    {Kind::Switch, "chorus-stereo-sw.png", 248, 333, P::ChorusSuperStereo, 0, -1},
    {Kind::Switch, "mod-switch-L.png", 98, 86, P::CutoffFilterModSource, 0, -1},
    {Kind::Switch, "mod-switch-L.png", 43, 202, P::DriveModSource, 0, -1},
    {Kind::Switch, "mod-switch-L.png", 117, 285, P::ChorusDelayModSource, 0, -1},
    {Kind::Switch, "mod-switch-L.png", 252, 285, P::ChorusWetModSource, 0, -1},
    {Kind::Switch, "mod-switch-R.png", 541, 283, P::OutputModSource, 0, -1},
    {Kind::Switch, "mod-switch-R.png", 677, 306, P::PhaserWetModSource, 0, -1},
    {Kind::Switch, "mod-switch-R.png", 577, 172, P::PhaserFrequency1ModSource, 0, -1},
    {Kind::Switch, "mod-switch-R.png", 653, 212, P::PhaserFrequency2ModSource, 0, -1},
    {Kind::Switch, "mod-switch-R.png", 728, 172, P::PhaserFrequency3ModSource, 0, -1},
    {Kind::Knob, "knob-cap-stack.png", 104, 64, P::CutoffFilterModStrength, 6, -1},
    {Kind::Knob, "knob-cap-stack.png", 50, 182, P::DriveModStrength, 6, -1},
    {Kind::Knob, "knob-cap-stack.png", 260, 264, P::ChorusWetModStrength, 6, -1},
    {Kind::Knob, "knob-cap-stack.png", 126, 264, P::ChorusDelayModStrength, 6, -1},
    {Kind::Knob, "knob-cap-stack.png", 553, 263, P::OutputModStrength, 6, -1},
    {Kind::Knob, "knob-cap-stack.png", 691, 284, P::PhaserWetModStrength, 6, -1},
    {Kind::Knob, "knob-cap-stack.png", 590, 148, P::PhaserFrequency1ModStrength, 6, -1},
    {Kind::Knob, "knob-cap-stack.png", 666, 189, P::PhaserFrequency2ModStrength, 6, -1},
    {Kind::Knob, "knob-cap-stack.png", 743, 148, P::PhaserFrequency3ModStrength, 6, -1},
    {Kind::MotorKnob, "big-knob-stack.png", 174, 64, P::CutoffFilterFrequency, 6,
     Tag(C::CutoffFrequencyKnob)},
    {Kind::MotorKnob, "big-knob-stack.png", 140, 155, P::Drive, 6, Tag(C::DriveKnob)},
    {Kind::MotorKnob, "tiny-knob-stack.png", 187, 289, P::ChorusWet, 6, Tag(C::ChorusWetKnob)},
    {Kind::MotorKnob, "big-knob-stack.png", 209, 216, P::ChorusDelay, 6, Tag(C::ChorusDelayKnob)},
    {Kind::MotorKnob, "tiny-knob-stack.png", 495, 282, P::Output, 6, Tag(C::OutputKnob)},
    {Kind::MotorKnob, "tiny-knob-stack.png", 754, 251, P::PhaserWet, 6, Tag(C::PhaserWetKnob)},
    {Kind::MotorKnob, "tiny-knob-stack.png", 593, 70, P::PhaserFrequency1, 6,
     Tag(C::PhaserFrequency1Knob)},
    {Kind::MotorKnob, "tiny-knob-stack.png", 668, 109, P::PhaserFrequency2, 6,
     Tag(C::PhaserFrequency2Knob)},
    {Kind::MotorKnob, "tiny-knob-stack.png", 745, 70, P::PhaserFrequency3, 6,
     Tag(C::PhaserFrequency3Knob)},
    {Kind::Knob, "knob-cap-stack.png", 16, 92, P::HighPassFrequency, 6, -1},
    {Kind::Knob, "knob-cap-stack.png", 49, 48, P::Resonance, 6, -1},
    {Kind::Switch, "toggle-v.png", 204, 140, P::DriveFeedback, 0, -1},
    {Kind::Knob, "tiny-knob-stack.png", 68, 282, P::ChorusSpread, 6, -1},
    {Kind::Knob, "knob-cap-stack.png", 664, 45, P::PhaserFeedback, 6, -1},
    {Kind::Knob, "knob-cap-stack.png", 255, 81, P::EnvFollowerSpeed, 6, -1},
    {Kind::Knob, "tiny-knob-stack.png", 269, 136, P::EnvFollowerFloor, 6, -1},
    {Kind::Knob, "tiny-knob-stack.png", 275, 30, P::EnvFollowerCeiling, 6, -1},
    {Kind::Knob, "knob-cap-stack.png", 501, 35, P::Lfo1Rate, 6, -1},
    {Kind::Knob, "knob-cap-stack.png", 501, 134, P::Lfo2Rate, 6, -1},
    {Kind::Knob, "knob-cap-stack.png", 415, 223, P::AdsrGateOnThreshold, 6, -1},
    {Kind::Knob, "tiny-knob-stack.png", 354, 201, P::AdsrGateHysteresis, 6, -1},
    {Kind::Knob, "tiny-knob-stack.png", 336, 238, P::AdsrGateHold, 6, -1},
    {Kind::Knob, "env-slider.png", 352, 273, P::AdsrAttack, 1, -1},
    {Kind::Knob, "env-slider.png", 378, 273, P::AdsrDecay, 1, -1},
    {Kind::Knob, "env-slider.png", 403, 273, P::AdsrSustain, 1, -1},
    {Kind::Knob, "env-slider.png", 428, 273, P::AdsrRelease, 1, -1},
}};

constexpr Rect kManualHotspot{375, 137, 415, 151};

const Artwork* FindArtwork(std::string_view name) {
  for (const Artwork& art : kArtwork) {
    if (name == art.name) return &art;
  }
  return nullptr;
}

// The strips by name, each loaded once per layout.
class StripSet {
 public:
  explicit StripSet(Graphics& g) {
    for (std::size_t i = 0; i < kArtwork.size(); ++i)
      strips_[i] = LoadEditorBitmap(g, kArtwork[i].name);
  }
  const Bitmap& operator[](std::string_view name) const {
    for (std::size_t i = 0; i < kArtwork.size(); ++i) {
      if (name == kArtwork[i].name) return strips_[i];
    }
    return none_;
  }

 private:
  std::array<Bitmap, kArtwork.size()> strips_;
  Bitmap none_;
};

}  // namespace

std::unique_ptr<Graphics> MakeHeadlessGraphics(plugkit::GraphicsEditorDelegate& delegate, int width,
                                               int height, int frameRate, float drawScale) {
  return std::make_unique<plugkit::gfx::GraphicsHeadless>(delegate, width, height, frameRate,
                                                          drawScale);
}

float InitialDrawScale(std::optional<float> storedScale) {
  if (!storedScale || !std::isfinite(*storedScale)) return 1.0f;
  return std::max(kMinEditorScale, std::min(kMaxEditorScale, *storedScale));
}

std::unique_ptr<Graphics> CreateEditorGraphics(
    plugkit::GraphicsEditorDelegate& delegate,
    const PlatformGraphicsFactory& makePlatformGraphics) {
  if (!makePlatformGraphics) return nullptr;
  const float scale = InitialDrawScale(ReadDisplayScale(kPreferenceName));
  std::unique_ptr<Graphics> graphics;
  try {
    graphics = makePlatformGraphics(delegate, kEditorWidth, kEditorHeight, kEditorFrameRate, scale);
  } catch (const std::exception&) {
    // The host asked for an editor; no editor is the answer it can handle.
    return nullptr;
  }
  if (graphics) graphics->SetModuleInstance(ModuleAnchor());
  return graphics;
}

Bitmap LoadEditorBitmap(Graphics& graphics, const char* name) {
  const Artwork* art = FindArtwork(name ? name : "");
  const int frames = art ? art->frames : 1;
  Bitmap bitmap = graphics.LoadBitmap(name, frames, false, 0);
  if (bitmap.IsValid() || !art) return bitmap;
  Bitmap placeholder;
  placeholder.width = art->width;
  placeholder.height = art->height;
  placeholder.frameCount = art->frames;
  placeholder.resourceName = art->name;
  return placeholder;
}

void LayoutEditor(Graphics& g, std::function<void()> openManual) {
  g.SetHandleMouseOver(true);
  g.LoadFont("Roboto-Regular", "Roboto-Regular.ttf");
  const StripSet strips(g);

  g.AttachControl(new plugkit::gfx::BitmapControl(0, 0, strips["bg.png"]));
  for (const Lamp& lamp : kLamps) {
    g.AttachControl(new QuorvelLEDControl(lamp.x, lamp.y, strips[lamp.image]), Tag(lamp.tag));
  }
  g.AttachControl(new QuorvelNeedleControl(317, 25, strips["VU-stack-outer.png"]),
                  Tag(C::GateMeter));
  g.AttachControl(new QuorvelNeedleControl(344, 52, strips["VU-stack-inner.png"]),
                  Tag(C::FollowerMeter));
  for (const Marker& marker : kMarkers) {
    g.AttachControl(new QuorvelRadialNeedleControl(
                        kPivotX, kPivotY, kMarkerStartAngle, kMarkerEndAngle, marker.innerRadius,
                        marker.outerRadius, marker.color, kMarkerOpacity),
                    Tag(marker.tag));
  }
  for (const Bound& row : kBound) {
    const Bitmap& strip = strips[row.image];
    const int param = ToIndex(row.param);
    switch (row.kind) {
      case Kind::Switch:
        g.AttachControl(new BrackmoorSwitchControl(row.x, row.y, strip, param));
        break;
      case Kind::Knob:
        g.AttachControl(
            new BrackmoorKnobControl(row.x, row.y, strip, param, Direction::Vertical, row.gearing));
        break;
      case Kind::MotorKnob:
        g.AttachControl(new QuorvelMotorizedKnobControl(row.x, row.y, strip, param,
                                                        Direction::Vertical, row.gearing),
                        row.tag);
        break;
    }
  }
  g.AttachControl(new QuorvelManualHotspotControl(kManualHotspot, std::move(openManual)),
                  Tag(C::ManualHotspot));
  g.AttachControl(MakeEditorScaleCorner(Rect{0, 0, kEditorWidth, kEditorHeight}));
}

bool StoreEditorScale(const Graphics* graphics) {
  return graphics && WriteDisplayScale(kPreferenceName, graphics->DrawScale());
}

}  // namespace quorvel
