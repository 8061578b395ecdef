#pragma once

// The effect's sixty parameters behind a recording graphics context, and scratch folders for
// the preference and manual tests.

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "effect/QuorvelParameters.h"
#include "graphics/GraphicsEditorDelegate.h"
#include "tests/graphics/GraphicsTestSupport.h"

namespace quorvel::test {

class QuorvelParamsDelegate : public plugkit::GraphicsEditorDelegate {
 public:
  QuorvelParamsDelegate() : GraphicsEditorDelegate(kParamCount) { DefineParameters(*this); }
  bool NotifyEditorResized(int width, int height, bool) override {
    lastResize = {width, height};
    return true;
  }

  std::pair<int, int> lastResize{0, 0};  // pixels
};

// A fresh folder under the system's temporary folder, removed with everything in it.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "quorvel-editor-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~ScratchFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Points the preference folder at a scratch folder for the life of the object.
class ScratchConfigHome {
 public:
  ScratchConfigHome() { setenv("XDG_CONFIG_HOME", folder_.Path().c_str(), 1); }
  ~ScratchConfigHome() { unsetenv("XDG_CONFIG_HOME"); }
  std::filesystem::path PreferenceFile() const {
    return folder_.Path() / "Brackmoor Audio/Preferences/Quorvel-display-scale.txt";
  }

 private:
  ScratchFolder folder_;
};

}  // namespace quorvel::test
