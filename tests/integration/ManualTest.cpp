// The generated manual as a user meets it: every parameter and preset the module offers is
// named in it, it says what it is, its outline lists the chapters, and the installed editor
// finds it from the installed module.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "editor/ManualLocator.h"
#include "tests/ShellQuoted.h"
#include "tools/plugin-render/PluginRenderer.h"

namespace {

namespace fs = std::filesystem;
using quorvelTest::Quoted;

std::string Output(const std::string& command) {
  std::string text;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return text;
  std::array<char, 4096> buffer{};
  size_t n = 0;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0)
    text.append(buffer.data(), n);
  return text;
}

// Line breaks and the double blank after a preset's category tag do not count.
std::string Collapsed(const std::string& text) {
  std::string out;
  for (char c : text) {
    const bool blank = c == ' ' || c == '\n' || c == '\t' || c == '\f';
    if (!blank)
      out += c;
    else if (!out.empty() && out.back() != ' ')
      out += ' ';
  }
  return out;
}

TEST(ManualTest, NamesEveryParameterAndPresetOfTheModule) {
  std::string error;
  auto plugin = quorvelRender::PluginRenderer::Open(QUORVEL_MODULE_PATH, error);
  ASSERT_TRUE(plugin) << error;
  const auto* params = plugin->Instance().GetExtension<clap_plugin_params>(CLAP_EXT_PARAMS);
  ASSERT_NE(params, nullptr);
  const std::string text = Collapsed(Output("pdftotext " + Quoted(QUORVEL_MANUAL_PDF) + " -"));
  const uint32_t count = params->count(plugin->Instance().Plugin());
  ASSERT_EQ(count, 60u);
  for (uint32_t i = 0; i < count; ++i) {
    clap_param_info info{};
    ASSERT_TRUE(params->get_info(plugin->Instance().Plugin(), i, &info));
    EXPECT_NE(text.find(Collapsed(info.name)), std::string::npos) << info.name;
  }
  ASSERT_EQ(plugin->Presets().size(), 27u);
  for (const auto& preset : plugin->Presets())
    EXPECT_NE(text.find(Collapsed(preset.name)), std::string::npos) << preset.name;
}

TEST(ManualTest, InfoGivesTitleAuthorAndA4Pages) {
  const std::string info = Output("pdfinfo " + Quoted(QUORVEL_MANUAL_PDF));
  EXPECT_NE(info.find("Title:           Quorvel User Manual\n"), std::string::npos) << info;
  EXPECT_NE(info.find("Author:          Brackmoor Audio\n"), std::string::npos) << info;
  EXPECT_NE(info.find("(A4)"), std::string::npos) << info;
  const auto pages = info.find("Pages:");
  ASSERT_NE(pages, std::string::npos);
  EXPECT_GE(std::atoi(info.c_str() + pages + 6), 20);
}

TEST(ManualTest, OutlineListsEveryChapter) {
  std::stringstream raw;
  raw << std::ifstream(QUORVEL_MANUAL_PDF, std::ios::binary).rdbuf();
  for (const char* chapter : {"1  Welcome to Quorvel", "2  The editor", "3  The modulation system",
                              "4  Quorvel in pictures", "5  Factory presets",
                              "6  Parameter reference", "7  Using Quorvel"}) {
    EXPECT_NE(raw.str().find(std::string("/Title (") + chapter + ")"), std::string::npos)
        << chapter;
  }
}

// The contents are laid out before the pages they point at, so they must not drift from them.
TEST(ManualTest, ContentsGiveThePageOfEveryHeading) {
  const std::string text = Output("pdftotext -layout " + Quoted(QUORVEL_MANUAL_PDF) + " -");
  std::vector<std::string> pages;
  std::stringstream all(text);
  for (std::string page; std::getline(all, page, '\f');) pages.push_back(page);
  ASSERT_GT(pages.size(), 2u);
  const std::regex entry(R"(^ *(\d+(\.\d+)? .*?) {2,}(\d+)$)");
  std::stringstream contents(pages[1]);
  int entries = 0;
  for (std::string line; std::getline(contents, line);) {
    std::smatch match;
    if (!std::regex_match(line, match, entry)) continue;
    ++entries;
    const auto page = static_cast<size_t>(std::stoi(match[3]));
    ASSERT_LE(page, pages.size()) << line;
    std::stringstream lines(pages[page - 1]);
    bool found = false;
    for (std::string heading; !found && std::getline(lines, heading);) {
      heading.erase(0, heading.find_first_not_of(' '));
      heading.erase(heading.find_last_not_of(' ') + 1);
      found = heading == match[1].str();
    }
    EXPECT_TRUE(found) << match[1] << " is not on page " << page;
  }
  EXPECT_GE(entries, 7);
}

// A prefix that is a CLAP folder gets the module and the manual at its top and nothing else;
// any other gets the system tree, where the manual is reached from lib/clap/Resources.
TEST(ManualTest, InstalledEditorFindsTheInstalledManual) {
  std::string pattern = (fs::temp_directory_path() / "quorvel-manual-test-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const struct {
    const char* prefix;
    const char* module;
    const char* manual;
  } cases[] = {
      {"clap", "Quorvel.clap", "Quorvel_manual.pdf"},
      {"usr", "lib/clap/Quorvel.clap", "lib/clap/Resources/Quorvel_manual.pdf"},
  };
  for (const auto& c : cases) {
    const fs::path prefix = fs::path(pattern) / c.prefix;
    const std::string command = Quoted(CMAKE_COMMAND) + " --install " + Quoted(BUILD_DIR) +
                                " --prefix " + Quoted(prefix.string()) + " >/dev/null";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;

    const fs::path module = prefix / c.module;
    ASSERT_TRUE(fs::exists(module)) << module;
    EXPECT_EQ(quorvel::FindManualUrl(module.string()),
              quorvel::ManualUrlForPath((prefix / c.manual).string()));
    EXPECT_EQ(fs::file_size(prefix / c.manual), fs::file_size(QUORVEL_MANUAL_PDF)) << c.prefix;
  }
  const fs::directory_iterator clapFolder(fs::path(pattern) / "clap");
  EXPECT_EQ(std::distance(clapFolder, fs::directory_iterator()), 2);
  fs::remove_all(pattern);
}

}  // namespace
