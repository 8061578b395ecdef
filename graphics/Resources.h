#pragma once

#include <span>
#include <string>
#include <vector>

#include "graphics/EmbeddedResources.h"

namespace plugkit::gfx {

enum class ResourceLocation : int { NotFound = 0, FilePath = 1, Embedded = 2 };

// [thread-safe] Looks `name` up among the embedded resources of `type` (case ignored), then
// as a file path. On success `location` is the embedded resource's full name or the path.
ResourceLocation FindAsset(const std::string& name, const std::string& type, std::string& location);
ResourceLocation FindAsset(std::span<const EmbeddedResource> table, const std::string& name,
                           const std::string& type, std::string& location);

// [thread-safe] The bytes of the embedded resource with this full name, read in place; empty
// when it is missing or too small to be an image or font.
std::span<const unsigned char> ReadEmbeddedResource(const std::string& location,
                                                    const std::string& type);
std::span<const unsigned char> ReadEmbeddedResource(std::span<const EmbeddedResource> table,
                                                    const std::string& location,
                                                    const std::string& type);

// [thread-safe] A copy of the resource's bytes (embedded or file); empty when not found or
// not read completely.
std::vector<unsigned char> ReadResourceBytes(const std::string& name, const std::string& type);

// [thread-safe] A whole file; empty when it cannot be read completely.
std::vector<unsigned char> ReadWholeFile(const std::string& path);

std::string ToUpperAscii(std::string text);

}  // namespace plugkit::gfx
