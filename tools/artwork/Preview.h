#pragma once

#include <string>

namespace artwork {

// Composes the editor as a host would first show it, from the images in `folder`: the
// background with every control at its place. `lit` shows the middle frame of every strip,
// the lamps on and the marker lines; otherwise frame 1 and the lamps off. Returns false
// when an image is missing or the picture cannot be written.
bool WritePreview(const std::string& folder, int scale, bool lit, const std::string& path);

}  // namespace artwork
