// Control behaviour: values and dirty marking, knob gearing and stepping, switch stepping and
// film-strip frame selection.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "GraphicsTestSupport.h"
#include "graphics/BitmapControls.h"

namespace plugkit::gfx::test {
namespace {

class SwitchControlBaseProbe : public SwitchControlBase {
 public:
  using SwitchControlBase::SwitchControlBase;
  void Draw(Graphics&) override {}
};

MouseState WithShift() {
  MouseState state = LeftButton();
  state.S = true;
  return state;
}

MouseState WithControl() {
  MouseState state;
  state.C = true;
  return state;
}

class ControlTest : public ::testing::Test {
 protected:
  ControlTest() {
    g.AddBitmap(Bitmap{&knobImage, 50, 2050, 41, false, "knob.png"});
    g.AddBitmap(Bitmap{&switchImage, 30, 60, 3, false, "switch.png"});
    g.AddBitmap(Bitmap{&lampImage, 40, 20, 2, true, "lamp.png"});
    g.AttachControl(new ProbeControl(Rect(0, 0, 790, 350)));
  }

  template <typename T>
  T* Attach(T* control, int tag = -1) {
    return static_cast<T*>(g.AttachControl(control, tag));
  }

  BackendBitmap knobImage{50, 2050, 1.0f, 1.0f};
  BackendBitmap switchImage{30, 60, 1.0f, 1.0f};
  BackendBitmap lampImage{40, 20, 1.0f, 1.0f};
  TestDelegate delegate;
  RecordingGraphics g{delegate};
};

TEST_F(ControlTest, KnobDragFollowsGearingAndFineMode) {
  // 50 units high with gearing 6: 300 units of travel for the full range.
  auto* knob = Attach(new BitmapKnobControl(100, 100, g.bitmaps["knob.png"], kGain));
  ASSERT_EQ(knob->DrawRect(), Rect(100, 100, 150, 150));
  g.OnMouseDown({At(120, 120, LeftButton())});
  EXPECT_EQ(g.hideCalls, (std::vector<std::pair<bool, bool>>{{true, true}}));
  g.OnMouseDrag({At(120, 120, LeftButton(), 0, -30)});
  EXPECT_NEAR(knob->Value(), 0.1, 1e-12);
  g.OnMouseDrag({At(120, 120, WithShift(), 0, -30)});  // ten times slower
  EXPECT_NEAR(knob->Value(), 0.11, 1e-12);
  ASSERT_EQ(delegate.values.size(), 2u);
  EXPECT_NEAR(delegate.values[1], 0.11, 1e-12);

  // Far past the top it stops at 1, and reversing moves at once.
  g.OnMouseDrag({At(120, 120, LeftButton(), 0, -10000)});
  EXPECT_EQ(knob->Value(), 1.0);
  g.OnMouseDrag({At(120, 120, LeftButton(), 0, 3)});
  EXPECT_NEAR(knob->Value(), 0.99, 1e-12);
  g.OnMouseUp({At(120, 120, LeftButton())});
  EXPECT_EQ(g.hideCalls.back(), (std::pair<bool, bool>{false, true}));
  EXPECT_EQ(delegate.log.front(), "begin 0");
  EXPECT_EQ(delegate.log.back(), "end 0");

  // Horizontal knobs follow dX over the width.
  auto* slider = Attach(
      new BitmapKnobControl(200, 100, g.bitmaps["knob.png"], -1, Direction::Horizontal, 1.0));
  g.OnMouseDown({At(210, 110, LeftButton())});
  g.OnMouseDrag({At(210, 110, LeftButton(), 25, -400)});
  EXPECT_NEAR(slider->Value(), 0.5, 1e-12);
  g.OnMouseUp({At(210, 110, LeftButton())});
}

TEST_F(ControlTest, SteppedKnobShowsWholeStepsButKeepsTheFinePosition) {
  // Steps runs 0..4: each step is a quarter of the range, 75 units of travel.
  auto* knob = Attach(new BitmapKnobControl(100, 100, g.bitmaps["knob.png"], kSteps));
  g.OnMouseDown({At(120, 120, LeftButton())});
  for (int i = 0; i < 4; ++i) g.OnMouseDrag({At(120, 120, LeftButton(), 0, -10)});
  EXPECT_EQ(knob->Value(), 0.25);  // 40 units: past the half step, shows step 1
  for (int i = 0; i < 6; ++i) g.OnMouseDrag({At(120, 120, LeftButton(), 0, -10)});
  EXPECT_EQ(knob->Value(), 0.25);  // 100 units: still step 1
  for (int i = 0; i < 2; ++i) g.OnMouseDrag({At(120, 120, LeftButton(), 0, -10)});
  EXPECT_EQ(knob->Value(), 0.5);  // 120 units: step 2, reached by small moves
  for (double v : delegate.values) EXPECT_EQ(std::fmod(v * 4.0, 1.0), 0.0);
  g.OnMouseUp({At(120, 120, LeftButton())});

  // The wheel moves one step per event whatever the delta.
  knob->OnMouseWheel(0, 0, MouseState{}, 5);
  EXPECT_EQ(knob->Value(), 0.75);
  knob->OnMouseWheel(0, 0, MouseState{}, -0.2f);
  EXPECT_EQ(knob->Value(), 0.5);
  knob->OnMouseWheel(0, 0, MouseState{}, 0);
  EXPECT_EQ(knob->Value(), 0.5);
}

TEST_F(ControlTest, WheelStepsAndModifiers) {
  auto* knob = Attach(new BitmapKnobControl(100, 100, g.bitmaps["knob.png"], kGain));
  knob->SetValue(0.5);
  knob->OnMouseWheel(0, 0, MouseState{}, 1);
  EXPECT_NEAR(knob->Value(), 0.51, 1e-12);
  knob->OnMouseWheel(0, 0, WithControl(), -2);
  EXPECT_NEAR(knob->Value(), 0.508, 1e-12);
  knob->OnMouseWheel(0, 0, MouseState{}, 100);
  EXPECT_EQ(knob->Value(), 1.0);
  EXPECT_EQ(delegate.values.size(), 3u);
}

TEST_F(ControlTest, SwitchesCycleThroughTheirStates) {
  auto* toggle = Attach(new SwitchControlBaseProbe(Rect(10, 10, 30, 30), kToggle));
  EXPECT_EQ(toggle->StateCount(), 2);
  toggle->SetValue(0.3);
  g.OnMouseDown({At(15, 15, LeftButton())});
  EXPECT_EQ(toggle->Value(), 0.0);  // anything but exactly 0 goes to 0
  EXPECT_TRUE(toggle->IsMouseDown());
  g.OnMouseUp({At(15, 15, LeftButton())});
  g.OnMouseDown({At(15, 15, LeftButton())});
  EXPECT_EQ(toggle->Value(), 1.0);
  g.OnMouseUp({At(15, 15, LeftButton())});

  // Five states from the enumeration; a double click counts as another press.
  auto* mode = Attach(new SwitchControlBaseProbe(Rect(40, 10, 60, 30), kMode));
  EXPECT_EQ(mode->StateCount(), 5);
  std::vector<double> seen;
  for (int i = 0; i < 5; ++i) {
    g.OnMouseDblClick(45, 15, LeftButton());
    g.OnMouseUp({At(45, 15, LeftButton())});
    seen.push_back(mode->Value());
  }
  EXPECT_EQ(seen, (std::vector<double>{0.25, 0.5, 0.75, 1.0, 0.0}));
  EXPECT_EQ(std::count(delegate.log.begin(), delegate.log.end(), "begin 3"), 5);
  EXPECT_EQ(std::count(delegate.log.begin(), delegate.log.end(), "end 3"), 5);
}

TEST_F(ControlTest, FilmStripSwitchStepsByFrames) {
  auto* sw = Attach(new BitmapSwitchControl(10, 10, g.bitmaps["switch.png"], kMode));
  std::vector<double> seen;
  for (int i = 0; i < 4; ++i) {
    g.OnMouseDown({At(15, 15, LeftButton())});
    g.OnMouseUp({At(15, 15, LeftButton())});
    seen.push_back(sw->Value());
  }
  EXPECT_EQ(seen, (std::vector<double>{0.5, 1.0, 0.0, 0.5}));
}

TEST_F(ControlTest, FrameSelectionRoundsToTheNearestFrameAndCentres) {
  auto* knob = Attach(new BitmapKnobControl(100, 100, g.bitmaps["knob.png"], kGain));
  EXPECT_EQ(knob->FrameForValue(0.0), 1);
  EXPECT_EQ(knob->FrameForValue(0.5), 21);
  EXPECT_EQ(knob->FrameForValue(1.0), 41);
  EXPECT_EQ(knob->FrameForValue(0.0124), 1);
  EXPECT_EQ(knob->FrameForValue(0.0126), 2);

  auto* lamp = Attach(new BitmapControl(300, 200, g.bitmaps["lamp.png"], kToggle));
  EXPECT_EQ(lamp->DrawRect(), Rect(300, 200, 320, 220));  // one horizontal frame
  EXPECT_EQ(lamp->FrameForValue(0.5), 2);                 // half rounds up

  // A control larger than its frame draws the frame centred.
  lamp->SetSize(40, 30);
  EXPECT_EQ(lamp->FrameDestination(), Rect(310, 205, 330, 225));
  lamp->SetValue(1.0);
  lamp->SetDisabled(true);
  g.ops.clear();
  lamp->Draw(g);
  const std::vector<Op> draws = g.OpsNamed("bitmap");
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0].args, (std::vector<float>{310, 205, 330, 225, 20, 0, 0.25f}));

  // Rescaling fetches the image for the total scale, rounded up.
  g.SetScreenScale(1.0f);
  g.Resize(790, 350, 1.5f, false);
  g.loadScales.clear();
  g.SetScreenScale(1.0f + 1e-6f);
  EXPECT_FALSE(g.loadScales.empty());
  for (int scale : g.loadScales) EXPECT_EQ(scale, 2);

  // A strip that cannot be loaded draws nothing but keeps its name for the next try.
  BackendBitmap image(10, 10, 1.0f, 1.0f);
  auto* missing = Attach(new BitmapControl(0, 0, Bitmap{&image, 10, 10, 1, false, "missing.png"}));
  EXPECT_FALSE(missing->GetBitmap().IsValid());
  EXPECT_EQ(missing->GetBitmap().resourceName, "missing.png");
  g.ops.clear();
  missing->Draw(g);
  EXPECT_TRUE(g.ops.empty());
}

TEST_F(ControlTest, ValuesAreClippedAndPeersFollow) {
  auto* a = Attach(new ProbeControl(Rect(10, 10, 20, 20), kGain));
  auto* b = Attach(new ProbeControl(Rect(30, 10, 40, 20), kGain));
  auto* other = Attach(new ProbeControl(Rect(50, 10, 60, 20), kSteps));
  a->SetValue(1.7);
  a->SetDirty(true);
  EXPECT_EQ(a->Value(), 1.0);
  EXPECT_EQ(b->Value(), 1.0);  // the peer bound to the same parameter follows
  EXPECT_EQ(other->Value(), 0.0);
  EXPECT_EQ(delegate.values, (std::vector<double>{1.0}));

  a->SetValue(std::nan(""));
  a->SetDirty(false);
  EXPECT_EQ(a->Value(), 0.0);

  // Values for an index without a parameter are unbound: nothing is sent.
  auto* stray = Attach(new ProbeControl(Rect(70, 10, 80, 20), 42));
  stray->SetValue(0.5);
  stray->SetDirty(true);
  stray->ResetToDefault();
  EXPECT_EQ(delegate.values.size(), 1u);
  EXPECT_THROW(stray->BindParam(kGain, 1), std::out_of_range);
}

TEST_F(ControlTest, MovingAndResizingKeepTheHitArea) {
  auto* c = Attach(new ProbeControl(Rect(10, 10, 30, 30)));
  c->SetHitRect(Rect(15, 15, 25, 25));
  c->MoveTo(-5, 100);
  EXPECT_EQ(c->DrawRect(), Rect(0, 100, 20, 120));
  EXPECT_EQ(c->HitRect(), Rect(5, 105, 15, 115));
  c->SetSize(-3, 8);
  EXPECT_EQ(c->DrawRect(), Rect(0, 100, 0, 108));
  EXPECT_EQ(c->HitRect(), c->DrawRect());
  EXPECT_FALSE(c->HitTest(0, 104));
  c->SetHitRect(Rect());
  EXPECT_FALSE(c->HitTest(0, 0));
}

}  // namespace
}  // namespace plugkit::gfx::test
