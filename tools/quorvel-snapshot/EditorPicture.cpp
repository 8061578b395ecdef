#include "tools/quorvel-snapshot/EditorPicture.h"

#include <cairo.h>

#include <cstdio>

#include "product/ext/EditorSnapshot.h"

namespace quorvelSnapshot {

std::optional<EditorPicture> TakeEditorPicture(const clapHost::PluginInstance& instance,
                                               double scale, std::string& error) {
  const auto* snapshot =
      instance.GetExtension<quorvel_plugin_editor_snapshot>(QUORVEL_EXT_EDITOR_SNAPSHOT);
  if (!snapshot || !snapshot->draw) {
    error = "the plug-in cannot draw its editor without a window";
    return std::nullopt;
  }
  EditorPicture picture;
  if (!snapshot->draw(instance.Plugin(), scale, nullptr, 0, &picture.width, &picture.height) ||
      picture.width == 0 || picture.height == 0) {
    error = "the plug-in could not open its editor";
    return std::nullopt;
  }
  picture.pixels.resize(size_t{picture.width} * picture.height * 4);
  uint32_t width = 0;
  uint32_t height = 0;
  if (!snapshot->draw(instance.Plugin(), scale, picture.pixels.data(), picture.pixels.size(),
                      &width, &height) ||
      width != picture.width || height != picture.height) {
    error = "the plug-in could not draw its editor";
    return std::nullopt;
  }
  return picture;
}

bool WritePng(const EditorPicture& picture, const std::string& path, std::string& error) {
  const int width = static_cast<int>(picture.width);
  const int height = static_cast<int>(picture.height);
  const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, width);
  if (stride != width * 4 || picture.pixels.size() != size_t{picture.width} * picture.height * 4) {
    error = "the editor's frame has an unexpected layout";
    return false;
  }
  // Cairo reads the buffer only; ARGB32 is the same B, G, R, A byte order on this machine.
  cairo_surface_t* surface =
      cairo_image_surface_create_for_data(const_cast<unsigned char*>(picture.pixels.data()),
                                          CAIRO_FORMAT_ARGB32, width, height, stride);
  const std::string temporary = path + ".part";
  const cairo_status_t status = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS
                                    ? cairo_surface_write_to_png(surface, temporary.c_str())
                                    : cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS) {
    std::remove(temporary.c_str());
    error = "cannot write '" + path + "': " + cairo_status_to_string(status);
    return false;
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    error = "cannot write '" + path + "'";
    return false;
  }
  return true;
}

}  // namespace quorvelSnapshot
