#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/clap/PresetDiscovery.h"

namespace clapHost {

struct DeclaredLocation {
  uint32_t flags;
  std::string name;
  uint32_t kind;
  std::optional<std::string> location;
};

struct IndexerConfig {
  clap_version version = CLAP_VERSION;
  bool hasDeclareLocation = true;
  // What declare_location answers.
  bool acceptLocations = true;
};

// The host's indexer: records the file types, locations and sound packs a provider declares.
class Indexer {
 public:
  explicit Indexer(IndexerConfig config = {});
  Indexer(const Indexer&) = delete;
  Indexer& operator=(const Indexer&) = delete;

  const clap_preset_discovery_indexer* Clap() const { return &indexer_; }
  const std::vector<DeclaredLocation>& Locations() const { return locations_; }
  const std::vector<std::string>& FileExtensions() const { return fileExtensions_; }
  int SoundpackCount() const { return soundpacks_; }
  int DeclareLocationCalls() const { return declareLocationCalls_; }

 private:
  static Indexer& From(const clap_preset_discovery_indexer* indexer);
  static bool DeclareFiletype(const clap_preset_discovery_indexer* indexer,
                              const clap_preset_discovery_filetype* filetype);
  static bool DeclareLocation(const clap_preset_discovery_indexer* indexer,
                              const clap_preset_discovery_location* location);
  static bool DeclareSoundpack(const clap_preset_discovery_indexer* indexer,
                               const clap_preset_discovery_soundpack* soundpack);
  static const void* GetExtension(const clap_preset_discovery_indexer* indexer, const char* id);

  IndexerConfig config_;
  clap_preset_discovery_indexer indexer_;
  std::vector<DeclaredLocation> locations_;
  std::vector<std::string> fileExtensions_;
  int soundpacks_ = 0;
  int declareLocationCalls_ = 0;
};

struct DiscoveredPreset {
  std::string name;
  std::string loadKey;
  std::vector<std::pair<std::string, std::string>> pluginIds;  // (abi, id)
  std::optional<uint32_t> flags;
  std::vector<std::string> creators;
  std::vector<std::string> features;
  std::string description;
  std::string soundpackId;
  std::vector<std::pair<std::string, std::string>> extraInfo;
};

struct ReceiverConfig {
  bool hasSetFlags = true;
  // begin_preset answers false on this call (1 = the first); 0 never fails.
  int failBeginPresetOnCall = 0;
};

// The host's metadata receiver: collects every preset a provider reports for a location.
class MetadataReceiver {
 public:
  explicit MetadataReceiver(ReceiverConfig config = {});
  MetadataReceiver(const MetadataReceiver&) = delete;
  MetadataReceiver& operator=(const MetadataReceiver&) = delete;

  const clap_preset_discovery_metadata_receiver* Clap() const { return &receiver_; }
  // Every preset begun, including one whose begin_preset was answered false.
  const std::vector<DiscoveredPreset>& Presets() const { return presets_; }
  int BeginPresetCalls() const { return beginCalls_; }
  const std::vector<std::string>& Errors() const { return errors_; }

 private:
  using Receiver = clap_preset_discovery_metadata_receiver;
  static MetadataReceiver& From(const Receiver* receiver);
  // The preset being described, or null (and a recorded error) outside begin_preset.
  DiscoveredPreset* Current(const char* function);

  static void OnError(const Receiver* receiver, int32_t osError, const char* message);
  static bool BeginPreset(const Receiver* receiver, const char* name, const char* loadKey);
  static void AddPluginId(const Receiver* receiver, const clap_universal_plugin_id* pluginId);
  static void SetSoundpackId(const Receiver* receiver, const char* soundpackId);
  static void SetFlags(const Receiver* receiver, uint32_t flags);
  static void AddCreator(const Receiver* receiver, const char* creator);
  static void SetDescription(const Receiver* receiver, const char* description);
  static void SetTimestamps(const Receiver* receiver, clap_timestamp created,
                            clap_timestamp modified);
  static void AddFeature(const Receiver* receiver, const char* feature);
  static void AddExtraInfo(const Receiver* receiver, const char* key, const char* value);

  ReceiverConfig config_;
  clap_preset_discovery_metadata_receiver receiver_;
  std::vector<DiscoveredPreset> presets_;
  std::vector<std::string> errors_;
  int beginCalls_ = 0;
};

// A provider created from a preset-discovery factory; destroyed with this object.
// Every call is [main-thread].
class PresetProvider {
 public:
  static std::unique_ptr<PresetProvider> Create(const clap_preset_discovery_factory& factory,
                                                const Indexer& indexer, const char* providerId);
  PresetProvider(const PresetProvider&) = delete;
  PresetProvider& operator=(const PresetProvider&) = delete;
  ~PresetProvider();

  const clap_preset_discovery_provider* Clap() const { return provider_; }
  bool Init();
  bool GetMetadata(uint32_t locationKind, const char* location, const MetadataReceiver& receiver);

 private:
  explicit PresetProvider(const clap_preset_discovery_provider* provider) : provider_(provider) {}

  const clap_preset_discovery_provider* provider_;
};

struct DiscoveryResult {
  std::vector<DeclaredLocation> locations;
  std::vector<DiscoveredPreset> presets;
};

// [main-thread] What an indexing host does: every provider of the factory, initialised,
// asked for the presets of every location it declared. Empty, with error set, on a failure.
std::optional<DiscoveryResult> DiscoverPresets(const clap_preset_discovery_factory& factory,
                                               std::string& error);

}  // namespace clapHost
