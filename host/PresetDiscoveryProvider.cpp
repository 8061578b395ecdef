#include "host/PresetDiscoveryProvider.h"

#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "host/ClapPlugin.h"
#include "host/ModuleEntry.h"

namespace plugkit {
namespace {

// [thread-safe]
const void* NoExtension(const clap_host*, const char*) { return nullptr; }
// [thread-safe]
void Ignore(const clap_host*) {}

// The host a temporary instance is built for: it offers nothing and asks for nothing.
const clap_host kDiscoveryHost{CLAP_VERSION_INIT,
                               nullptr,
                               "Preset discovery",
                               "",
                               "",
                               "1.0.0",
                               NoExtension,
                               Ignore,
                               Ignore,
                               Ignore};

struct Preset {
  std::string name;
  std::string loadKey;
};

class Provider {
 public:
  // The descriptor is copied: its texts live as long as the module, the module state's copy
  // only until the last deinit.
  Provider(const clap_preset_discovery_indexer* indexer,
           const clap_preset_discovery_provider_descriptor& descriptor)
      : descriptor_(descriptor), indexer_(indexer) {
    provider_.desc = &descriptor_;
    provider_.provider_data = this;
    provider_.init = InitCallback;
    provider_.destroy = DestroyCallback;
    provider_.get_metadata = GetMetadataCallback;
    provider_.get_extension = GetExtensionCallback;
  }

  const clap_preset_discovery_provider* Clap() const { return &provider_; }

 private:
  static Provider* From(const clap_preset_discovery_provider* provider) {
    return provider ? static_cast<Provider*>(provider->provider_data) : nullptr;
  }

  // The presets of a temporary instance, which is built like a plug-in instance but never
  // initialised and never sees a host.
  bool ReadPresets() {
    presets_.clear();
    std::unique_ptr<ClapPlugin> instance;
    {
      // The descriptor is looked up again: a host may have ended the module in between.
      std::lock_guard lock(ModuleLock());
      const clap_plugin_descriptor* descriptor = DescriptorWhileLocked();
      if (!descriptor) return false;
      pluginId_ = descriptor->id;
      std::lock_guard construction(ConstructionLock());
      const clap_plugin* plugin = CreateInstanceWhileLocked(&kDiscoveryHost, false);
      instance.reset(ClapPlugin::FromClap(plugin));
    }
    if (!instance) return false;
    for (int i = 0; i < instance->PresetCount(); ++i) {
      const PresetSlot* slot = instance->PresetAt(i);
      if (!slot || !slot->initialized) continue;
      presets_.push_back({instance->PresetNameAt(i), std::to_string(i)});
    }
    return true;
  }

  bool Init() {
    if (initialized_) return true;
    if (!ReadPresets()) return false;
    if (!presets_.empty()) {
      const clap_preset_discovery_location location{CLAP_PRESET_DISCOVERY_IS_FACTORY_CONTENT,
                                                    "Factory Presets",
                                                    CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr};
      if (!indexer_->declare_location(indexer_, &location)) return false;
    }
    initialized_ = true;
    return true;
  }

  bool GetMetadata(uint32_t kind, const char* location,
                   const clap_preset_discovery_metadata_receiver* receiver) const {
    if (!initialized_ || kind != CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN || location != nullptr ||
        !receiver || !receiver->begin_preset || !receiver->add_plugin_id) {
      return false;
    }
    const clap_universal_plugin_id pluginId{"clap", pluginId_.c_str()};
    for (const Preset& preset : presets_) {
      if (!receiver->begin_preset(receiver, preset.name.c_str(), preset.loadKey.c_str())) {
        return false;
      }
      receiver->add_plugin_id(receiver, &pluginId);
      if (receiver->set_flags) {
        receiver->set_flags(receiver, CLAP_PRESET_DISCOVERY_IS_FACTORY_CONTENT);
      }
    }
    return true;
  }

  // [main-thread]
  static bool InitCallback(const clap_preset_discovery_provider* provider) {
    Provider* self = From(provider);
    if (!self) return false;
    try {
      return self->Init();
    } catch (...) {
      return false;
    }
  }

  // [main-thread]
  static void DestroyCallback(const clap_preset_discovery_provider* provider) {
    delete From(provider);
  }

  // [main-thread]
  static bool GetMetadataCallback(const clap_preset_discovery_provider* provider, uint32_t kind,
                                  const char* location,
                                  const clap_preset_discovery_metadata_receiver* receiver) {
    const Provider* self = From(provider);
    return self && self->GetMetadata(kind, location, receiver);
  }

  // [main-thread]
  static const void* GetExtensionCallback(const clap_preset_discovery_provider*, const char*) {
    return nullptr;
  }

  clap_preset_discovery_provider_descriptor descriptor_;
  clap_preset_discovery_provider provider_{};
  const clap_preset_discovery_indexer* indexer_;
  std::vector<Preset> presets_;
  std::string pluginId_;
  bool initialized_ = false;
};

// [thread-safe]
uint32_t Count(const clap_preset_discovery_factory*) { return 1; }

// [thread-safe]
const clap_preset_discovery_provider_descriptor* GetDescriptor(const clap_preset_discovery_factory*,
                                                               uint32_t index) {
  std::lock_guard lock(ModuleLock());
  return index == 0 ? ProviderDescriptorWhileLocked() : nullptr;
}

// [thread-safe]
const clap_preset_discovery_provider* Create(const clap_preset_discovery_factory*,
                                             const clap_preset_discovery_indexer* indexer,
                                             const char* providerId) {
  std::lock_guard lock(ModuleLock());
  const clap_preset_discovery_provider_descriptor* descriptor = ProviderDescriptorWhileLocked();
  if (!descriptor || !indexer || indexer->clap_version.major < 1 || !indexer->declare_location ||
      !providerId || std::strcmp(providerId, descriptor->id) != 0) {
    return nullptr;
  }
  auto* provider = new (std::nothrow) Provider(indexer, *descriptor);
  return provider ? provider->Clap() : nullptr;
}

constexpr clap_preset_discovery_factory kFactory{Count, GetDescriptor, Create};

}  // namespace

const clap_preset_discovery_factory& PresetDiscoveryFactory() { return kFactory; }

}  // namespace plugkit
