#include "editor/DisplayScalePreference.h"

#include <fcntl.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>
#if defined(_WIN32)
#include <direct.h>
#endif

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace quorvel {

namespace {

constexpr const char* kPreferencesSubfolder = "Brackmoor Audio/Preferences/";
constexpr const char* kFileSuffix = "-display-scale.txt";
// Longer than any scale this file ever holds; anything beyond is not a preference we wrote.
constexpr std::size_t kMaxLineLength = 256;
constexpr std::size_t kMaxWrittenLength = 31;

bool IsAbsolute(const char* path) { return path && path[0] == '/'; }

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The host may have switched the process to a locale with a decimal comma; the file always
// uses the C locale.
#if defined(_WIN32)
// Windows has no FIFOs to guard against, and its handles are not inherited unless asked for.
constexpr int kReadFlags = O_RDONLY | O_BINARY;
constexpr int kWriteFlags = O_WRONLY | O_CREAT | O_TRUNC | O_BINARY;

float ParseFloat(const char* text, char** end) {
  static const _locale_t locale = _create_locale(LC_ALL, "C");
  // mingw declares no _strtof_l; a float read through double rounds the same here.
  return static_cast<float>(_strtod_l(text, end, locale));
}

int MakeFolder(const char* path) { return ::_mkdir(path); }
#else
constexpr int kReadFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC;
constexpr int kWriteFlags = O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC;

float ParseFloat(const char* text, char** end) {
  static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return strtof_l(text, end, locale);
}

int MakeFolder(const char* path) { return ::mkdir(path, 0755); }
#endif

// Every missing folder along the path, like mkdir -p. A file where a folder should be counts
// as success here; opening the preference file then fails.
bool MakeFolders(const std::string& folder) {
  for (std::size_t pos = 1; pos <= folder.size(); ++pos) {
    if (pos != folder.size() && folder[pos] != '/') continue;
    const std::string part = folder.substr(0, pos);
    if (part.empty() || part.back() == '/') continue;
    if (MakeFolder(part.c_str()) != 0 && errno != EEXIST) return false;
  }
  return true;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

}  // namespace

std::string PreferencesFolder() {
  std::string base;
  const char* config = std::getenv("XDG_CONFIG_HOME");
  // Relative values are invalid by the XDG rules and ignored.
  if (IsAbsolute(config)) {
    base = config;
  } else {
    const char* home = std::getenv("HOME");
    if (!IsAbsolute(home)) return {};
    base = std::string(home) + "/.config";
  }
  if (base.back() != '/') base += '/';
  return base + kPreferencesSubfolder;
}

std::string DisplayScalePath(std::string_view name) {
  if (name.empty()) return {};
  const std::string folder = PreferencesFolder();
  if (folder.empty()) return {};
  std::string file(name);
  for (char& c : file) {
    if (std::strchr("/\\:*?\"<>|", c)) c = '_';  // also the NUL byte strchr finds
  }
  return folder + file + kFileSuffix;
}

std::optional<float> ParseDisplayScale(std::string_view line) {
  if (line.empty() || line.size() > kMaxLineLength) return std::nullopt;
  const std::string text(line);
  if (std::strlen(text.c_str()) != text.size()) return std::nullopt;  // embedded NUL
  const char* begin = text.c_str();
  char* end = nullptr;
  errno = 0;
  const float value = ParseFloat(begin, &end);
  if (errno == ERANGE || end == begin) return std::nullopt;
  for (const char* p = end; *p; ++p) {
    if (!IsSpace(*p)) return std::nullopt;
  }
  if (!std::isfinite(value) || value <= 0.0f) return std::nullopt;
  return value;
}

std::optional<float> ReadDisplayScale(std::string_view name) {
  const std::string path = DisplayScalePath(name);
  if (path.empty()) return std::nullopt;
  // Non-blocking, so that a FIFO planted under the name cannot stall the host's main thread.
  const int fd = ::open(path.c_str(), kReadFlags);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  std::string line;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    char buffer[kMaxLineLength + 1];
    std::size_t filled = 0;
    while (filled < sizeof buffer) {
      const ssize_t got = ::read(fd, buffer + filled, sizeof buffer - filled);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) break;
      filled += static_cast<std::size_t>(got);
      if (std::memchr(buffer, '\n', filled)) break;
    }
    const void* feed = std::memchr(buffer, '\n', filled);
    const std::size_t length =
        feed ? static_cast<std::size_t>(static_cast<const char*>(feed) - buffer) : filled;
    line.assign(buffer, length);
  }
  ::close(fd);
  return ParseDisplayScale(line);
}

bool WriteDisplayScale(std::string_view name, float scale) {
  if (!std::isfinite(scale) || scale <= 0.0f) return false;
  const std::string folder = PreferencesFolder();
  const std::string path = DisplayScalePath(name);
  if (folder.empty() || path.empty()) return false;

  char text[64];
  const auto [end, error] =
      std::to_chars(text, text + sizeof text, scale, std::chars_format::fixed, 4);
  if (error != std::errc()) return false;
  *end = '\n';
  const std::size_t length = static_cast<std::size_t>(end - text) + 1;
  // A cut-off number would be read back as a different scale.
  if (length > kMaxWrittenLength) return false;

  if (!MakeFolders(folder)) return false;
  // Written beside the file and renamed over it, so a failed write keeps the old value.
  const std::string temporary = path + "." + std::to_string(::getpid()) + ".tmp";
  const int fd = ::open(temporary.c_str(), kWriteFlags, 0644);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, text, length);
  const bool closed = ::close(fd) == 0;
  if (!written || !closed || ::rename(temporary.c_str(), path.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace quorvel
