#pragma once

#include <cstddef>
#include <span>

namespace plugkit {

// One file compiled into the module. The type is the upper-case file extension ("PNG",
// "TTF"); the name is the upper-case file name in double quotes ("\"BG.PNG\""), the form
// module resources carry on platforms that have them.
struct EmbeddedResource {
  const char* type;
  const char* name;
  const unsigned char* data;
  std::size_t size;
};

// [thread-safe] The module's resource table; the bytes live as long as the module.
std::span<const EmbeddedResource> EmbeddedResources();

}  // namespace plugkit
