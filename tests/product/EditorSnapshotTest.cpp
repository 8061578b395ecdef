// The editor-snapshot extension: the frame's size at each draw scale, hostile calls refused,
// and no trace left of an editor the snapshot opened.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "graphics/Graphics.h"
#include "product/ext/EditorSnapshot.h"
#include "tests/editor/EditorTestSupport.h"
#include "tests/product/InProcessFactory.h"
#include "tools/clap-host/Host.h"
#include "tools/clap-host/PluginInstance.h"

namespace {

class EditorSnapshotTest : public testing::Test {
 protected:
  void SetUp() override {
    host = std::make_unique<clapHost::Host>();
    std::string error;
    instance = clapHost::PluginInstance::Create(testSupport::kQuorvelFactory, *host,
                                                testSupport::kQuorvelTestId, error);
    ASSERT_TRUE(instance) << error;
    plugin = dynamic_cast<quorvel::Quorvel*>(plugkit::ClapPlugin::FromClap(instance->Plugin()));
    snapshot = instance->GetExtension<quorvel_plugin_editor_snapshot>(QUORVEL_EXT_EDITOR_SNAPSHOT);
    ASSERT_NE(snapshot, nullptr);
  }

  bool Draw(double scale, std::vector<uint8_t>* pixels, uint32_t& width, uint32_t& height) {
    return snapshot->draw(instance->Plugin(), scale, pixels ? pixels->data() : nullptr,
                          pixels ? pixels->size() : 0, &width, &height);
  }

  quorvel::test::ScratchConfigHome config;  // the display-scale preference lands here
  std::unique_ptr<clapHost::Host> host;
  std::unique_ptr<clapHost::PluginInstance> instance;
  quorvel::Quorvel* plugin = nullptr;
  const quorvel_plugin_editor_snapshot* snapshot = nullptr;
};

TEST_F(EditorSnapshotTest, FrameSizeFollowsTheDrawScale) {
  struct Case {
    double scale;
    uint32_t width, height;
  };
  for (const Case& c : {Case{1.0, 790, 350}, Case{2.0, 1580, 700}, Case{1.25, 987, 437},
                        Case{0.5, 395, 175}, Case{4.0, 3160, 1400}}) {
    uint32_t width = 0, height = 0;
    EXPECT_TRUE(Draw(c.scale, nullptr, width, height)) << c.scale;
    EXPECT_EQ(width, c.width) << c.scale;
    EXPECT_EQ(height, c.height) << c.scale;
  }
}

TEST_F(EditorSnapshotTest, DrawsAnOpaquePanelIntoTheBuffer) {
  std::vector<uint8_t> pixels(790 * 350 * 4, 0);
  uint32_t width = 0, height = 0;
  ASSERT_TRUE(Draw(1.0, &pixels, width, height));
  size_t transparent = 0, unlikeTheFirst = 0;
  for (size_t i = 0; i < pixels.size(); i += 4) {
    if (pixels[i + 3] != 255) ++transparent;
    if (std::memcmp(&pixels[i], &pixels[0], 4) != 0) ++unlikeTheFirst;
  }
  EXPECT_EQ(transparent, 0u);
  EXPECT_GT(unlikeTheFirst, 790u * 350u / 2) << "a panel, not a plain fill";
}

TEST_F(EditorSnapshotTest, HostileCallsReturnFalse) {
  std::vector<uint8_t> pixels(790 * 350 * 4);
  uint32_t width = 0, height = 0;
  const auto draw = snapshot->draw;
  EXPECT_FALSE(draw(nullptr, 1.0, pixels.data(), pixels.size(), &width, &height));
  EXPECT_FALSE(draw(instance->Plugin(), 1.0, pixels.data(), pixels.size(), nullptr, &height));
  EXPECT_FALSE(draw(instance->Plugin(), 1.0, pixels.data(), pixels.size(), &width, nullptr));
  for (double scale :
       {std::nan(""), std::numeric_limits<double>::infinity(), 0.0, -1.0, 0.49, 4.01, 1e300}) {
    EXPECT_FALSE(draw(instance->Plugin(), scale, pixels.data(), pixels.size(), &width, &height))
        << scale;
  }
  width = height = 0;
  EXPECT_FALSE(draw(instance->Plugin(), 1.0, pixels.data(), pixels.size() - 1, &width, &height));
  EXPECT_EQ(width, 790u) << "the size is reported so the caller can retry";
  EXPECT_EQ(height, 350u);
  EXPECT_FALSE(draw(instance->Plugin(), 2.0, pixels.data(), pixels.size(), &width, &height));
}

TEST_F(EditorSnapshotTest, LeavesNoTraceOfTheEditorItOpened) {
  uint32_t width = 0, height = 0;
  ASSERT_TRUE(Draw(2.0, nullptr, width, height));
  EXPECT_EQ(plugin->GetGraphics(), nullptr) << "closed again";
  EXPECT_FALSE(std::filesystem::exists(config.PreferenceFile())) << "no zoom stored";
  EXPECT_EQ(plugin->RememberedDrawScale(), 0.0f) << "the host's editor keeps its own zoom";

  plugin->OpenWindow(nullptr);
  ASSERT_NE(plugin->GetGraphics(), nullptr);
  EXPECT_EQ(plugin->GetGraphics()->DrawScale(), 1.0f);
}

TEST_F(EditorSnapshotTest, AnOpenEditorIsDrawnAtItsOwnScaleAndStaysOpen) {
  plugin->OpenWindow(nullptr);
  plugkit::gfx::Graphics* open = plugin->GetGraphics();
  ASSERT_NE(open, nullptr);
  std::vector<uint8_t> pixels(790 * 350 * 4);
  uint32_t width = 0, height = 0;
  ASSERT_TRUE(Draw(2.0, &pixels, width, height));
  EXPECT_EQ(width, 790u);
  EXPECT_EQ(height, 350u);
  EXPECT_EQ(plugin->GetGraphics(), open);
  EXPECT_FALSE(Draw(std::nan(""), &pixels, width, height)) << "refused even when open";
}

}  // namespace
