// The maker's knob read-out and Shift press, the switch's double click, and the zoom corner's
// hit area, snapping, label and double click.

#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "editor/BrackmoorKnobControl.h"
#include "editor/BrackmoorSwitchControl.h"
#include "editor/QuorvelEditor.h"
#include "editor/ScaleCornerControl.h"

namespace quorvel::test {
namespace {

using plugkit::gfx::BackendBitmap;
using plugkit::gfx::Bitmap;
using plugkit::gfx::MouseState;
using plugkit::gfx::Rect;
using plugkit::gfx::RectList;
using plugkit::gfx::test::At;
using plugkit::gfx::test::LeftButton;
using plugkit::gfx::test::RecordingGraphics;
using plugkit::gfx::test::RightButton;

MouseState Shift() {
  MouseState state = LeftButton();
  state.S = true;
  return state;
}

class MakerControlsTest : public ::testing::Test {
 protected:
  BrackmoorKnobControl* AttachKnob(ParamIndex param) {
    auto* knob = new BrackmoorKnobControl(100, 100, Bitmap{&strip, 24, 3128, 136, false, "k"},
                                          ToIndex(param));
    g.AttachControl(knob);
    knob->SetValue(delegate.ParamAt(ToIndex(param))->GetNormalizedValue());
    return knob;
  }
  int TextOps() {
    RectList rects;
    g.ops.clear();
    g.IsDirty(rects);
    g.Draw(rects);
    g.SetAllControlsClean();
    return static_cast<int>(g.OpsNamed("text").size());
  }

  BackendBitmap strip{24, 3128, 1, 1};
  QuorvelParamsDelegate delegate;
  RecordingGraphics g{delegate};
};

TEST_F(MakerControlsTest, ReadoutShowsTheValueOnlyWhileDragging) {
  const struct {
    ParamIndex param;
    float dragY;
    const char* text;
  } cases[] = {{ParamIndex::CutoffFilterFrequency, -10000, "18000"},
               {ParamIndex::AdsrGateOnThreshold, 0, "-12.00"},
               {ParamIndex::Lfo1Shape, 10000, "sine"}};
  for (const auto& c : cases) {
    g.RemoveAllControls();
    BrackmoorKnobControl* knob = AttachKnob(c.param);
    EXPECT_EQ(TextOps(), 0);
    g.OnMouseDown({At(110, 110, LeftButton())});
    g.OnMouseDrag({At(110, 110, LeftButton(), 0, c.dragY == 0 ? 0.0001f : c.dragY)});
    EXPECT_EQ(knob->ReadoutText(), c.text);
    // The read-out is wider than the knob and must not be clipped away.
    EXPECT_TRUE(knob->DrawRect().Contains(knob->ReadoutBox()));
    EXPECT_EQ(TextOps(), 1);
    g.OnMouseUp({At(110, 110, LeftButton())});
    EXPECT_EQ(TextOps(), 0);
    EXPECT_EQ(knob->DrawRect(), Rect(100, 100, 124, 123));
  }
}

TEST_F(MakerControlsTest, ShiftPressNeitherDragsNorSwitches) {
  BrackmoorKnobControl* knob = AttachKnob(ParamIndex::Resonance);
  auto* toggle = new BrackmoorSwitchControl(200, 100, Bitmap{&strip, 27, 20, 2, false, "t"},
                                            ToIndex(ParamIndex::DriveFeedback));
  g.AttachControl(toggle);
  g.OnMouseDown({At(110, 110, Shift())});
  EXPECT_FALSE(knob->IsDragging());
  g.OnMouseUp({At(110, 110, Shift())});
  g.OnMouseDown({At(205, 105, Shift())});
  g.OnMouseUp({At(205, 105, Shift())});
  EXPECT_EQ(toggle->Value(), 0.0);
}

TEST_F(MakerControlsTest, DoubleClickResetsKnobsAndAdvancesSwitchesTwice) {
  BrackmoorKnobControl* knob = AttachKnob(ParamIndex::Resonance);
  knob->SetValue(0.7);
  auto* toggle = new BrackmoorSwitchControl(200, 100, Bitmap{&strip, 27, 20, 2, false, "t"},
                                            ToIndex(ParamIndex::DriveFeedback));
  g.AttachControl(toggle);
  g.OnMouseDblClick(110, 110, LeftButton());
  EXPECT_EQ(knob->Value(), 0.0);  // resonance defaults to 0
  g.OnMouseDown({At(205, 105, LeftButton())});
  g.OnMouseUp({At(205, 105, LeftButton())});
  g.OnMouseDblClick(205, 105, LeftButton());
  g.OnMouseUp({At(205, 105, LeftButton())});
  EXPECT_EQ(toggle->Value(), 0.0);
}

class ScaleCornerTest : public ::testing::Test {
 protected:
  ScaleCornerTest() {
    corner = static_cast<ScaleCornerControl*>(g.AttachControl(MakeEditorScaleCorner(editor)));
  }
  // Press in the corner, drag the editor to `scale`, release.
  void ResizeTo(float scale, const MouseState& release = LeftButton()) {
    g.OnMouseDown({At(780, 340, LeftButton())});
    g.Resize(790, 350, scale, true);
    g.OnMouseUp({At(780, 340, release)});
  }

  const Rect editor{0, 0, 790, 350};
  QuorvelParamsDelegate delegate;
  RecordingGraphics g{delegate};
  ScaleCornerControl* corner = nullptr;
};

TEST_F(ScaleCornerTest, HitAreaAndTriangleKeepTheirScreenSize) {
  EXPECT_EQ(corner->HitArea(), Rect(751, 311, 789, 349));
  EXPECT_EQ(corner->Triangle(), Rect(771, 331, 789, 349));
  g.Resize(790, 350, 2.0f, true);
  EXPECT_EQ(corner->HitArea(), Rect(771, 331, 789, 349));
  EXPECT_EQ(corner->Triangle(), Rect(781, 341, 789, 349));
}

TEST_F(ScaleCornerTest, OnlyAPlainPressInTheHitSquareStartsAResize) {
  const struct {
    float x, y;
    bool right;
    bool starts;
  } cases[] = {{752, 312, false, true}, {750, 312, false, false}, {780, 340, true, false}};
  for (const auto& c : cases) {
    g.OnMouseDown({At(c.x, c.y, c.right ? RightButton() : LeftButton())});
    EXPECT_EQ(g.ResizingInProgress(), c.starts) << c.x;
    g.SetResizingInProgress(false);
    g.ReleasePointerCapture();
  }
}

TEST_F(ScaleCornerTest, ReleaseSnapsToTheNearestStep) {
  const struct {
    float dragged;
    float snapped;
  } cases[] = {{1.37f, 1.25f}, {1.375f, 1.25f}, {3.2f, 2.0f}, {0.6f, 1.0f}, {1.75f, 1.75f}};
  for (const auto& c : cases) {
    g.Resize(790, 350, 1.0f, true);
    ResizeTo(c.dragged);
    EXPECT_FLOAT_EQ(g.DrawScale(), c.snapped) << c.dragged;
    EXPECT_FALSE(g.ResizingInProgress());
    // The host is asked for the snapped size.
    EXPECT_EQ(delegate.lastResize,
              std::make_pair(static_cast<int>(790 * c.snapped), static_cast<int>(350 * c.snapped)));
  }
}

TEST_F(ScaleCornerTest, ShiftReleaseAndTinyMovesKeepTheScale) {
  ResizeTo(1.37f, Shift());
  EXPECT_FLOAT_EQ(g.DrawScale(), 1.37f);
  g.OnMouseDown({At(780, 340, LeftButton())});
  g.Resize(790, 350, 1.37005f, true);
  corner->OnMouseUp(780, 340, LeftButton());
  EXPECT_EQ(g.PendingSnapScale(), 0.0f);
}

TEST_F(ScaleCornerTest, LabelShowsTheSnapTargetWhileDragging) {
  EXPECT_EQ(corner->LabelText(1.37f), "125%");
  EXPECT_EQ(corner->LabelText(1.9f), "200%");
  const auto labels = [&] {
    g.ops.clear();
    corner->Draw(g);
    return g.OpsNamed("text").size();
  };
  g.OnMouseDown({At(780, 340, LeftButton())});
  EXPECT_EQ(labels(), 0u);  // not moved yet
  g.Resize(790, 350, 1.37f, true);
  EXPECT_EQ(labels(), 1u);
  g.SetResizeWithShift(true);
  EXPECT_EQ(labels(), 0u);
  // 58 × 20 screen pixels at any scale.
  const Rect box = corner->LabelBox();
  EXPECT_NEAR(box.W() * 1.37f, 58.0f, 1e-3f);
  EXPECT_NEAR(box.H() * 1.37f, 20.0f, 1e-3f);
}

TEST_F(ScaleCornerTest, DoubleClickReturnsToFullSize) {
  g.Resize(790, 350, 1.75f, true);
  g.OnMouseDblClick(780, 340, LeftButton());
  EXPECT_EQ(g.DrawScale(), 1.0f);
  EXPECT_FALSE(g.ResizingInProgress());
}

}  // namespace
}  // namespace quorvel::test
