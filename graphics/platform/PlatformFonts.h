#pragma once

#include <memory>

#include "graphics/PlatformFont.h"

namespace plugkit::gfx {

// Fonts are not installed in the system: a platform font is the font file's bytes, with the face
// chosen as the first that has a style name.

// [main-thread] Null when the bytes are not a font whose first face can be read.
std::unique_ptr<PlatformFont> MakePlatformFont(const void* bytes, int size);
// [main-thread] The embedded font resource of that name, else the font file at that path.
std::unique_ptr<PlatformFont> LoadPlatformFontFile(const char* fileOrResourceName);

}  // namespace plugkit::gfx
