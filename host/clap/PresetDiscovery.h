#pragma once

#include "host/clap/Timestamp.h"
#include "host/clap/UniversalPluginId.h"
#include "host/clap/Version.h"

CLAP_EXTERN_C_BEGIN

static const CLAP_CONSTEXPR char CLAP_PRESET_DISCOVERY_FACTORY_ID[] =
    "clap.preset-discovery-factory/2";
// Hosts built before the factory was final ask for this identifier only.
static const CLAP_CONSTEXPR char CLAP_PRESET_DISCOVERY_FACTORY_ID_COMPAT[] =
    "clap.preset-discovery-factory/draft-2";

enum clap_preset_discovery_location_kind {
  // The location is a path to a file or a folder.
  CLAP_PRESET_DISCOVERY_LOCATION_FILE = 0,
  // The presets live inside the plug-in; the location is null.
  CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN = 1,
};

enum clap_preset_discovery_flags {
  CLAP_PRESET_DISCOVERY_IS_FACTORY_CONTENT = 1 << 0,
  CLAP_PRESET_DISCOVERY_IS_USER_CONTENT = 1 << 1,
  CLAP_PRESET_DISCOVERY_IS_DEMO_CONTENT = 1 << 2,
  CLAP_PRESET_DISCOVERY_IS_FAVORITE = 1 << 3,
};

// Filled by the provider for every preset of a location; each function is [main-thread].
typedef struct clap_preset_discovery_metadata_receiver {
  void* receiver_data;

  // Reports that the location could not be read.
  void(CLAP_ABI* on_error)(const struct clap_preset_discovery_metadata_receiver* receiver,
                           int32_t os_error, const char* error_message);

  // Starts a preset; load_key tells presets apart inside one location. False stops the walk.
  bool(CLAP_ABI* begin_preset)(const struct clap_preset_discovery_metadata_receiver* receiver,
                               const char* name, const char* load_key);

  void(CLAP_ABI* add_plugin_id)(const struct clap_preset_discovery_metadata_receiver* receiver,
                                const clap_universal_plugin_id_t* plugin_id);

  void(CLAP_ABI* set_soundpack_id)(const struct clap_preset_discovery_metadata_receiver* receiver,
                                   const char* soundpack_id);

  void(CLAP_ABI* set_flags)(const struct clap_preset_discovery_metadata_receiver* receiver,
                            uint32_t flags);

  void(CLAP_ABI* add_creator)(const struct clap_preset_discovery_metadata_receiver* receiver,
                              const char* creator);

  void(CLAP_ABI* set_description)(const struct clap_preset_discovery_metadata_receiver* receiver,
                                  const char* description);

  void(CLAP_ABI* set_timestamps)(const struct clap_preset_discovery_metadata_receiver* receiver,
                                 clap_timestamp creation_time, clap_timestamp modification_time);

  void(CLAP_ABI* add_feature)(const struct clap_preset_discovery_metadata_receiver* receiver,
                              const char* feature);

  void(CLAP_ABI* add_extra_info)(const struct clap_preset_discovery_metadata_receiver* receiver,
                                 const char* key, const char* value);
} clap_preset_discovery_metadata_receiver_t;

typedef struct clap_preset_discovery_filetype {
  const char* name;
  const char* description;  // may be null
  // Without the dot; "" matches every file.
  const char* file_extension;
} clap_preset_discovery_filetype_t;

typedef struct clap_preset_discovery_location {
  uint32_t flags;  // clap_preset_discovery_flags
  const char* name;
  uint32_t kind;  // clap_preset_discovery_location_kind
  // A path for LOCATION_FILE, null for LOCATION_PLUGIN.
  const char* location;
} clap_preset_discovery_location_t;

typedef struct clap_preset_discovery_soundpack {
  uint32_t flags;  // clap_preset_discovery_flags
  const char* id;
  const char* name;
  const char* description;
  const char* homepage_url;
  const char* vendor;
  const char* image_path;
  clap_timestamp release_timestamp;
} clap_preset_discovery_soundpack_t;

typedef struct clap_preset_discovery_provider_descriptor {
  clap_version_t clap_version;
  const char* id;
  const char* name;
  const char* vendor;  // may be null
} clap_preset_discovery_provider_descriptor_t;

typedef struct clap_preset_discovery_provider {
  const clap_preset_discovery_provider_descriptor_t* desc;

  // Reserved for the provider.
  void* provider_data;

  // [main-thread] Declares file types, locations and sound packs to the indexer.
  bool(CLAP_ABI* init)(const struct clap_preset_discovery_provider* provider);

  // [main-thread]
  void(CLAP_ABI* destroy)(const struct clap_preset_discovery_provider* provider);

  // [main-thread] Reports every preset of one location to the receiver.
  bool(CLAP_ABI* get_metadata)(const struct clap_preset_discovery_provider* provider,
                               uint32_t location_kind, const char* location,
                               const clap_preset_discovery_metadata_receiver_t* metadata_receiver);

  // [main-thread]
  const void*(CLAP_ABI* get_extension)(const struct clap_preset_discovery_provider* provider,
                                       const char* extension_id);
} clap_preset_discovery_provider_t;

// The host's side of a preset scan; each function is [main-thread].
typedef struct clap_preset_discovery_indexer {
  clap_version_t clap_version;
  const char* name;
  const char* vendor;
  const char* url;
  const char* version;

  // Reserved for the indexer.
  void* indexer_data;

  bool(CLAP_ABI* declare_filetype)(const struct clap_preset_discovery_indexer* indexer,
                                   const clap_preset_discovery_filetype_t* filetype);

  bool(CLAP_ABI* declare_location)(const struct clap_preset_discovery_indexer* indexer,
                                   const clap_preset_discovery_location_t* location);

  bool(CLAP_ABI* declare_soundpack)(const struct clap_preset_discovery_indexer* indexer,
                                    const clap_preset_discovery_soundpack_t* soundpack);

  const void*(CLAP_ABI* get_extension)(const struct clap_preset_discovery_indexer* indexer,
                                       const char* extension_id);
} clap_preset_discovery_indexer_t;

typedef struct clap_preset_discovery_factory {
  // [thread-safe]
  uint32_t(CLAP_ABI* count)(const struct clap_preset_discovery_factory* factory);

  // [thread-safe] Null for an index out of range.
  const clap_preset_discovery_provider_descriptor_t*(CLAP_ABI* get_descriptor)(
      const struct clap_preset_discovery_factory* factory, uint32_t index);

  // [thread-safe] The provider still has to be initialised; null on failure.
  const clap_preset_discovery_provider_t*(CLAP_ABI* create)(
      const struct clap_preset_discovery_factory* factory,
      const clap_preset_discovery_indexer_t* indexer, const char* provider_id);
} clap_preset_discovery_factory_t;

CLAP_EXTERN_C_END
