#include "editor/ModuleFile.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <filesystem>
#include <system_error>

namespace quorvel {

void* ModuleAnchor() { return reinterpret_cast<void*>(&ModuleAnchor); }

#if defined(_WIN32)

std::string ModuleFilePath(const void* address) {
  if (!address) return {};
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          static_cast<LPCWSTR>(address), &module)) {
    return {};
  }
  // Long paths may exceed MAX_PATH; the buffer grows until the name fits.
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(module, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) return {};
    if (length < name.size()) {
      name.resize(length);
      break;
    }
    if (name.size() >= 32768) return {};
    name.resize(name.size() * 2);
  }
  const int size = WideCharToMultiByte(CP_UTF8, 0, name.data(), static_cast<int>(name.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string path(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, name.data(), static_cast<int>(name.size()), path.data(), size,
                      nullptr, nullptr);
  return path;
}

#else

std::string ModuleFilePath(const void* address) {
  if (!address) return {};
  Dl_info info{};
  if (::dladdr(address, &info) == 0 || !info.dli_fname || !*info.dli_fname) return {};
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(info.dli_fname, error);
  return error ? std::string(info.dli_fname) : absolute.string();
}

#endif

}  // namespace quorvel
