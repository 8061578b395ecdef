// The manual's URL from its path, on every platform: drive letters and network paths.

#include <gtest/gtest.h>

#include <string>

#include "editor/ManualLocator.h"
#include "editor/PlatformFiles.h"

namespace quorvel::test {
namespace {

TEST(ManualUrlRuleTest, DriveLettersGetThreeSlashesNetworkPathsTwo) {
  const std::string s(1, kPathSeparator);
  const struct {
    std::string path;
    std::string url;
  } cases[] = {
      {"C:" + s + "A" + s + "Quorvel_manual.pdf",
       "file:///C:" + s + "A" + s + "Quorvel_manual.pdf"},
      {"d:" + s + "x y.pdf", "file:///d:" + s + "x%20y.pdf"},
      {s + s + "server" + s + "share" + s + "m.pdf",
       "file://" + s + s + "server" + s + "share" + s + "m.pdf"},
      {s + "opt" + s + "m.pdf", "file://" + s + "opt" + s + "m.pdf"},
      {"C", "file://C"},
  };
  for (const auto& c : cases) EXPECT_EQ(FileUrlForText(c.path), c.url) << c.path;
}

}  // namespace
}  // namespace quorvel::test
