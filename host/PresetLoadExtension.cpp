#include "host/PresetLoadExtension.h"

#include <cstdint>
#include <limits>

#include "host/ClapPlugin.h"
#include "host/InstanceCall.h"
#include "host/ThreadGuard.h"
#include "host/clap/PresetDiscovery.h"

namespace plugkit {

int ParsePresetLoadKey(const char* key) {
  if (!key || key[0] == '\0') return -1;
  if (key[0] == '0' && key[1] != '\0') return -1;
  int64_t value = 0;
  for (const char* c = key; *c != '\0'; ++c) {
    if (*c < '0' || *c > '9') return -1;
    value = value * 10 + (*c - '0');
    if (value > std::numeric_limits<int32_t>::max()) return -1;
  }
  return static_cast<int>(value);
}

namespace {

bool Recall(ClapPlugin& plugin, uint32_t kind, const char* location, const char* key) {
  if (kind != CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN || location != nullptr) return false;
  const int index = ParsePresetLoadKey(key);
  if (index < 0 || index >= plugin.PresetCount()) return false;
  const PresetSlot* slot = plugin.PresetAt(index);
  return slot && slot->initialized && plugin.RecallPreset(index);
}

// [main-thread]
bool FromLocation(const clap_plugin* plugin, uint32_t kind, const char* location, const char* key) {
  // Refused before the host's preset-load functions, which are main-thread calls as well.
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin_preset_load.from_location", false);
  ClapPlugin* self = ClapPlugin::FromClap(plugin);
  if (!self) return false;
  const bool loaded = CallInstance<ClapPlugin>(
      plugin, false, [&](ClapPlugin& instance) { return Recall(instance, kind, location, key); });
  if (loaded) {
    self->Host().ParamsRescan(CLAP_PARAM_RESCAN_VALUES);
    self->Host().PresetLoaded(kind, location, key);
    return true;
  }
  self->Host().PresetLoadError(kind, location, key, 0, "Unknown factory preset");
  return false;
}

constexpr clap_plugin_preset_load kPresetLoad{FromLocation};

}  // namespace

const clap_plugin_preset_load& PresetLoadExtension() { return kPresetLoad; }

}  // namespace plugkit
