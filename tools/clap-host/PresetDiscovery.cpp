#include "tools/clap-host/PresetDiscovery.h"

namespace clapHost {
namespace {

std::string Text(const char* text) { return text ? text : ""; }

}  // namespace

Indexer::Indexer(IndexerConfig config) : config_(config) {
  indexer_.clap_version = config_.version;
  indexer_.name = "Quorvel test indexer";
  indexer_.vendor = "Quorvel";
  indexer_.url = "";
  indexer_.version = "1.0.0";
  indexer_.indexer_data = this;
  indexer_.declare_filetype = DeclareFiletype;
  indexer_.declare_location = config_.hasDeclareLocation ? DeclareLocation : nullptr;
  indexer_.declare_soundpack = DeclareSoundpack;
  indexer_.get_extension = GetExtension;
}

Indexer& Indexer::From(const clap_preset_discovery_indexer* indexer) {
  return *static_cast<Indexer*>(indexer->indexer_data);
}

// [main-thread]
bool Indexer::DeclareFiletype(const clap_preset_discovery_indexer* indexer,
                              const clap_preset_discovery_filetype* filetype) {
  if (filetype == nullptr) return false;
  From(indexer).fileExtensions_.push_back(Text(filetype->file_extension));
  return true;
}

// [main-thread]
bool Indexer::DeclareLocation(const clap_preset_discovery_indexer* indexer,
                              const clap_preset_discovery_location* location) {
  Indexer& self = From(indexer);
  ++self.declareLocationCalls_;
  if (location == nullptr || !self.config_.acceptLocations) return false;
  self.locations_.push_back(
      {location->flags, Text(location->name), location->kind,
       location->location ? std::optional<std::string>(location->location) : std::nullopt});
  return true;
}

// [main-thread]
bool Indexer::DeclareSoundpack(const clap_preset_discovery_indexer* indexer,
                               const clap_preset_discovery_soundpack* soundpack) {
  if (soundpack == nullptr) return false;
  ++From(indexer).soundpacks_;
  return true;
}

// [main-thread]
const void* Indexer::GetExtension(const clap_preset_discovery_indexer*, const char*) {
  return nullptr;
}

MetadataReceiver::MetadataReceiver(ReceiverConfig config) : config_(config) {
  receiver_.receiver_data = this;
  receiver_.on_error = OnError;
  receiver_.begin_preset = BeginPreset;
  receiver_.add_plugin_id = AddPluginId;
  receiver_.set_soundpack_id = SetSoundpackId;
  receiver_.set_flags = config_.hasSetFlags ? SetFlags : nullptr;
  receiver_.add_creator = AddCreator;
  receiver_.set_description = SetDescription;
  receiver_.set_timestamps = SetTimestamps;
  receiver_.add_feature = AddFeature;
  receiver_.add_extra_info = AddExtraInfo;
}

MetadataReceiver& MetadataReceiver::From(const Receiver* receiver) {
  return *static_cast<MetadataReceiver*>(receiver->receiver_data);
}

DiscoveredPreset* MetadataReceiver::Current(const char* function) {
  if (presets_.empty()) {
    errors_.push_back(std::string(function) + " called before begin_preset");
    return nullptr;
  }
  return &presets_.back();
}

// [main-thread]
void MetadataReceiver::OnError(const Receiver* receiver, int32_t osError, const char* message) {
  From(receiver).errors_.push_back(Text(message) + " (" + std::to_string(osError) + ")");
}

// [main-thread]
bool MetadataReceiver::BeginPreset(const Receiver* receiver, const char* name,
                                   const char* loadKey) {
  MetadataReceiver& self = From(receiver);
  ++self.beginCalls_;
  self.presets_.push_back({});
  self.presets_.back().name = Text(name);
  self.presets_.back().loadKey = Text(loadKey);
  return self.beginCalls_ != self.config_.failBeginPresetOnCall;
}

// [main-thread]
void MetadataReceiver::AddPluginId(const Receiver* receiver,
                                   const clap_universal_plugin_id* pluginId) {
  if (DiscoveredPreset* preset = From(receiver).Current("add_plugin_id")) {
    if (pluginId) preset->pluginIds.emplace_back(Text(pluginId->abi), Text(pluginId->id));
  }
}

// [main-thread]
void MetadataReceiver::SetSoundpackId(const Receiver* receiver, const char* soundpackId) {
  if (DiscoveredPreset* preset = From(receiver).Current("set_soundpack_id")) {
    preset->soundpackId = Text(soundpackId);
  }
}

// [main-thread]
void MetadataReceiver::SetFlags(const Receiver* receiver, uint32_t flags) {
  if (DiscoveredPreset* preset = From(receiver).Current("set_flags")) preset->flags = flags;
}

// [main-thread]
void MetadataReceiver::AddCreator(const Receiver* receiver, const char* creator) {
  if (DiscoveredPreset* preset = From(receiver).Current("add_creator")) {
    preset->creators.push_back(Text(creator));
  }
}

// [main-thread]
void MetadataReceiver::SetDescription(const Receiver* receiver, const char* description) {
  if (DiscoveredPreset* preset = From(receiver).Current("set_description")) {
    preset->description = Text(description);
  }
}

// [main-thread]
void MetadataReceiver::SetTimestamps(const Receiver* receiver, clap_timestamp, clap_timestamp) {
  From(receiver).Current("set_timestamps");
}

// [main-thread]
void MetadataReceiver::AddFeature(const Receiver* receiver, const char* feature) {
  if (DiscoveredPreset* preset = From(receiver).Current("add_feature")) {
    preset->features.push_back(Text(feature));
  }
}

// [main-thread]
void MetadataReceiver::AddExtraInfo(const Receiver* receiver, const char* key, const char* value) {
  if (DiscoveredPreset* preset = From(receiver).Current("add_extra_info")) {
    preset->extraInfo.emplace_back(Text(key), Text(value));
  }
}

std::unique_ptr<PresetProvider> PresetProvider::Create(const clap_preset_discovery_factory& factory,
                                                       const Indexer& indexer,
                                                       const char* providerId) {
  const clap_preset_discovery_provider* provider =
      factory.create(&factory, indexer.Clap(), providerId);
  if (provider == nullptr) return nullptr;
  return std::unique_ptr<PresetProvider>(new PresetProvider(provider));
}

PresetProvider::~PresetProvider() { provider_->destroy(provider_); }

bool PresetProvider::Init() { return provider_->init(provider_); }

bool PresetProvider::GetMetadata(uint32_t locationKind, const char* location,
                                 const MetadataReceiver& receiver) {
  return provider_->get_metadata(provider_, locationKind, location, receiver.Clap());
}

std::optional<DiscoveryResult> DiscoverPresets(const clap_preset_discovery_factory& factory,
                                               std::string& error) {
  DiscoveryResult result;
  const uint32_t count = factory.count(&factory);
  for (uint32_t index = 0; index < count; ++index) {
    const clap_preset_discovery_provider_descriptor* descriptor =
        factory.get_descriptor(&factory, index);
    if (descriptor == nullptr || descriptor->id == nullptr) {
      error = "provider " + std::to_string(index) + " has no descriptor";
      return std::nullopt;
    }
    Indexer indexer;
    auto provider = PresetProvider::Create(factory, indexer, descriptor->id);
    if (!provider) {
      error = "cannot create provider " + Text(descriptor->id);
      return std::nullopt;
    }
    if (!provider->Init()) {
      error = "provider " + Text(descriptor->id) + " failed to initialise";
      return std::nullopt;
    }
    for (const DeclaredLocation& location : indexer.Locations()) {
      MetadataReceiver receiver;
      const char* path = location.location ? location.location->c_str() : nullptr;
      if (!provider->GetMetadata(location.kind, path, receiver)) {
        error = "provider " + Text(descriptor->id) + " failed on location " + location.name;
        return std::nullopt;
      }
      result.presets.insert(result.presets.end(), receiver.Presets().begin(),
                            receiver.Presets().end());
      result.locations.push_back(location);
    }
  }
  return result;
}

}  // namespace clapHost
