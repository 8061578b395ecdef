// The product's start function runs once for each load of the module, not for each holder.

#include <gtest/gtest.h>

#include "host/ModuleEntry.h"

namespace {

int starts = 0;

const char* const kNoFeatures[] = {nullptr};

constexpr plugkit::PluginDefinition Definition(plugkit::ModuleStartFunction start) {
  return {.id = "test.start",
          .name = "Start",
          .vendor = "",
          .url = "",
          .version = "1.0.0",
          .description = "",
          .features = kNoFeatures,
          .presetProviderName = "",
          .createInstance = [](const clap_plugin_descriptor*, const clap_host*,
                               bool) -> const clap_plugin* { return nullptr; },
          .startModule = start};
}

TEST(ModuleStartTest, RunsOnTheFirstInitAndAgainAfterTheLastDeinit) {
  constexpr plugkit::PluginDefinition definition = Definition([] { ++starts; });
  ASSERT_TRUE(plugkit::ModuleInit(definition, "/a.clap"));
  ASSERT_TRUE(plugkit::ModuleInit(definition, "/a.clap"));
  EXPECT_FALSE(plugkit::ModuleInit(definition, "/b.clap"));
  EXPECT_EQ(starts, 1);
  plugkit::ModuleDeinit();
  plugkit::ModuleDeinit();
  ASSERT_TRUE(plugkit::ModuleInit(definition, "/a.clap"));
  EXPECT_EQ(starts, 2);
  plugkit::ModuleDeinit();
}

TEST(ModuleStartTest, IsOptional) {
  constexpr plugkit::PluginDefinition definition = Definition(nullptr);
  ASSERT_TRUE(plugkit::ModuleInit(definition, "/a.clap"));
  plugkit::ModuleDeinit();
}

}  // namespace
