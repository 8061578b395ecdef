#include "graphics/Resources.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace plugkit::gfx {
namespace {

// Resources smaller than this cannot be a PNG or font and count as missing.
constexpr std::size_t minimumResourceSize = 8;

bool IsRegularFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(std::filesystem::path(path), error);
}

}  // namespace

std::string ToUpperAscii(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

ResourceLocation FindAsset(std::span<const EmbeddedResource> table, const std::string& name,
                           const std::string& type, std::string& location) {
  if (name.empty()) return ResourceLocation::NotFound;
  const std::string wantedName = ToUpperAscii(name);
  const std::string wantedType = ToUpperAscii(type);
  for (const EmbeddedResource& resource : table) {
    if (ToUpperAscii(resource.type) != wantedType) continue;
    std::string full = resource.name;
    if (full.size() < 2) continue;  // not a quoted name
    if (ToUpperAscii(full.substr(1, full.size() - 2)) == wantedName) {
      location = full;
      return ResourceLocation::Embedded;
    }
  }
  if (IsRegularFile(name)) {
    location = name;
    return ResourceLocation::FilePath;
  }
  return ResourceLocation::NotFound;
}

ResourceLocation FindAsset(const std::string& name, const std::string& type,
                           std::string& location) {
  return FindAsset(EmbeddedResources(), name, type, location);
}

std::span<const unsigned char> ReadEmbeddedResource(std::span<const EmbeddedResource> table,
                                                    const std::string& location,
                                                    const std::string& type) {
  const std::string wantedType = ToUpperAscii(type);
  for (const EmbeddedResource& resource : table) {
    if (location != resource.name || ToUpperAscii(resource.type) != wantedType) continue;
    if (resource.size < minimumResourceSize) return {};
    return {resource.data, resource.size};
  }
  return {};
}

std::span<const unsigned char> ReadEmbeddedResource(const std::string& location,
                                                    const std::string& type) {
  return ReadEmbeddedResource(EmbeddedResources(), location, type);
}

std::vector<unsigned char> ReadWholeFile(const std::string& path) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                       &std::fclose);
  if (!file) return {};
  if (std::fseek(file.get(), 0, SEEK_END) != 0) return {};
  long size = std::ftell(file.get());
  if (size <= 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) return {};
  std::vector<unsigned char> bytes(static_cast<std::size_t>(size));
  if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) return {};
  return bytes;
}

std::vector<unsigned char> ReadResourceBytes(const std::string& name, const std::string& type) {
  std::string location;
  switch (FindAsset(name, type, location)) {
    case ResourceLocation::FilePath:
      return ReadWholeFile(location);
    case ResourceLocation::Embedded: {
      auto bytes = ReadEmbeddedResource(location, type);
      return {bytes.begin(), bytes.end()};
    }
    case ResourceLocation::NotFound:
      break;
  }
  return {};
}

}  // namespace plugkit::gfx
