// The display-scale preference file (including hostile contents) and the manual search.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>

#include "EditorTestSupport.h"
#include "editor/DesktopOpener.h"
#include "editor/DisplayScalePreference.h"
#include "editor/ManualLocator.h"
#include "editor/PlatformFiles.h"

namespace quorvel::test {
namespace {

namespace fs = std::filesystem;

TEST(DisplayScalePreferenceTest, ReadsOneNumberOnTheFirstLine) {
  const struct {
    std::string content;
    std::optional<float> scale;
  } cases[] = {
      {"1.5\n", 1.5f},
      {"  2.25  \n", 2.25f},
      {"1.75\n3\n", 1.75f},
      {"8", 8.0f},
      {"0x1p1\n", 2.0f},
      {"1.5x\n", std::nullopt},
      {"", std::nullopt},
      {"\n1.5\n", std::nullopt},
      {"0\n", std::nullopt},
      {"-1\n", std::nullopt},
      {"inf\n", std::nullopt},
      {"nan\n", std::nullopt},
      {"1e999\n", std::nullopt},
      {"1e-999\n", std::nullopt},
      {"garbage\n", std::nullopt},
      {std::string("1.5\0 2", 6), std::nullopt},
      {std::string(100000, ' ') + "1.5\n", std::nullopt},
      {std::string(100000, '7'), std::nullopt},
  };
  for (const auto& c : cases) {
    ScratchConfigHome config;
    WriteFile(config.PreferenceFile(), c.content);
    EXPECT_EQ(ReadDisplayScale("Quorvel"), c.scale) << c.content.substr(0, 20);
  }
}

TEST(DisplayScalePreferenceTest, MissingOrSpecialFilesAreNotFound) {
  ScratchConfigHome config;
  EXPECT_EQ(ReadDisplayScale("Quorvel"), std::nullopt);
  fs::create_directories(config.PreferenceFile());  // a folder in the file's place
  EXPECT_EQ(ReadDisplayScale("Quorvel"), std::nullopt);
  fs::remove(config.PreferenceFile());
  ASSERT_EQ(mkfifo(config.PreferenceFile().c_str(), 0600), 0);
  EXPECT_EQ(ReadDisplayScale("Quorvel"), std::nullopt);  // and does not wait for a writer
}

TEST(DisplayScalePreferenceTest, WritesFourDecimalsAndALineFeed) {
  ScratchConfigHome config;
  EXPECT_TRUE(WriteDisplayScale("Quorvel", 1.25f));
  EXPECT_EQ(ReadFile(config.PreferenceFile()), "1.2500\n");
  EXPECT_EQ(ReadDisplayScale("Quorvel"), 1.25f);
  for (float bad : {0.0f, -1.0f, NAN, INFINITY, 1e30f}) {
    EXPECT_FALSE(WriteDisplayScale("Quorvel", bad)) << bad;
    EXPECT_EQ(ReadFile(config.PreferenceFile()), "1.2500\n") << bad;
  }
}

TEST(DisplayScalePreferenceTest, FailedWriteKeepsTheOldValue) {
  ScratchConfigHome config;
  ASSERT_TRUE(WriteDisplayScale("Quorvel", 2.0f));
  const fs::path folder = config.PreferenceFile().parent_path();
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  const bool written = WriteDisplayScale("Quorvel", 1.5f);
  fs::permissions(folder, fs::perms::owner_all);
  if (geteuid() != 0) {
    EXPECT_FALSE(written);
  }
  EXPECT_EQ(ReadDisplayScale("Quorvel"), written ? 1.5f : 2.0f);
}

TEST(DisplayScalePreferenceTest, PathsFollowTheConfigurationFolder) {
  ScratchConfigHome config;
  const std::string base = std::getenv("XDG_CONFIG_HOME");
  EXPECT_EQ(PreferencesFolder(), base + "/Brackmoor Audio/Preferences/");
  EXPECT_EQ(DisplayScalePath("a/b:c*d"), PreferencesFolder() + "a_b_c_d-display-scale.txt");
  EXPECT_EQ(DisplayScalePath(""), "");

  setenv("XDG_CONFIG_HOME", "relative/path", 1);  // not allowed by the XDG rules
  setenv("HOME", base.c_str(), 1);
  EXPECT_EQ(PreferencesFolder(), base + "/.config/Brackmoor Audio/Preferences/");
  unsetenv("XDG_CONFIG_HOME");
  unsetenv("HOME");
  EXPECT_EQ(PreferencesFolder(), "");
  EXPECT_FALSE(WriteDisplayScale("Quorvel", 1.0f));
  EXPECT_EQ(ReadDisplayScale("Quorvel"), std::nullopt);
}

class ManualSearchTest : public ::testing::Test {
 protected:
  ManualSearchTest() {
    module = root.Path() / "a/b/c/d/Quorvel.clap";
    WriteFile(module, "");
  }
  void PutManual(const std::string& folder) {
    WriteFile(root.Path() / folder / kManualFileName, "");
  }
  std::string UrlOf(const std::string& folder) const {
    return "file://" + (root.Path() / folder / kManualFileName).lexically_normal().string();
  }

  ScratchFolder root;
  fs::path module;
};

TEST_F(ManualSearchTest, SearchesModuleFolderThenParents) {
  const struct {
    std::vector<std::string> manuals;
    std::string found;  // empty: none
  } cases[] = {
      {{"a/b/c/d/Resources"}, "a/b/c/d/Resources"},
      {{"a/b/c/d/installer", "a/b/c/d/Resources"}, "a/b/c/d/installer"},
      {{"a/b/c/d", "a/b/c/d/installer"}, "a/b/c/d"},
      {{"a/b/c/d/Resources", "a/b/c"}, "a/b/c/d/Resources"},
      {{"a/b"}, "a/b"},  // two levels above: the fourth pass
      {{"a/b/installer"}, "a/b/installer"},
      {{"a"}, "a"},
      {{""}, ""},  // the sixth pass: the root of this layout
      {{}, ""},
  };
  for (const auto& c : cases) {
    for (const auto& entry : fs::directory_iterator(root.Path())) fs::remove_all(entry.path());
    WriteFile(module, "");
    for (const auto& folder : c.manuals) PutManual(folder);
    EXPECT_EQ(FindManualUrl(module.string()), c.manuals.empty() ? "" : UrlOf(c.found)) << c.found;
  }
}

TEST_F(ManualSearchTest, StopsAfterSixPasses) {
  PutManual("");  // a seventh pass would find it
  const fs::path deeper = root.Path() / "z/a/b/c/d/Quorvel.clap";
  WriteFile(deeper, "");
  EXPECT_EQ(FindManualUrl(deeper.string()), "");
  EXPECT_EQ(FindManualUrl(""), "");
}

TEST(ManualUrlTest, EncodesCharactersOutsideUrlPaths) {
  EXPECT_EQ(ManualUrlForPath("/opt/x/../Brackmoor Audio/Quorvel_manual.pdf"),
            "file:///opt/Brackmoor%20Audio/Quorvel_manual.pdf");
  EXPECT_EQ(ManualUrlForPath("/m/100%#1.pdf"), "file:///m/100%25%231.pdf");
}

TEST(ManualUrlTest, ModulePathComesFromTheLoader) {
  const std::string path = ModuleFilePath(ModuleAnchor());
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.front(), '/');
  EXPECT_TRUE(fs::exists(path));
  EXPECT_EQ(ModuleFilePath(nullptr), "");
}

TEST(DesktopOpenerTest, PassesTheAddressAsOneArgument) {
  ScratchFolder folder;
  const fs::path script = folder.Path() / "fake-open";
  const fs::path log = folder.Path() / "log";
  WriteFile(script, "#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > \"" + log.string() + ".tmp\"\nmv \"" +
                        log.string() + ".tmp\" \"" + log.string() + "\"\n");
  fs::permissions(script, fs::perms::owner_all);
  const std::string address = "file:///a b/$(touch x);'q'.pdf";
  ASSERT_TRUE(OpenWithDesktop(address, script.c_str()));
  for (int i = 0; i < 500 && !fs::exists(log); ++i) usleep(10000);
  EXPECT_EQ(ReadFile(log), "1|" + address + "|");
  EXPECT_FALSE(OpenWithDesktop("-x", script.c_str()));
}

}  // namespace
}  // namespace quorvel::test
