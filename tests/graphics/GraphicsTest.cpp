// The graphics context: control list, event routing and capture, the frame cycle, the scale
// model and the editor delegate's graphics side.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "GraphicsTestSupport.h"
#include "framework/ByteChunk.h"
#include "graphics/KnobControlBase.h"

namespace plugkit::gfx::test {
namespace {

class GraphicsTest : public ::testing::Test {
 protected:
  GraphicsTest() {
    background =
        static_cast<ProbeControl*>(g.AttachControl(new ProbeControl(Rect(0, 0, 790, 350))));
    knob = static_cast<ProbeControl*>(
        g.AttachControl(new ProbeControl(Rect(100, 100, 150, 150), kGain), 7));
    plain = static_cast<ProbeControl*>(g.AttachControl(new ProbeControl(Rect(300, 100, 350, 150))));
    g.SetHandleMouseOver(true);
  }

  TestDelegate delegate;
  RecordingGraphics g{delegate};
  ProbeControl* background;
  ProbeControl* knob;
  ProbeControl* plain;
};

TEST_F(GraphicsTest, TagsAreUniqueAndControlsWiredOnAttach) {
  EXPECT_EQ(g.ControlCount(), 3);
  EXPECT_EQ(g.GetControlWithTag(7), knob);
  EXPECT_EQ(g.GetControlWithTag(8), nullptr);
  EXPECT_EQ(g.GetControl(3), nullptr);
  EXPECT_EQ(knob->GetGraphics(), &g);
  EXPECT_EQ(knob->rescaleCount, 1);
  EXPECT_EQ(g.AttachControl(new ProbeControl(Rect(0, 0, 1, 1)), 7), nullptr);
  EXPECT_EQ(g.ControlCount(), 3);
  g.RemoveAllControls();
  EXPECT_EQ(g.ControlCount(), 0);
  EXPECT_EQ(g.GetControlWithTag(7), nullptr);
}

TEST_F(GraphicsTest, AHeldControlKeepsItsDragsAndIgnoresHostValues) {
  g.OnMouseDown({At(120, 120, LeftButton())});
  EXPECT_EQ(delegate.log, (std::vector<std::string>{"begin 0"}));
  EXPECT_TRUE(g.IsCaptured(knob));

  // Far outside the knob, even outside the window: the drags still go to it.
  g.OnMouseDrag({At(2000, -40, LeftButton(), 5, -3)});
  g.OnMouseDrag({At(2000, -40, LeftButton(), 0, 0)});  // no movement, no drag
  EXPECT_EQ(knob->events, (std::vector<std::string>{"down", "drag 5,-3"}));

  knob->ReceiveValue(0.75);  // host automation arriving meanwhile
  EXPECT_EQ(knob->Value(), 0.0);

  g.OnMouseUp({At(2000, -40, LeftButton())});
  EXPECT_EQ(delegate.log, (std::vector<std::string>{"begin 0", "end 0"}));
  EXPECT_FALSE(g.IsCaptured(knob));
  knob->ReceiveValue(0.75);
  EXPECT_EQ(knob->Value(), 0.75);

  // A release for a pointer nobody holds is ignored; a drag without capture reaches no one.
  g.OnMouseDrag({At(120, 120, LeftButton(), 1, 1)});
  g.OnMouseUp({At(120, 120, LeftButton())});
  EXPECT_EQ(std::count(knob->events.begin(), knob->events.end(), "up"), 1);
  EXPECT_EQ(std::count(knob->events.begin(), knob->events.end(), "drag 1,1"), 0);
  EXPECT_EQ(delegate.log.size(), 2u);
}

TEST_F(GraphicsTest, RightButtonAndBackgroundPresses) {
  // Right button on a bound control: the context menu path, which this control leaves empty.
  g.OnMouseDown({At(120, 120, RightButton())});
  EXPECT_TRUE(knob->events.empty());
  EXPECT_TRUE(delegate.log.empty());
  EXPECT_FALSE(g.IsCaptured(knob));

  // Right button on an unbound control reaches it with R set.
  g.OnMouseDown({At(320, 120, RightButton())});
  EXPECT_EQ(plain->events, (std::vector<std::string>{"down R"}));
  g.OnMouseUp({At(320, 120, RightButton())});

  // An empty spot lands on the background, which has no parameter.
  g.OnMouseDown({At(600, 300, LeftButton())});
  EXPECT_EQ(background->events, (std::vector<std::string>{"down"}));
  EXPECT_TRUE(delegate.log.empty());
  float x = 0, y = 0;
  g.GetMouseDownPosition(x, y);
  EXPECT_EQ(x, 600);
  EXPECT_EQ(y, 300);
}

TEST_F(GraphicsTest, HiddenDisabledAndTransparentControlsAreNotHit) {
  knob->SetDisabled(true);
  EXPECT_EQ(g.FindControlAt(120, 120), background);
  knob->SetEventsWhenDisabled(true);
  EXPECT_EQ(g.FindControlAt(120, 120), knob);
  EXPECT_EQ(knob->GetBlend().weight, 0.25f);
  knob->SetDisabled(false);
  EXPECT_EQ(knob->GetBlend().weight, 1.0f);
  knob->Hide(true);
  EXPECT_EQ(g.FindControlAt(120, 120), background);
  knob->Hide(false);
  knob->SetMouseTransparent(true);
  EXPECT_EQ(g.FindControlAt(120, 120), background);
}

TEST_F(GraphicsTest, HoverSkipsTheBackgroundAndNeedsHandling) {
  EXPECT_TRUE(g.OnMouseOver(120, 120, MouseState{}));
  EXPECT_EQ(g.MouseOverIndex(), 1);
  EXPECT_FALSE(g.OnMouseOver(600, 300, MouseState{}));  // background never takes hover
  EXPECT_EQ(knob->events, (std::vector<std::string>{"over", "out"}));
  EXPECT_EQ(g.MouseOverIndex(), -1);

  g.OnMouseOver(320, 120, MouseState{});
  g.OnMouseOut();
  EXPECT_EQ(plain->events, (std::vector<std::string>{"over", "out"}));
  EXPECT_EQ(g.CurrentCursorShape(), CursorShape::Hand);  // the shape showing is remembered
  EXPECT_EQ(g.shapeShowing, CursorShape::Arrow);

  g.SetHandleMouseOver(false);
  EXPECT_FALSE(g.OnMouseOver(120, 120, MouseState{}));
}

TEST_F(GraphicsTest, DoubleClickWheelKeysAndDrops) {
  knob->SetValue(0.9);
  EXPECT_TRUE(g.OnMouseDblClick(120, 120, LeftButton()));
  EXPECT_EQ(knob->events, (std::vector<std::string>{"dblclick"}));
  EXPECT_DOUBLE_EQ(knob->Value(), 0.25);  // back to the default, and the host told
  EXPECT_EQ(delegate.log, (std::vector<std::string>{"value 0"}));
  EXPECT_FALSE(g.IsCaptured(knob));

  // A control that takes double clicks as presses gets a second press.
  plain->SetDoubleClickAsSingle(true);
  EXPECT_TRUE(g.OnMouseDblClick(320, 120, LeftButton()));
  EXPECT_EQ(plain->events, (std::vector<std::string>{"down"}));
  g.OnMouseUp({At(320, 120, LeftButton())});

  EXPECT_TRUE(g.OnMouseWheel(120, 120, MouseState{}, -2));
  EXPECT_EQ(knob->events.back(), "wheel -2");
  EXPECT_TRUE(g.OnMouseWheel(700, 20, MouseState{}, 1));  // the background takes it
  g.RemoveAllControls();
  EXPECT_FALSE(g.OnMouseWheel(120, 120, MouseState{}, 1));
  EXPECT_FALSE(g.OnMouseDblClick(120, 120, LeftButton()));
}

TEST_F(GraphicsTest, KeysSkipTheBackgroundAndFallBackToTheHandler) {
  KeyEvent key;
  key.virtualKey = 0x41;
  EXPECT_FALSE(g.OnKeyDown(120, 120, key));
  EXPECT_EQ(knob->events, (std::vector<std::string>{"key 65"}));
  knob->handlesKeys = true;
  EXPECT_TRUE(g.OnKeyDown(120, 120, key));

  background->handlesKeys = true;
  EXPECT_FALSE(g.OnKeyDown(600, 300, key));
  EXPECT_TRUE(background->events.empty());

  std::vector<bool> releases;
  g.SetKeyHandler([&](const KeyEvent&, bool isRelease) {
    releases.push_back(isRelease);
    return true;
  });
  EXPECT_TRUE(g.OnKeyUp(600, 300, key));
  EXPECT_EQ(releases, (std::vector<bool>{true}));
}

TEST_F(GraphicsTest, DropsGoToTheFrontmostAcceptingControl) {
  auto* front =
      static_cast<ProbeControl*>(g.AttachControl(new ProbeControl(Rect(90, 90, 160, 160))));
  knob->acceptsDrop = true;
  g.OnDrop("/tmp/a.wav", 120, 120);
  EXPECT_EQ(knob->events, (std::vector<std::string>{"drop /tmp/a.wav"}));
  EXPECT_TRUE(front->events.empty());

  // Nobody accepts: the control under the point gets it anyway.
  knob->acceptsDrop = false;
  g.OnDropMultiple({"/tmp/b.wav", "/tmp/c.wav"}, 120, 120);
  EXPECT_EQ(front->events, (std::vector<std::string>{"drop /tmp/b.wav"}));
}

TEST_F(GraphicsTest, FrameCycleDrawsDirtyAreasClippedAndOnce) {
  RectList rects;
  EXPECT_TRUE(g.IsDirty(rects));  // everything starts dirty
  g.SetAllControlsClean();
  rects.Clear();
  EXPECT_FALSE(g.IsDirty(rects));

  knob->SetDirty(false);
  rects.Clear();
  ASSERT_TRUE(g.IsDirty(rects));
  ASSERT_EQ(rects.Size(), 1);
  EXPECT_EQ(rects.Get(0), Rect(99.25f, 99.25f, 150.75f, 150.75f));

  // Hidden controls are not drawn, except the background.
  background->Hide(true);
  plain->Hide(true);
  g.Draw(rects);
  EXPECT_EQ(background->drawCount, 1);
  EXPECT_EQ(knob->drawCount, 1);
  EXPECT_EQ(plain->drawCount, 0);
  ASSERT_EQ(g.clips.size(), 2u);
  EXPECT_EQ(g.clips[0], Rect(99, 99, 151, 151));  // the pixel-aligned area inside the background
  EXPECT_EQ(g.clips[1], Rect(99, 99, 151, 151));

  // Two overlapping dirty knobs: each area drawn once, the overlap not twice.
  auto* neighbour =
      static_cast<ProbeControl*>(g.AttachControl(new ProbeControl(Rect(140, 100, 190, 150))));
  g.SetAllControlsClean();
  knob->SetDirty(false);
  neighbour->SetDirty(false);
  rects.Clear();
  g.IsDirty(rects);
  g.Draw(rects);
  EXPECT_EQ(rects.Size(), 1);
  EXPECT_EQ(rects.Get(0), Rect(99, 99, 191, 151));
  EXPECT_EQ(knob->drawCount, 2);
  EXPECT_EQ(neighbour->drawCount, 1);
}

TEST_F(GraphicsTest, ResizeClampsAndConstrains) {
  g.Resize(790, 350, 5.0f, true);
  EXPECT_EQ(g.DrawScale(), 4.0f);
  EXPECT_EQ(delegate.resized.back(), (std::vector<int>{3160, 1400, 1}));
  const int rebuilds = g.surfaceRebuilds;
  g.Resize(790, 350, 4.0f, true);  // nothing changes
  EXPECT_EQ(g.surfaceRebuilds, rebuilds);
  g.Resize(100, 100, 1.0f, true);
  EXPECT_EQ(g.Width(), 263);
  EXPECT_EQ(g.Height(), 116);
  g.Resize(790, 350, std::nanf(""), false);
  EXPECT_EQ(g.DrawScale(), 1.0f);  // a NaN scale keeps the current one

  // A screen scale change rescales every control.
  const int before = knob->rescaleCount;
  g.SetScreenScale(2.0f);
  EXPECT_EQ(knob->rescaleCount, before + 1);
  EXPECT_EQ(g.PixelScale(), 2.0f);
  g.SetScreenScale(0.0f);
  EXPECT_EQ(g.ScreenScale(), 2.0f);

  // The scale given at construction obeys the same limits.
  EXPECT_EQ(RecordingGraphics(delegate, 0.0f).DrawScale(), 0.5f);
  EXPECT_EQ(RecordingGraphics(delegate, std::nanf("")).DrawScale(), 1.0f);
}

TEST_F(GraphicsTest, HostResizeRequestFindsAnExactScale) {
  g.OnHostResizeRequest(790, 350);  // the current size: nothing happens
  EXPECT_TRUE(delegate.resized.empty());

  g.OnHostResizeRequest(1580, 700);
  EXPECT_EQ(g.DrawScale(), 2.0f);
  EXPECT_EQ(g.Width(), 790);
  EXPECT_EQ(g.Height(), 350);

  // 1185 × 525 is reproduced by 1.5 exactly.
  g.OnHostResizeRequest(1185, 525);
  EXPECT_EQ(g.DrawScale(), 1.5f);

  // At window scale 2 the requested pixels are divided first.
  g.windowScale = 2.0f;
  g.OnHostResizeRequest(1580, 700);
  EXPECT_EQ(g.DrawScale(), 1.0f);

  // No scale gives an aspect ratio this different: the unit size follows the request.
  g.windowScale = 1.0f;
  g.OnHostResizeRequest(800, 800);
  EXPECT_EQ(g.DrawScale(), 1.0f);
  EXPECT_EQ(g.Width(), 800);
  EXPECT_EQ(g.Height(), 800);

  // Any scale found reproduces the request to the pixel.
  g.Resize(790, 350, 1.0f, false);
  for (int w : {395, 791, 1000, 1234, 2000, 3159}) {
    const int h = static_cast<int>(static_cast<float>(w) * 350.0f / 790.0f);
    g.OnHostResizeRequest(w, h);
    if (g.Width() == 790) {
      EXPECT_EQ(static_cast<int>(790.0f * g.DrawScale()), w);
      EXPECT_EQ(static_cast<int>(350.0f * g.DrawScale()), h);
    }
    g.Resize(790, 350, 1.0f, false);
  }
}

TEST_F(GraphicsTest, DragResizeScalesFromThePressAndReloadsAtTheEnd) {
  g.OnMouseDown({At(700, 300, LeftButton())});
  g.SetResizingInProgress(true);
  const int before = knob->rescaleCount;
  g.OnMouseDrag({At(1050, 450, LeftButton(), 350, 150)});
  EXPECT_EQ(g.DrawScale(), 1.5f);
  EXPECT_EQ(knob->rescaleCount, before);  // no reload while dragging
  g.OnMouseUp({At(1050, 450, LeftButton())});
  EXPECT_FALSE(g.ResizingInProgress());
  EXPECT_EQ(knob->rescaleCount, before + 1);

  g.SetPendingSnapScale(2.0f);
  g.OnMouseUp({At(10, 10, LeftButton())});
  EXPECT_EQ(g.DrawScale(), 2.0f);
  EXPECT_EQ(g.PendingSnapScale(), 0.0f);
}

TEST(GraphicsEditorDelegateTest, OpenCloseRemembersTheScaleAndEditorState) {
  TestDelegate delegate;
  ProbeControl* knob = nullptr;
  delegate.SetMakeGraphicsFunction(
      [](GraphicsEditorDelegate& d) { return std::make_unique<RecordingGraphics>(d, 1.0f); });
  delegate.SetLayoutFunction([&](Graphics& g) {
    g.AttachControl(new ProbeControl(Rect(0, 0, 790, 350)));
    knob = static_cast<ProbeControl*>(
        g.AttachControl(new ProbeControl(Rect(10, 10, 40, 40), kSteps), 3));
  });
  delegate.ParamAt(kSteps)->SetPlain(3);

  ASSERT_NE(delegate.OpenWindow(nullptr), nullptr);
  EXPECT_EQ(delegate.openedCount, 1);
  EXPECT_DOUBLE_EQ(knob->Value(), 0.75);  // every value sent to the new controls

  delegate.SendControlValueToUI(3, 0.5);
  EXPECT_EQ(knob->Value(), 0.5);
  delegate.SendParamValueToUI(kSteps, 1.0, false);  // plain values are normalized
  EXPECT_EQ(knob->Value(), 0.25);
  delegate.SendParamValueToUI(kSteps, 9.0, false);  // and limited
  EXPECT_EQ(knob->Value(), 1.0);
  delegate.SendControlValueToUI(99, 0.1);  // no such tag: nothing

  delegate.GetGraphics()->Resize(790, 350, 2.0f, true);
  ByteChunk state;
  ASSERT_TRUE(delegate.SaveEditorState(state));
  delegate.CloseWindow();
  EXPECT_EQ(delegate.GetGraphics(), nullptr);
  EXPECT_EQ(delegate.RememberedDrawScale(), 2.0f);
  delegate.SendControlValueToUI(3, 0.5);  // closed: nothing to reach, nothing breaks

  delegate.OpenWindow(nullptr);
  ASSERT_NE(delegate.GetGraphics(), nullptr);
  EXPECT_EQ(delegate.GetGraphics()->DrawScale(), 2.0f);

  // Restoring the saved editor state resizes the open editor.
  delegate.GetGraphics()->Resize(790, 350, 1.0f, true);
  EXPECT_EQ(delegate.RestoreEditorState(state, 0), 12);
  EXPECT_EQ(delegate.GetGraphics()->DrawScale(), 2.0f);
  ByteChunk shortChunk;
  shortChunk.Put(int32_t{790});
  EXPECT_EQ(delegate.RestoreEditorState(shortChunk, 0), -1);
  EXPECT_EQ(delegate.GetGraphics()->DrawScale(), 2.0f);
  delegate.CloseWindow();
}

}  // namespace
}  // namespace plugkit::gfx::test
