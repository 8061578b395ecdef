#pragma once

// Who the plug-in is: the one place that names the product, its maker and its shape.

#include "effect/FactoryPresets.h"
#include "effect/QuorvelParameters.h"
#include "framework/PluginConfig.h"
#include "host/clap/PluginFeatures.h"
#include "product/Version.h"

namespace quorvel {

inline constexpr char kPluginId[] = "com.brackmooraudio.quorvel";
inline constexpr char kPluginName[] = "Quorvel";
inline constexpr char kVendorName[] = "Brackmoor Audio";
inline constexpr char kVendorUrl[] = "https://www.brackmooraudio.com";
inline constexpr char kPluginDescription[] =
    "A flexible analog-style modulation and filtering effect";
inline constexpr char kPresetProviderName[] = "Quorvel Factory Presets";
inline constexpr const char* kFeatures[] = {CLAP_PLUGIN_FEATURE_AUDIO_EFFECT,
                                            CLAP_PLUGIN_FEATURE_STEREO, nullptr};

inline constexpr plugkit::PluginConfig kPluginConfig{
    .paramCount = kParamCount,
    .presetCount = kPresetSlotCount,
    .channelLayouts = "1-1 2-1 2-2 2.1-2 2.2-2",
    .pluginName = kPluginName,
    .productName = kPluginName,
    .makerName = kVendorName,
    .vendorVersion = plugkit::PackVersion(kVersionMajor, kVersionMinor, kVersionPatch),
    .latencySamples = 0,
    .receivesMidi = false,
    .sendsMidi = false,
    .usesMpe = false,
    .pluginKind = 0,
    .hasEditor = true,
    .editorWidth = 790,
    .editorHeight = 350,
    .editorMinWidth = 263,
    .editorMaxWidth = 2370,
    .editorMinHeight = 116,
    .editorMaxHeight = 1050,
    .hostMayResizeEditor = false,
    .bundleIdentifier = "",
    .appGroup = "",
};

}  // namespace quorvel
