#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/clap-host/PluginInstance.h"

namespace quorvelSnapshot {

// One frame of the editor: B, G, R, A bytes, premultiplied, rows of width × 4 bytes.
struct EditorPicture {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint8_t> pixels;
};

// [main-thread] The editor as the instance would show it now, at draw scale `scale`, through
// the plug-in's editor-snapshot extension. Empty, with error set, when it gives none.
std::optional<EditorPicture> TakeEditorPicture(const clapHost::PluginInstance& instance,
                                               double scale, std::string& error);

// Writes beside path first and renames on success, so a failed write never destroys an
// existing file.
bool WritePng(const EditorPicture& picture, const std::string& path, std::string& error);

}  // namespace quorvelSnapshot
