#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "graphics/Resources.h"
#include "tests/graphics/ResourceTableSetup.h"

namespace plugkit::gfx {
namespace {

const unsigned char pngBytes[] = {0x89, 'P', 'N', 'G', 1, 2, 3, 4, 5, 6};
const unsigned char tinyBytes[] = {1, 2, 3};

const EmbeddedResource table[] = {
    {"PNG", "\"BG.PNG\"", pngBytes, sizeof pngBytes},
    {"PNG", "\"TINY.PNG\"", tinyBytes, sizeof tinyBytes},
    {"TTF", "\"FONT.TTF\"", pngBytes, sizeof pngBytes},
    {"PNG", "X", pngBytes, sizeof pngBytes},
};

TEST(Resources, FindsEmbeddedResourcesIgnoringCaseAndQuotes) {
  std::string location;
  EXPECT_EQ(FindAsset(table, "bg.png", "png", location), ResourceLocation::Embedded);
  EXPECT_EQ(location, "\"BG.PNG\"");
  EXPECT_EQ(FindAsset(table, "Font.TTF", "Ttf", location), ResourceLocation::Embedded);
  EXPECT_EQ(location, "\"FONT.TTF\"");

  location = "unchanged";
  EXPECT_EQ(FindAsset(table, "bg@2x.png", "png", location), ResourceLocation::NotFound);
  EXPECT_EQ(FindAsset(table, "font.ttf", "png", location), ResourceLocation::NotFound)
      << "lookup is within the type";
  EXPECT_EQ(FindAsset(table, "", "png", location), ResourceLocation::NotFound);
  EXPECT_EQ(location, "unchanged");

  auto bytes = ReadEmbeddedResource(table, "\"BG.PNG\"", "png");
  EXPECT_EQ(bytes.data(), pngBytes) << "read in place, not copied";
  EXPECT_EQ(bytes.size(), sizeof pngBytes);
  EXPECT_TRUE(ReadEmbeddedResource(table, "\"TINY.PNG\"", "PNG").empty())
      << "resources under 8 bytes count as missing";
  EXPECT_TRUE(ReadEmbeddedResource(table, "BG.PNG", "PNG").empty()) << "full name needed";
}

TEST(Resources, FallsBackToFilesAndReadsThemWhole) {
  auto path = (std::filesystem::temp_directory_path() /
               ("quorvel-resources-test-" + std::to_string(::getpid()) + ".png"))
                  .string();
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(pngBytes, 1, sizeof pngBytes, f);
  std::fclose(f);

  std::string location;
  EXPECT_EQ(FindAsset(table, path, "png", location), ResourceLocation::FilePath);
  EXPECT_EQ(location, path);
  auto bytes = ReadResourceBytes(path, "png");
  EXPECT_EQ(bytes, std::vector<unsigned char>(pngBytes, pngBytes + sizeof pngBytes));

  // A folder is not a resource file.
  auto folder = std::filesystem::temp_directory_path().string();
  EXPECT_EQ(FindAsset(table, folder, "png", location), ResourceLocation::NotFound);
  EXPECT_TRUE(ReadResourceBytes(folder, "png").empty());
  std::filesystem::remove(path);
  EXPECT_TRUE(ReadResourceBytes(path, "png").empty());
}

TEST(Resources, ModuleTableHoldsTheFont) {
  std::string location;
  EXPECT_EQ(FindAsset("roboto-regular.ttf", "TTF", location), ResourceLocation::Embedded);
  EXPECT_EQ(location, "\"ROBOTO-REGULAR.TTF\"");
  auto font = ReadEmbeddedResource(location, "ttf");
  ASSERT_GT(font.size(), 100000u);
  EXPECT_EQ(font[0], 0);
  EXPECT_EQ(font[1], 1);
  EXPECT_EQ(ReadResourceBytes("Roboto-Regular.ttf", "ttf").size(), font.size());
}

}  // namespace
}  // namespace plugkit::gfx
