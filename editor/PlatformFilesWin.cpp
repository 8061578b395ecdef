#include <algorithm>
#include <string>

#include "editor/PlatformFiles.h"
#include "graphics/platform/WinApi.h"
#include "graphics/platform/WinText.h"

// Included after windows.h, which it needs.
#include <shlobj.h>

namespace quorvel {
namespace {

using plugkit::gfx::Utf8FromWide;
using plugkit::gfx::WideFromUtf8;

constexpr DWORD kMaxModuleName = 256;

// Closes a file handle when it goes.
struct FileHandle {
  explicit FileHandle(HANDLE h) : handle(h) {}
  ~FileHandle() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool IsOpen() const { return handle != INVALID_HANDLE_VALUE; }
  HANDLE handle;
};

bool WriteAll(HANDLE file, std::string_view content) {
  while (!content.empty()) {
    const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(content.size(), 1u << 20));
    DWORD written = 0;
    if (!WriteFile(file, content.data(), piece, &written, nullptr) || written == 0) return false;
    content.remove_prefix(written);
  }
  return true;
}

}  // namespace

std::string UserSettingsFolder() {
  // The wide call: a user name outside the ANSI code page still gives a usable path.
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) {
    return {};
  }
  std::string text = Utf8FromWide(folder);
  if (text.empty()) return {};
  if (text.back() != '\\') text += '\\';
  return text;
}

bool MakeFolders(const std::string& folder) {
  std::wstring path = WideFromUtf8(folder);
  while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  if (path.empty()) return false;
  const int result = SHCreateDirectoryExW(nullptr, path.c_str(), nullptr);
  return result == ERROR_SUCCESS || result == ERROR_ALREADY_EXISTS || result == ERROR_FILE_EXISTS;
}

std::optional<std::string> ReadFirstLine(const std::string& path, std::size_t maxLength) {
  FileHandle file(CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  // Pipes and devices could keep the host waiting.
  if (!file.IsOpen() || GetFileType(file.handle) != FILE_TYPE_DISK) return std::nullopt;
  std::string line(maxLength + 1, '\0');
  std::size_t filled = 0;
  while (filled < line.size()) {
    DWORD got = 0;
    const auto wanted = static_cast<DWORD>(line.size() - filled);
    if (!ReadFile(file.handle, line.data() + filled, wanted, &got, nullptr) || got == 0) break;
    filled += got;
    if (line.find('\n') < filled) break;
  }
  const std::size_t feed = line.find('\n');
  line.resize(feed < filled ? feed : filled);
  return line;
}

bool ReplaceFileContent(const std::string& path, std::string_view content) {
  const std::wstring target = WideFromUtf8(path);
  const std::wstring temporary = target + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
  bool written = false;
  {
    FileHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen()) return false;
    written = WriteAll(file.handle, content);
  }
  if (!written || !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

void* ModuleAnchor() {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&ModuleAnchor), &module);
  return module;
}

std::string ModuleFilePath(const void* anchor) {
  if (!anchor) return {};
  wchar_t name[kMaxModuleName + 1] = {};
  const DWORD length =
      GetModuleFileNameW(static_cast<HMODULE>(const_cast<void*>(anchor)), name, kMaxModuleName);
  // A name that filled the buffer may have been cut short.
  if (length == 0 || length >= kMaxModuleName) return {};
  return Utf8FromWide({name, length});
}

}  // namespace quorvel
