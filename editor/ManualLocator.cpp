#include "editor/ManualLocator.h"

#include <array>
#include <filesystem>
#include <system_error>

#include "editor/PlatformFiles.h"
#include "graphics/Graphics.h"
#include "graphics/GraphicsEditorDelegate.h"

namespace quorvel {

namespace fs = std::filesystem;

namespace {

constexpr int kSearchPasses = 6;
constexpr std::array<const char*, 3> kSubfolders{"", "installer", "Resources"};
// Windows takes either slash between folders.
constexpr char kFolderSeparators[] = {kPathSeparator, '/', '\0'};

bool EntryExists(const fs::path& path) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(path, error);
  return !error && status.type() != fs::file_type::not_found &&
         status.type() != fs::file_type::none;
}

bool IsUrlPathChar(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
  if (c == kPathSeparator) return true;
  switch (c) {
    case '-':
    case '.':
    case '_':
    case '~':
    case '/':
    case '!':
    case '$':
    case '&':
    case '\'':
    case '(':
    case ')':
    case '*':
    case '+':
    case ',':
    case ';':
    case '=':
    case ':':
    case '@':
      return true;
    default:
      return false;
  }
}

}  // namespace

std::string ManualUrlForPath(const std::string& path) {
  std::error_code error;
  fs::path absolute = fs::absolute(path, error);
  if (error) absolute = path;
  return FileUrlForText(absolute.lexically_normal().string());
}

std::string FileUrlForText(const std::string& text) {
  // A drive-letter path gets the empty host of "file:///"; a network path brings its own.
  std::string url = text.size() > 1 && text[1] == ':' ? "file:///" : "file://";
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (unsigned char c : text) {
    if (IsUrlPathChar(c)) {
      url += static_cast<char>(c);
    } else {
      url += '%';
      url += kHex[c >> 4];
      url += kHex[c & 15];
    }
  }
  return url;
}

std::string FindManualUrl(const std::string& modulePath) {
  const std::size_t slash = modulePath.find_last_of(kFolderSeparators);
  if (slash == std::string::npos) return {};
  fs::path folder = modulePath.substr(0, slash + 1);
  for (int pass = 0; pass < kSearchPasses; ++pass) {
    for (const char* subfolder : kSubfolders) {
      const fs::path candidate =
          *subfolder ? folder / subfolder / kManualFileName : folder / kManualFileName;
      if (EntryExists(candidate)) return ManualUrlForPath(candidate.string());
    }
    const fs::path parent = folder.parent_path();
    if (parent.empty()) break;
    folder = parent;
  }
  return {};
}

std::string FindManualUrl(const plugkit::gfx::Graphics& graphics) {
  return FindManualUrl(ModuleFilePath(graphics.ModuleInstance()));
}

void OpenManual(plugkit::gfx::Graphics* graphics) {
  if (!graphics) return;
  std::string url = FindManualUrl(*graphics);
  if (url.empty()) url = kVendorWebAddress;
  graphics->OpenWebAddress(url.c_str(), nullptr, nullptr, nullptr);
}

std::function<void()> MakeManualAction(plugkit::GraphicsEditorDelegate& delegate) {
  return [&delegate] { OpenManual(delegate.GetGraphics()); };
}

}  // namespace quorvel
