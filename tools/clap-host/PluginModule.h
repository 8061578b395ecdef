#pragma once

#include <memory>
#include <string>

#include "host/clap/Entry.h"
#include "host/clap/PluginFactory.h"
#include "host/clap/PresetDiscovery.h"

namespace clapHost {

// A loaded .clap module: the loader's handle and its clap_entry. Every call is [main-thread].
class PluginModule {
 public:
  // Load and resolve clap_entry without calling init. Null, with error set, on failure.
  static std::unique_ptr<PluginModule> Load(const std::string& path, std::string& error);

  // What a host does on scanning: Load, init with the path, and ask for the plug-in factory.
  static std::unique_ptr<PluginModule> Open(const std::string& path, std::string& error);

  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;

  // Matches every successful Init with deinit, then unloads.
  ~PluginModule();

  // init with the module's own path; counted so the destructor can balance it.
  bool Init();
  // deinit once if Init succeeded more often than Deinit ran.
  void Deinit();

  // Raw access for calls with unusual arguments; balancing them is up to the caller.
  const clap_plugin_entry& Entry() const { return *entry_; }
  const std::string& Path() const { return path_; }

  const void* Factory(const char* factoryId) const;
  const clap_plugin_factory* PluginFactory() const;
  // The final identifier first, then the draft one, as hosts do.
  const clap_preset_discovery_factory* PresetDiscoveryFactory() const;

 private:
  PluginModule(void* handle, const clap_plugin_entry* entry, std::string path);

  void* handle_;
  const clap_plugin_entry* entry_;
  std::string path_;
  int initCount_ = 0;
};

}  // namespace clapHost
