#pragma once

#include <span>

#include "graphics/EmbeddedResources.h"

namespace quorvel {

// [thread-safe] The artwork and font compiled into the module; generated at build time.
std::span<const plugkit::EmbeddedResource> ResourceTable();

}  // namespace quorvel
