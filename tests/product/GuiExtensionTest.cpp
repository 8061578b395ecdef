// The gui extension's answers that need no window: API choice, sizes, hostile input.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "host/clap/ext/Gui.h"
#include "product/Quorvel.h"
#include "tests/product/InProcessFactory.h"
#include "tools/clap-host/Host.h"
#include "tools/clap-host/PluginInstance.h"

namespace {

using testSupport::kQuorvelFactory;
using testSupport::kQuorvelTestId;

// The platform's own embedded-window API, and another platform's.
#ifdef _WIN32
constexpr const char* kNativeApi = CLAP_WINDOW_API_WIN32;
constexpr const char* kForeignApi = CLAP_WINDOW_API_X11;
#else
constexpr const char* kNativeApi = CLAP_WINDOW_API_X11;
constexpr const char* kForeignApi = CLAP_WINDOW_API_WIN32;
#endif

class GuiExtensionTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    instance = clapHost::PluginInstance::Create(kQuorvelFactory, host, kQuorvelTestId, error);
    ASSERT_TRUE(instance) << error;
    plugin = instance->Plugin();
    gui = instance->GetExtension<clap_plugin_gui>(CLAP_EXT_GUI);
    ASSERT_NE(gui, nullptr);
  }

  clapHost::Host host;
  std::unique_ptr<clapHost::PluginInstance> instance;
  const clap_plugin* plugin = nullptr;
  const clap_plugin_gui* gui = nullptr;
};

TEST_F(GuiExtensionTest, OnlyAnEmbeddedNativeWindowIsOffered) {
  const struct {
    const char* api;
    bool floating;
    bool supported;
  } cases[] = {{kNativeApi, false, true},
               {kNativeApi, true, false},
               {kForeignApi, false, false},
               {"wayland", false, false},
               {nullptr, false, false}};
  for (const auto& c : cases) {
    EXPECT_EQ(gui->is_api_supported(plugin, c.api, c.floating), c.supported) << c.api;
    EXPECT_EQ(gui->create(plugin, c.api, c.floating), c.supported) << c.api;
    gui->destroy(plugin);
  }
  const char* api = nullptr;
  bool floating = false;
  EXPECT_FALSE(gui->get_preferred_api(plugin, &api, &floating));
  EXPECT_FALSE(gui->can_resize(plugin)) << "the editor resizes itself with its corner";
}

TEST_F(GuiExtensionTest, SizesAreLimitedAndASizeSetWhileClosedIsKept) {
  uint32_t w = 100, h = 5000;
  ASSERT_TRUE(gui->adjust_size(plugin, &w, &h));
  EXPECT_EQ(w, 263u);
  EXPECT_EQ(h, 1050u);
  ASSERT_TRUE(gui->create(plugin, kNativeApi, false));
  ASSERT_TRUE(gui->get_size(plugin, &w, &h));
  EXPECT_EQ(w, 790u);
  EXPECT_EQ(h, 350u);
  ASSERT_TRUE(gui->set_size(plugin, 1580, 700));
  ASSERT_TRUE(gui->get_size(plugin, &w, &h));
  EXPECT_EQ(w, 1580u);
  EXPECT_EQ(h, 700u);
  gui->destroy(plugin);
}

TEST_F(GuiExtensionTest, HostileCallsAreRefusedWithoutHarm) {
  EXPECT_FALSE(gui->get_size(plugin, nullptr, nullptr));
  EXPECT_FALSE(gui->adjust_size(plugin, nullptr, nullptr));
  EXPECT_FALSE(gui->set_parent(plugin, nullptr)) << "before create";
  ASSERT_TRUE(gui->create(plugin, kNativeApi, false));
  EXPECT_FALSE(gui->set_parent(plugin, nullptr));
  clap_window window{nullptr, {}};
  EXPECT_FALSE(gui->set_parent(plugin, &window));
  window.api = kForeignApi;
  window.ptr = &window;
  EXPECT_FALSE(gui->set_parent(plugin, &window));
  window.api = kNativeApi;
  window.ptr = nullptr;
  EXPECT_FALSE(gui->set_parent(plugin, &window)) << "no window";
  EXPECT_FALSE(gui->show(plugin)) << "no parent";
  EXPECT_TRUE(gui->hide(plugin));
  EXPECT_TRUE(gui->set_scale(plugin, 2.0));
  gui->destroy(plugin);
  gui->destroy(plugin);
  EXPECT_FALSE(gui->create(nullptr, kNativeApi, false));
  EXPECT_FALSE(gui->set_size(nullptr, 10, 10));
  gui->destroy(nullptr);
}

}  // namespace
