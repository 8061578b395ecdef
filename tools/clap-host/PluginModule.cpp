#include "tools/clap-host/PluginModule.h"

#include "tools/clap-host/SharedLibrary.h"

namespace clapHost {

PluginModule::PluginModule(void* handle, const clap_plugin_entry* entry, std::string path)
    : handle_(handle), entry_(entry), path_(std::move(path)) {}

PluginModule::~PluginModule() {
  while (initCount_ > 0) Deinit();
  CloseSharedLibrary(handle_);
}

std::unique_ptr<PluginModule> PluginModule::Load(const std::string& path, std::string& error) {
  void* handle = OpenSharedLibrary(path, error);
  if (handle == nullptr) return nullptr;
  const auto* entry =
      static_cast<const clap_plugin_entry*>(FindExportedSymbol(handle, "clap_entry"));
  if (entry == nullptr) {
    error = path + " exports no clap_entry";
    CloseSharedLibrary(handle);
    return nullptr;
  }
  if (!clap_version_is_compatible(entry->clap_version)) {
    error = path + " was built for an incompatible CLAP version";
    CloseSharedLibrary(handle);
    return nullptr;
  }
  if (entry->init == nullptr || entry->deinit == nullptr || entry->get_factory == nullptr) {
    error = path + " has an incomplete clap_entry";
    CloseSharedLibrary(handle);
    return nullptr;
  }
  return std::unique_ptr<PluginModule>(new PluginModule(handle, entry, path));
}

std::unique_ptr<PluginModule> PluginModule::Open(const std::string& path, std::string& error) {
  auto module = Load(path, error);
  if (!module) return nullptr;
  if (!module->Init()) {
    error = path + ": clap_entry.init refused the module";
    return nullptr;
  }
  if (module->PluginFactory() == nullptr) {
    error = path + " offers no plug-in factory";
    return nullptr;
  }
  return module;
}

bool PluginModule::Init() {
  if (!entry_->init(path_.c_str())) return false;
  ++initCount_;
  return true;
}

void PluginModule::Deinit() {
  if (initCount_ == 0) return;
  --initCount_;
  entry_->deinit();
}

const void* PluginModule::Factory(const char* factoryId) const {
  return entry_->get_factory(factoryId);
}

const clap_plugin_factory* PluginModule::PluginFactory() const {
  return static_cast<const clap_plugin_factory*>(Factory(CLAP_PLUGIN_FACTORY_ID));
}

const clap_preset_discovery_factory* PluginModule::PresetDiscoveryFactory() const {
  const void* factory = Factory(CLAP_PRESET_DISCOVERY_FACTORY_ID);
  if (factory == nullptr) factory = Factory(CLAP_PRESET_DISCOVERY_FACTORY_ID_COMPAT);
  return static_cast<const clap_preset_discovery_factory*>(factory);
}

}  // namespace clapHost
