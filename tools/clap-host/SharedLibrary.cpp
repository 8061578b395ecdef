#include "tools/clap-host/SharedLibrary.h"

#if defined(_WIN32)
#include <windows.h>

#include <filesystem>
#else
#include <dlfcn.h>
#endif

namespace clapHost {

#if defined(_WIN32)

namespace {

std::string SystemMessage(DWORD code) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = length ? std::string(text, length) : "error " + std::to_string(code);
  LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
    message.pop_back();
  }
  return message;
}

}  // namespace

void* OpenSharedLibrary(const std::string& path, std::string& error) {
  // No "cannot find the module" dialog box from the loader.
  const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS);
  // Paths are UTF-8; the path class widens them for the wide-character call.
  const std::filesystem::path widened(std::u8string(path.begin(), path.end()));
  HMODULE library = LoadLibraryW(widened.c_str());
  const DWORD code = GetLastError();
  SetErrorMode(previous);
  if (!library) error = "cannot load " + path + ": " + SystemMessage(code);
  return reinterpret_cast<void*>(library);
}

void* FindExportedSymbol(void* library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void CloseSharedLibrary(void* library) { FreeLibrary(static_cast<HMODULE>(library)); }

#else

void* OpenSharedLibrary(const std::string& path, std::string& error) {
  void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    const char* reason = dlerror();
    error = "cannot load " + path + ": " + (reason ? reason : "unknown error");
  }
  return library;
}

void* FindExportedSymbol(void* library, const char* name) { return dlsym(library, name); }

void CloseSharedLibrary(void* library) { dlclose(library); }

#endif

}  // namespace clapHost
