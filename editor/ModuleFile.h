#pragma once

#include <string>

namespace quorvel {

// [thread-safe] An address inside this module; the graphics context keeps it as the module
// instance, from which the manual search finds the module's folder.
void* ModuleAnchor();

// [thread-safe] The full file name of the module containing `address` (absolute when the
// loader knows the folder), empty when unknown. UTF-8; on Windows with the system's
// backslashes.
std::string ModuleFilePath(const void* address);

}  // namespace quorvel
