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

using ResourceTableFunction = std::span<const EmbeddedResource> (*)();

// [thread-safe] Chooses the table that resource lookups search; the product sets its own
// compiled-in table before the first editor opens. Its bytes must live as long as the module.
void SetEmbeddedResources(ResourceTableFunction table);

// [thread-safe] The chosen table; empty until one is set.
std::span<const EmbeddedResource> EmbeddedResources();

}  // namespace plugkit
