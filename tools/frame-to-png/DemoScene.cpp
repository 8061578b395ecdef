#include "tools/frame-to-png/DemoScene.h"

#include "graphics/BitmapControls.h"
#include "graphics/Control.h"
#include "tools/frame-to-png/DemoArtwork.h"

namespace framepng {
namespace {

using namespace plugkit::gfx;

constexpr int kKnobSize = 48;
constexpr int kKnobFrames = 31;
constexpr int kLampSize = 24;

// Frames, labels and a needle meter drawn with the path operations.
class DecorationControl : public Control {
 public:
  DecorationControl() : Control(Rect(0, 0, kSceneWidth, kSceneHeight)) {
    SetMouseTransparent(true);
  }

  void Draw(Graphics& g) override {
    const Color line{255, 90, 96, 110};
    const Color text{255, 225, 228, 235};
    g.DrawRoundRect(line, Rect(8, 8, 312, 152), 8.0f, nullptr, 1.5f);
    TextStyle title;
    title.size = 16.0f;
    title.foreground = text;
    title.align = TextAlign::Near;
    g.DrawText(title, "Quorvel frame check", Rect(18, 12, 200, 32));

    TextStyle label;
    label.size = 11.0f;
    label.foreground = text;
    const char* names[] = {"cutoff", "drive", "disabled"};
    for (int i = 0; i < 3; ++i) {
      const float x = 24.0f + 64.0f * static_cast<float>(i);
      g.DrawText(label, names[i], Rect(x, 104, x + kKnobSize, 120));
    }

    // Needle meter: scale arc, ticks and a needle.
    const float cx = 262.0f;
    const float cy = 112.0f;
    g.FillRoundRect(Color{255, 236, 226, 196}, Rect(222, 44, 302, 122), 4.0f);
    g.DrawArc(Color{255, 40, 40, 40}, cx, cy, 48.0f, -50.0f, 50.0f, nullptr, 1.5f);
    for (int tick = 0; tick <= 10; ++tick) {
      g.DrawRadialLine(Color{255, 40, 40, 40}, cx, cy, -50.0f + 10.0f * static_cast<float>(tick),
                       43.0f, 48.0f);
    }
    g.DrawRadialLine(Color{255, 200, 30, 20}, cx, cy, 18.0f, 0.0f, 52.0f, nullptr, 1.5f);
    g.FillCircle(Color{255, 30, 30, 30}, cx, cy, 3.0f);
    TextStyle unit = label;
    unit.foreground = Color{255, 40, 40, 40};
    g.DrawText(unit, "VU", Rect(cx - 20, 88, cx + 20, 104));
  }
};

}  // namespace

void LayoutDemoScene(Graphics& g) {
  g.LoadFont("Roboto-Regular", "Roboto-Regular.ttf");
  const auto background = BackgroundPng(kSceneWidth, kSceneHeight);
  const auto knob = KnobStripPng(kKnobSize, kKnobFrames);
  const auto lamp = LampStripPng(kLampSize);
  g.AttachControl(
      new BitmapControl(0, 0,
                        g.LoadBitmap("demo-bg.png", background.data(),
                                     static_cast<int>(background.size()), 1, false, 0)));

  const Bitmap knobStrip = g.LoadBitmap("demo-knob.png", knob.data(), static_cast<int>(knob.size()),
                                        kKnobFrames, false, 0);
  const double values[] = {0.3, 0.75, 0.5};
  for (int i = 0; i < 3; ++i) {
    auto* control =
        new BitmapKnobControl(24.0f + 64.0f * static_cast<float>(i), 52.0f, knobStrip, -1);
    control->SetValue(values[i]);
    if (i == 2) control->SetDisabled(true);
    g.AttachControl(control);
  }

  const Bitmap lampStrip =
      g.LoadBitmap("demo-lamp.png", lamp.data(), static_cast<int>(lamp.size()), 2, false, 0);
  auto* glow = new BitmapControl(196.0f, 60.0f, lampStrip);
  glow->SetValue(1.0);
  glow->SetBlend(Blend{BlendMethod::Add, 0.5f});
  g.AttachControl(glow);
  g.AttachControl(new DecorationControl);
}

}  // namespace framepng
