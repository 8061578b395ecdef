// The editor's controls, their tags, bindings, places and drawing order, and the editor's
// creation at the remembered scale.

#include <gtest/gtest.h>

#include <map>
#include <typeinfo>

#include "EditorTestSupport.h"
#include "editor/BrackmoorKnobControl.h"
#include "editor/BrackmoorSwitchControl.h"
#include "editor/QuorvelEditor.h"
#include "editor/QuorvelLEDControl.h"
#include "editor/QuorvelManualHotspotControl.h"
#include "editor/QuorvelMotorizedKnobControl.h"
#include "editor/QuorvelNeedleControl.h"
#include "editor/QuorvelRadialNeedleControl.h"
#include "editor/ScaleCornerControl.h"
#include "graphics/BitmapControls.h"
#include "graphics/platform/GraphicsHeadless.h"

namespace quorvel::test {
namespace {

using plugkit::gfx::Control;
using plugkit::gfx::Rect;
using plugkit::gfx::RectList;
using plugkit::gfx::test::At;
using plugkit::gfx::test::LeftButton;
using plugkit::gfx::test::RecordingGraphics;

class EditorLayoutTest : public ::testing::Test {
 protected:
  void Layout() {
    LayoutEditor(g, [this] { ++manualOpened; });
  }
  void DrawEverything() {
    RectList rects;
    g.SetAllControlsDirty();
    g.IsDirty(rects);
    g.Draw(rects);
  }

  QuorvelParamsDelegate delegate;
  RecordingGraphics g{delegate};
  int manualOpened = 0;
};

template <typename T>
bool Is(const Control* c) {
  return dynamic_cast<const T*>(c) != nullptr;
}

TEST_F(EditorLayoutTest, TagsFindControlsOfTheirClass) {
  Layout();
  ASSERT_EQ(g.ControlCount(), 84);
  for (int tag : {0, 1, 35}) EXPECT_EQ(g.GetControlWithTag(tag), nullptr) << tag;
  EXPECT_TRUE(Is<QuorvelManualHotspotControl>(g.GetControlWithTag(2)));
  for (int tag = 3; tag <= 19; ++tag) EXPECT_TRUE(Is<QuorvelLEDControl>(g.GetControlWithTag(tag)));
  for (int tag = 20; tag <= 21; ++tag)
    EXPECT_TRUE(Is<QuorvelNeedleControl>(g.GetControlWithTag(tag)));
  for (int tag = 22; tag <= 25; ++tag)
    EXPECT_TRUE(Is<QuorvelRadialNeedleControl>(g.GetControlWithTag(tag)));
  for (int tag = 26; tag <= 34; ++tag)
    EXPECT_TRUE(Is<QuorvelMotorizedKnobControl>(g.GetControlWithTag(tag)));
  EXPECT_TRUE(Is<ScaleCornerControl>(g.GetControl(83)));
  EXPECT_TRUE(g.HandleMouseOver());
}

TEST_F(EditorLayoutTest, EveryParameterBelowBrickwallHasExactlyOneControl) {
  Layout();
  std::map<int, int> controlsPerParam;
  for (int i = 0; i < g.ControlCount(); ++i) {
    const Control* c = g.GetControl(i);
    if (c->ValueCount() > 0 && c->ParamIndex(0) >= 0) ++controlsPerParam[c->ParamIndex(0)];
  }
  ASSERT_EQ(controlsPerParam.size(), 58u);
  for (const auto& [param, count] : controlsPerParam) {
    EXPECT_LT(param, ToIndex(ParamIndex::BrickwallLimit));
    EXPECT_EQ(count, 1) << param;
  }
}

TEST_F(EditorLayoutTest, PlacesControlsAsDrawnWithoutArtwork) {
  Layout();  // the recording context has no images: sizes come from the artwork table
  struct Case {
    int index;
    Rect rect;
  };
  const Case cases[] = {
      {0, {0, 0, 790, 350}},      {1, {137, 25, 167, 56}},    {15, {-3, 167, 27, 198}},
      {18, {317, 25, 475, 139}},  {19, {344, 52, 448, 126}},  {20, {337, 46, 457, 166}},
      {23, {312, 21, 482, 191}},  {24, {358, 160, 434, 182}}, {25, {376, 86, 414, 124}},
      {35, {181, 6, 228, 19}},    {42, {541, 283, 596, 309}}, {56, {174, 64, 205, 92}},
      {58, {187, 289, 203, 304}}, {81, {428, 273, 444, 333}}, {82, {375, 137, 415, 151}},
  };
  for (const Case& c : cases) EXPECT_EQ(g.GetControl(c.index)->DrawRect(), c.rect) << c.index;
}

TEST_F(EditorLayoutTest, GearingAndBindingOfSamples) {
  Layout();
  const auto* trim = dynamic_cast<BrackmoorKnobControl*>(g.GetControl(25));
  const auto* slider = dynamic_cast<BrackmoorKnobControl*>(g.GetControl(78));
  ASSERT_TRUE(trim && slider);
  EXPECT_EQ(trim->ParamIndex(), ToIndex(ParamIndex::InputTrim));
  EXPECT_EQ(trim->Gearing(), 10.0);
  EXPECT_EQ(slider->ParamIndex(), ToIndex(ParamIndex::AdsrAttack));
  EXPECT_EQ(slider->Gearing(), 1.0);
  EXPECT_EQ(g.GetControlWithTag(26)->ParamIndex(), ToIndex(ParamIndex::CutoffFilterFrequency));
  EXPECT_EQ(g.GetControlWithTag(30)->ParamIndex(), ToIndex(ParamIndex::Output));
}

TEST_F(EditorLayoutTest, MissingArtworkDrawsNothing) {
  Layout();
  DrawEverything();
  EXPECT_TRUE(g.OpsNamed("bitmap").empty());
}

TEST_F(EditorLayoutTest, TrimKnobDrawsOverTheMeters) {
  plugkit::gfx::BackendBitmap outer{158, 11514, 1, 1}, inner{104, 7474, 1, 1}, trim{38, 2356, 1, 1};
  g.AddBitmap({&outer, 158, 11514, 101, false, "VU-stack-outer.png"});
  g.AddBitmap({&inner, 104, 7474, 101, false, "VU-stack-inner.png"});
  g.AddBitmap({&trim, 38, 2356, 62, false, "trim-stack.png"});
  Layout();
  RectList hub;
  hub.Add(Rect(376, 86, 414, 124));
  g.Draw(hub);
  std::vector<float> lefts;  // one entry per blit, in drawing order
  for (const auto& op : g.OpsNamed("bitmap")) lefts.push_back(op.args[0]);
  EXPECT_EQ(lefts, (std::vector<float>{317, 344, 376}));
}

TEST_F(EditorLayoutTest, LogoOpensTheManual) {
  Layout();
  g.OnMouseDown({At(374, 144, LeftButton())});
  g.OnMouseUp({At(374, 144, LeftButton())});
  EXPECT_EQ(manualOpened, 0);
  g.OnMouseDown({At(395, 144, LeftButton())});
  g.OnMouseUp({At(395, 144, LeftButton())});
  EXPECT_EQ(manualOpened, 1);
}

TEST_F(EditorLayoutTest, LampsLetClicksThrough) {
  Layout();
  // The drive-on lamp lies over the drive toggle.
  EXPECT_EQ(g.FindControlAt(8, 195), g.GetControl(32));
}

TEST(EditorCreationTest, OpensAtTheStoredScaleWithinLimits) {
  const struct {
    const char* stored;  // nullptr: no file
    float scale;
  } cases[] = {{nullptr, 1.0f}, {"8\n", 4.0f}, {"0.2\n", 0.5f}, {"1.5\n", 1.5f}, {"nan\n", 1.0f}};
  for (const auto& c : cases) {
    ScratchConfigHome config;
    if (c.stored) WriteFile(config.PreferenceFile(), c.stored);
    QuorvelParamsDelegate delegate;
    float madeAt = 0.0f;
    auto graphics = CreateEditorGraphics(
        delegate, [&](plugkit::GraphicsEditorDelegate& d, int w, int h, int fps, float scale) {
          EXPECT_EQ(w, 790);
          EXPECT_EQ(h, 350);
          EXPECT_EQ(fps, 18);
          madeAt = scale;
          return std::make_unique<RecordingGraphics>(d, scale);
        });
    ASSERT_NE(graphics, nullptr);
    EXPECT_EQ(madeAt, c.scale) << (c.stored ? c.stored : "none");
    EXPECT_NE(graphics->ModuleInstance(), nullptr);
  }
}

TEST(EditorCreationTest, HeadlessEditorRendersWithoutArtwork) {
  ScratchConfigHome config;
  WriteFile(config.PreferenceFile(), "1.5\n");
  QuorvelParamsDelegate delegate;
  auto graphics = CreateEditorGraphics(delegate);
  ASSERT_NE(graphics, nullptr);
  EXPECT_EQ(graphics->DrawScale(), 1.5f);
  LayoutEditor(*graphics, nullptr);
  EXPECT_EQ(graphics->ControlCount(), 84);
  auto& headless = static_cast<plugkit::gfx::GraphicsHeadless&>(*graphics);
  headless.RenderAll();
  headless.PointerDown(395, 144, LeftButton());  // no manual action: nothing happens
  headless.PointerUp(395, 144, LeftButton());
  headless.PointerDown(200, 80, LeftButton());  // drag the cutoff knob
  headless.PointerMove(200, 40, LeftButton());
  headless.RenderFrame();
  headless.PointerUp(200, 40, LeftButton());
  headless.RenderFrame();
}

TEST(EditorCreationTest, ClosingStoresTheScale) {
  ScratchConfigHome config;
  QuorvelParamsDelegate delegate;
  RecordingGraphics g(delegate, 1.75f);
  EXPECT_TRUE(StoreEditorScale(&g));
  EXPECT_EQ(ReadFile(config.PreferenceFile()), "1.7500\n");
  EXPECT_FALSE(StoreEditorScale(nullptr));
}

}  // namespace
}  // namespace quorvel::test
