// Where the editor keeps its zoom on Windows, and the manual found on a drive.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "editor/DisplayScalePreference.h"
#include "editor/ManualLocator.h"
#include "editor/PlatformFiles.h"

// After the project's headers, whose names its macros would rename.
#include <windows.h>
// Needs windows.h first.
#include <shlobj.h>

namespace quorvel::test {
namespace {

namespace fs = std::filesystem;

std::string RoamingAppData() {
  char folder[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, folder);
  return folder;
}

TEST(WindowsFoldersTest, PreferenceLivesInTheRoamingApplicationData) {
  EXPECT_EQ(PreferencesFolder(), RoamingAppData() + "\\Brackmoor Audio\\Preferences\\");
  const fs::path file = fs::u8path(DisplayScalePath("Quorvel"));
  fs::remove_all(file.parent_path().parent_path());
  ASSERT_TRUE(WriteDisplayScale("Quorvel", 1.25f));
  std::ifstream in(file, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "1.2500\n");
  in.close();
  // Another program holding the file open for writing does not hide the value.
  HANDLE writer = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ReadDisplayScale("Quorvel"), 1.25f);
  CloseHandle(writer);
  ASSERT_TRUE(WriteDisplayScale("Quorvel", 2.0f)) << "over the existing file";
  EXPECT_EQ(ReadDisplayScale("Quorvel"), 2.0f);
  fs::remove_all(file.parent_path().parent_path());
}

TEST(WindowsFoldersTest, ManualOnADriveGetsAThreeSlashUrl) {
  const std::string module = ModuleFilePath(ModuleAnchor());
  ASSERT_GT(module.size(), 3u);
  EXPECT_EQ(module.substr(1, 2), ":\\") << module;
  const fs::path root = fs::temp_directory_path() / "quorvel-manual-test";
  fs::remove_all(root);
  fs::create_directories(root / "a" / "Resources");
  std::ofstream(root / "a" / "Resources" / kManualFileName) << "";
  const std::string url = FindManualUrl((root / "a" / "b" / "Quorvel.clap").string());
  fs::remove_all(root);
  EXPECT_EQ(url, "file:///" + (root / "a" / "Resources" / kManualFileName).string());
  EXPECT_EQ(url.find('/', 8), std::string::npos) << "backslashes throughout: " << url;
}

}  // namespace
}  // namespace quorvel::test
