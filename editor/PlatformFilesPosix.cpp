#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include "editor/PlatformFiles.h"

namespace quorvel {
namespace {

bool IsAbsolute(const char* path) { return path && path[0] == '/'; }

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

std::string UserSettingsFolder() {
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
  return base;
}

bool MakeFolders(const std::string& folder) {
  for (std::size_t pos = 1; pos <= folder.size(); ++pos) {
    if (pos != folder.size() && folder[pos] != '/') continue;
    const std::string part = folder.substr(0, pos);
    if (part.empty() || part.back() == '/') continue;
    if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
  }
  return true;
}

std::optional<std::string> ReadFirstLine(const std::string& path, std::size_t maxLength) {
  // Non-blocking, so that a FIFO planted under the name cannot stall the host's main thread.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return std::nullopt;
  }
  std::string line(maxLength + 1, '\0');
  std::size_t filled = 0;
  while (filled < line.size()) {
    const ssize_t got = ::read(fd, line.data() + filled, line.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    filled += static_cast<std::size_t>(got);
    if (std::memchr(line.data(), '\n', filled)) break;
  }
  ::close(fd);
  const void* feed = std::memchr(line.data(), '\n', filled);
  line.resize(feed ? static_cast<std::size_t>(static_cast<const char*>(feed) - line.data())
                   : filled);
  return line;
}

bool ReplaceFileContent(const std::string& path, std::string_view content) {
  const std::string temporary = path + "." + std::to_string(::getpid()) + ".tmp";
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, content.data(), content.size());
  const bool closed = ::close(fd) == 0;
  if (!written || !closed || ::rename(temporary.c_str(), path.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

void* ModuleAnchor() { return reinterpret_cast<void*>(&ModuleAnchor); }

std::string ModuleFilePath(const void* anchor) {
  if (!anchor) return {};
  Dl_info info{};
  if (::dladdr(anchor, &info) == 0 || !info.dli_fname || !*info.dli_fname) return {};
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(info.dli_fname, error);
  return error ? std::string(info.dli_fname) : absolute.string();
}

}  // namespace quorvel
