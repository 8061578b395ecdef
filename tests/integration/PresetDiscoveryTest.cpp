// The factory presets as a preset-indexing host finds them.

#include "tests/integration/QuorvelHarness.h"
#include "tools/clap-host/PresetDiscovery.h"

namespace quorvelTest {
namespace {

using clapHost::Indexer;
using clapHost::IndexerConfig;
using clapHost::MetadataReceiver;
using clapHost::PresetProvider;
using clapHost::ReceiverConfig;

class PresetDiscoveryTest : public QuorvelTest {
 protected:
  void SetUp() override {
    QuorvelTest::SetUp();
    factory = module_->PresetDiscoveryFactory();
    ASSERT_NE(factory, nullptr);
  }
  const clap_preset_discovery_factory* factory = nullptr;
};

TEST_F(PresetDiscoveryTest, BothIdentifiersGiveTheFactoryWithOneProvider) {
  EXPECT_EQ(module_->Factory(CLAP_PRESET_DISCOVERY_FACTORY_ID),
            module_->Factory(CLAP_PRESET_DISCOVERY_FACTORY_ID_COMPAT));
  EXPECT_EQ(module_->Factory("clap.preset-discovery-factory/2x"), nullptr);
  EXPECT_EQ(factory->count(factory), 1u);
  const auto* descriptor = factory->get_descriptor(factory, 0);
  ASSERT_NE(descriptor, nullptr);
  EXPECT_STREQ(descriptor->id, kPluginId);
  EXPECT_STREQ(descriptor->name, "Quorvel Factory Presets");
  EXPECT_STREQ(descriptor->vendor, "Brackmoor Audio");
  EXPECT_EQ(descriptor->clap_version.major, 1u);
  EXPECT_EQ(factory->get_descriptor(factory, 1), nullptr);
}

TEST_F(PresetDiscoveryTest, IndexerFindsTwentySevenPresetsWithSlotKeys) {
  std::string error;
  const auto result = clapHost::DiscoverPresets(*factory, error);
  ASSERT_TRUE(result) << error;
  ASSERT_EQ(result->locations.size(), 1u);
  EXPECT_EQ(result->locations[0].name, "Factory Presets");
  EXPECT_EQ(result->locations[0].kind, 1u);
  EXPECT_EQ(result->locations[0].flags, 1u);
  EXPECT_FALSE(result->locations[0].location.has_value());
  ASSERT_EQ(result->presets.size(), 27u);
  EXPECT_EQ(result->presets[0].name, "Empty");
  EXPECT_EQ(result->presets[1].name, "Full Bypass");
  for (size_t i = 0; i < result->presets.size(); ++i) {
    const clapHost::DiscoveredPreset& preset = result->presets[i];
    EXPECT_EQ(preset.loadKey, std::to_string(i));
    ASSERT_EQ(preset.pluginIds.size(), 1u);
    EXPECT_EQ(preset.pluginIds[0].first, "clap");
    EXPECT_EQ(preset.pluginIds[0].second, kPluginId);
    EXPECT_EQ(preset.flags, std::optional<uint32_t>(CLAP_PRESET_DISCOVERY_IS_FACTORY_CONTENT));
  }
}

TEST_F(PresetDiscoveryTest, CreateRefusesOtherProvidersAndIncompleteIndexers) {
  Indexer indexer;
  EXPECT_FALSE(PresetProvider::Create(*factory, indexer, "com.brackmooraudio.Quorvel"));
  EXPECT_FALSE(PresetProvider::Create(*factory, indexer, "com.brackmooraudio.quorvel2"));
  EXPECT_FALSE(PresetProvider::Create(*factory, indexer, nullptr));
  Indexer withoutDeclare(IndexerConfig{CLAP_VERSION, false, true});
  EXPECT_FALSE(PresetProvider::Create(*factory, withoutDeclare, kPluginId));
  Indexer preRelease(IndexerConfig{clap_version{0, 9, 0}, true, true});
  EXPECT_FALSE(PresetProvider::Create(*factory, preRelease, kPluginId));
  EXPECT_EQ(factory->create(factory, nullptr, kPluginId), nullptr);

  module_->Deinit();
  EXPECT_FALSE(PresetProvider::Create(*factory, indexer, kPluginId)) << "module not initialised";
}

TEST_F(PresetDiscoveryTest, MetadataNeedsAnInitialisedProviderAndItsOwnLocation) {
  Indexer indexer;
  auto provider = PresetProvider::Create(*factory, indexer, kPluginId);
  ASSERT_TRUE(provider);
  MetadataReceiver receiver;
  EXPECT_FALSE(provider->GetMetadata(1, nullptr, receiver)) << "before init";
  ASSERT_TRUE(provider->Init());
  ASSERT_TRUE(provider->Init()) << "a second init is a no-op";
  EXPECT_EQ(indexer.DeclareLocationCalls(), 1);
  EXPECT_FALSE(provider->GetMetadata(0, nullptr, receiver));
  EXPECT_FALSE(provider->GetMetadata(1, "/usr/share", receiver));
  EXPECT_EQ(receiver.BeginPresetCalls(), 0);
  EXPECT_EQ(provider->Clap()->get_extension(provider->Clap(), "anything"), nullptr);

  MetadataReceiver withoutFlags(ReceiverConfig{false, 0});
  ASSERT_TRUE(provider->GetMetadata(1, nullptr, withoutFlags));
  ASSERT_EQ(withoutFlags.Presets().size(), 27u);
  EXPECT_EQ(withoutFlags.Presets()[26].pluginIds.size(), 1u);
  EXPECT_FALSE(withoutFlags.Presets()[26].flags.has_value());

  MetadataReceiver refusing(ReceiverConfig{true, 3});
  EXPECT_FALSE(provider->GetMetadata(1, nullptr, refusing));
  EXPECT_EQ(refusing.BeginPresetCalls(), 3);
  ASSERT_EQ(refusing.Presets().size(), 3u);
  EXPECT_EQ(refusing.Presets()[1].pluginIds.size(), 1u);
  EXPECT_TRUE(refusing.Presets()[2].pluginIds.empty()) << "nothing after the refusal";
}

TEST_F(PresetDiscoveryTest, IndexerThatRefusesTheLocationLeavesTheProviderUninitialised) {
  Indexer refusing(IndexerConfig{CLAP_VERSION, true, false});
  auto provider = PresetProvider::Create(*factory, refusing, kPluginId);
  ASSERT_TRUE(provider);
  EXPECT_FALSE(provider->Init());
  EXPECT_FALSE(provider->Init()) << "retried from the start";
  EXPECT_EQ(refusing.DeclareLocationCalls(), 2);
  MetadataReceiver receiver;
  EXPECT_FALSE(provider->GetMetadata(1, nullptr, receiver));
}

}  // namespace
}  // namespace quorvelTest
