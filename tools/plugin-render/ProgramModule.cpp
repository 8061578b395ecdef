#include "tools/plugin-render/ProgramModule.h"

#include <filesystem>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace quorvelRender {

namespace fs = std::filesystem;

namespace {

// The running program's folder; empty when the system does not say.
fs::path ProgramFolder() {
#ifdef _WIN32
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), DWORD(name.size()));
    if (length == 0) return {};
    if (length < name.size()) return fs::path(name.substr(0, length)).parent_path();
    name.resize(name.size() * 2);
  }
#else
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::path() : program.parent_path();
#endif
}

}  // namespace

std::string ModuleNearProgram(std::initializer_list<const char*> candidates) {
  std::error_code error;
  const fs::path folder = ProgramFolder();
  std::string first;
  for (const char* candidate : candidates) {
    const std::string path = (folder / candidate).lexically_normal().string();
    if (fs::exists(path, error)) return path;
    if (first.empty()) first = path;
  }
  return first;
}

}  // namespace quorvelRender
