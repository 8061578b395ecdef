#pragma once

namespace plugkit {

// Construction record of a plug-in instance, fixed at build time.
struct PluginConfig {
  int paramCount = 0;
  int presetCount = 0;
  const char* channelLayouts = "";  // e.g. "1-1 2-2 2.1-2"
  const char* pluginName = "";
  const char* productName = "";
  const char* makerName = "";
  int vendorVersion = 0;  // (major << 16) + (minor << 8) + patch
  int latencySamples = 0;
  bool receivesMidi = false;
  bool sendsMidi = false;
  bool usesMpe = false;
  int pluginKind = 0;  // 0 effect, 1 instrument
  bool hasEditor = false;
  int editorWidth = 0;
  int editorHeight = 0;
  int editorMinWidth = 0;
  int editorMaxWidth = 0;
  int editorMinHeight = 0;
  int editorMaxHeight = 0;
  bool hostMayResizeEditor = false;
  const char* bundleIdentifier = "";
  const char* appGroup = "";
};

constexpr int PackVersion(int major, int minor, int patch) {
  return (major << 16) + (minor << 8) + patch;
}

}  // namespace plugkit
