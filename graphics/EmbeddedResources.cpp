#include "graphics/EmbeddedResources.h"

#include <atomic>

namespace plugkit {
namespace {

std::atomic<ResourceTableFunction> chosenTable{nullptr};

}  // namespace

void SetEmbeddedResources(ResourceTableFunction table) {
  chosenTable.store(table, std::memory_order_release);
}

std::span<const EmbeddedResource> EmbeddedResources() {
  const ResourceTableFunction table = chosenTable.load(std::memory_order_acquire);
  return table ? table() : std::span<const EmbeddedResource>{};
}

}  // namespace plugkit
