#include "tools/plugin-render/ProgramModule.h"

#include <filesystem>
#include <system_error>

namespace quorvelRender {

namespace fs = std::filesystem;

std::string ModuleNearProgram(std::initializer_list<const char*> candidates) {
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  const fs::path folder = error ? fs::path() : program.parent_path();
  std::string first;
  for (const char* candidate : candidates) {
    const std::string path = (folder / candidate).lexically_normal().string();
    if (fs::exists(path, error)) return path;
    if (first.empty()) first = path;
  }
  return first;
}

}  // namespace quorvelRender
