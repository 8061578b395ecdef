// The module's entry and plug-in factory, reached through the loader as a host reaches them.

#if !defined(_WIN32)
#include <dlfcn.h>
#endif
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "host/clap/Clap.h"
#include "tools/clap-host/PluginModule.h"

namespace {

const char* const kPluginId = "com.brackmooraudio.quorvel";

class ModuleEntryTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    module_ = clapHost::PluginModule::Load(QUORVEL_MODULE_PATH, error);
    ASSERT_TRUE(module_) << error;
#if defined(_WIN32)
    // A Windows module exports clap_entry alone (a test of the build checks its export
    // table); its factory is the object get_factory hands out, and outlives the init.
    ASSERT_TRUE(Entry().init(Path()));
    exportedFactory_ =
        static_cast<const clap_plugin_factory*>(Entry().get_factory(CLAP_PLUGIN_FACTORY_ID));
    Entry().deinit();
#else
    handle_ = dlopen(QUORVEL_MODULE_PATH, RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD);
    ASSERT_NE(handle_, nullptr);
    exportedFactory_ = static_cast<const clap_plugin_factory*>(dlsym(handle_, "clap_factory"));
#endif
    ASSERT_NE(exportedFactory_, nullptr);
    // The module stays loaded between tests, so each one must start uninitialised.
    ASSERT_EQ(Entry().get_factory(CLAP_PLUGIN_FACTORY_ID), nullptr);
  }

  void TearDown() override {
    if (exportedFactory_) {
      EXPECT_EQ(Entry().get_factory(CLAP_PLUGIN_FACTORY_ID), nullptr)
          << "a test left the module initialised";
    }
#if !defined(_WIN32)
    if (handle_) dlclose(handle_);
#endif
  }

  const clap_plugin_entry& Entry() const { return module_->Entry(); }
  const char* Path() const { return module_->Path().c_str(); }

  std::unique_ptr<clapHost::PluginModule> module_;
  void* handle_ = nullptr;
  const clap_plugin_factory* exportedFactory_ = nullptr;
};

clap_host MakeHost(clap_version version = CLAP_VERSION) {
  clap_host host{};
  host.clap_version = version;
  host.name = "entry test";
  host.vendor = host.url = host.version = "";
  host.get_extension = [](const clap_host*, const char*) -> const void* { return nullptr; };
  host.request_restart = host.request_process = host.request_callback = [](const clap_host*) {};
  return host;
}

TEST_F(ModuleEntryTest, InitRefusesMissingPathsAndOtherPathsWhileInitialised) {
  EXPECT_EQ(Entry().clap_version.major, 1u);
  EXPECT_EQ(Entry().clap_version.minor, 2u);
  EXPECT_EQ(Entry().clap_version.revision, 10u);

  EXPECT_FALSE(Entry().init(nullptr));
  EXPECT_FALSE(Entry().init(""));
  EXPECT_EQ(Entry().get_factory(CLAP_PLUGIN_FACTORY_ID), nullptr);

  ASSERT_TRUE(Entry().init(Path()));
  EXPECT_TRUE(Entry().init(Path()));
  const std::string longer = std::string(Path()) + "x";
  const std::string shorter = std::string(Path()).substr(0, std::strlen(Path()) - 1);
  EXPECT_FALSE(Entry().init(longer.c_str()));
  EXPECT_FALSE(Entry().init(shorter.c_str()));
  EXPECT_FALSE(Entry().init(""));

  // Two successful inits: the descriptor survives the first deinit only.
  const clap_plugin_descriptor* descriptor =
      exportedFactory_->get_plugin_descriptor(exportedFactory_, 0);
  ASSERT_NE(descriptor, nullptr);
  Entry().deinit();
  EXPECT_EQ(exportedFactory_->get_plugin_descriptor(exportedFactory_, 0), descriptor);
  EXPECT_STREQ(descriptor->id, kPluginId);
  Entry().deinit();
  EXPECT_EQ(exportedFactory_->get_plugin_descriptor(exportedFactory_, 0), nullptr);

  // A deinit too many changes nothing, and a new init starts afresh, even with another path.
  Entry().deinit();
  EXPECT_EQ(Entry().get_factory(CLAP_PLUGIN_FACTORY_ID), nullptr);
  ASSERT_TRUE(Entry().init(longer.c_str()));
  EXPECT_FALSE(Entry().init(Path()));
  EXPECT_NE(exportedFactory_->get_plugin_descriptor(exportedFactory_, 0), nullptr);
  Entry().deinit();
}

TEST_F(ModuleEntryTest, FactoriesExistOnlyWhileInitialised) {
  const char* const ids[] = {CLAP_PLUGIN_FACTORY_ID, CLAP_PRESET_DISCOVERY_FACTORY_ID,
                             CLAP_PRESET_DISCOVERY_FACTORY_ID_COMPAT, "", nullptr};
  for (const char* id : ids) EXPECT_EQ(Entry().get_factory(id), nullptr) << (id ? id : "null");

  ASSERT_TRUE(Entry().init(Path()));
  EXPECT_EQ(Entry().get_factory(CLAP_PLUGIN_FACTORY_ID), exportedFactory_);
  EXPECT_EQ(Entry().get_factory("CLAP.PLUGIN-FACTORY"), nullptr);
  EXPECT_EQ(Entry().get_factory("clap.plugin-factory/2"), nullptr);
  EXPECT_EQ(Entry().get_factory("clap.plugin-factor"), nullptr);
  EXPECT_EQ(Entry().get_factory(nullptr), nullptr);
  Entry().deinit();

  for (const char* id : ids) EXPECT_EQ(Entry().get_factory(id), nullptr) << (id ? id : "null");
}

TEST_F(ModuleEntryTest, DescriptorDescribesTheOnePlugin) {
  EXPECT_EQ(exportedFactory_->get_plugin_count(exportedFactory_), 1u);
  EXPECT_EQ(exportedFactory_->get_plugin_descriptor(exportedFactory_, 0), nullptr);

  ASSERT_TRUE(Entry().init(Path()));
  EXPECT_EQ(exportedFactory_->get_plugin_count(exportedFactory_), 1u);
  EXPECT_EQ(exportedFactory_->get_plugin_descriptor(exportedFactory_, 1), nullptr);
  EXPECT_EQ(exportedFactory_->get_plugin_descriptor(exportedFactory_, UINT32_MAX), nullptr);
  const clap_plugin_descriptor* descriptor =
      exportedFactory_->get_plugin_descriptor(exportedFactory_, 0);
  ASSERT_NE(descriptor, nullptr);
  EXPECT_EQ(descriptor->clap_version.major, 1u);
  EXPECT_EQ(descriptor->clap_version.minor, 2u);
  EXPECT_EQ(descriptor->clap_version.revision, 10u);
  EXPECT_STREQ(descriptor->id, kPluginId);
  EXPECT_STREQ(descriptor->name, "Quorvel");
  EXPECT_STREQ(descriptor->vendor, "Brackmoor Audio");
  EXPECT_STREQ(descriptor->url, "https://www.brackmooraudio.com");
  ASSERT_NE(descriptor->manual_url, nullptr);
  EXPECT_STREQ(descriptor->manual_url, "");
  EXPECT_STREQ(descriptor->support_url, descriptor->url);
  EXPECT_STREQ(descriptor->version, PROJECT_VERSION_TEXT);
  EXPECT_STREQ(descriptor->description, "A flexible analog-style modulation and filtering effect");
  ASSERT_NE(descriptor->features, nullptr);
  EXPECT_STREQ(descriptor->features[0], "audio-effect");
  EXPECT_STREQ(descriptor->features[1], "stereo");
  EXPECT_EQ(descriptor->features[2], nullptr);
  Entry().deinit();
}

TEST_F(ModuleEntryTest, CreatePluginRefusesBadRequests) {
  const clap_host host = MakeHost();
  const clap_host preRelease = MakeHost(clap_version{0, 9, 0});
  EXPECT_EQ(exportedFactory_->create_plugin(exportedFactory_, &host, kPluginId), nullptr)
      << "created before init";

  ASSERT_TRUE(Entry().init(Path()));
  EXPECT_EQ(exportedFactory_->create_plugin(exportedFactory_, nullptr, kPluginId), nullptr);
  EXPECT_EQ(exportedFactory_->create_plugin(exportedFactory_, &host, nullptr), nullptr);
  EXPECT_EQ(exportedFactory_->create_plugin(exportedFactory_, &host, "COM.BRACKMOORAUDIO.QUORVEL"),
            nullptr);
  EXPECT_EQ(exportedFactory_->create_plugin(exportedFactory_, &host, "com.brackmooraudio.Quorvel"),
            nullptr);
  EXPECT_EQ(exportedFactory_->create_plugin(exportedFactory_, &host, "com.brackmooraudio.quorvel "),
            nullptr);
  EXPECT_EQ(exportedFactory_->create_plugin(exportedFactory_, &preRelease, kPluginId), nullptr);
  Entry().deinit();
}

TEST_F(ModuleEntryTest, ConcurrentInitAndDeinitKeepTheDescriptorOfEveryHolder) {
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 500; ++i) {
        if (!Entry().init(Path())) {
          ++failures;
          continue;
        }
        const auto* factory =
            static_cast<const clap_plugin_factory*>(Entry().get_factory(CLAP_PLUGIN_FACTORY_ID));
        const clap_plugin_descriptor* descriptor =
            factory ? factory->get_plugin_descriptor(factory, 0) : nullptr;
        if (descriptor == nullptr || std::strcmp(descriptor->id, kPluginId) != 0) ++failures;
        Entry().deinit();
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 0);
}

}  // namespace
