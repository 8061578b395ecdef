// quorvel-snapshot as a user runs it: a PNG of the editor at each scale, live indicators after
// audio, and one clear line for a mistaken command line.

#include <cairo.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/ShellQuoted.h"

namespace {

namespace fs = std::filesystem;
using quorvelTest::Quoted;

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
};

class SnapshotToolTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "quorvel-snapshot-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir = pattern;
  }
  void TearDown() override { fs::remove_all(dir); }

  // The exit code; stderr goes to `err`. The preference folder is the scratch folder, so a
  // run can never change the user's editor zoom.
  int Run(const std::vector<std::string>& args, std::string* err = nullptr) const {
    std::string command = "cd " + Quoted(dir.string()) +
                          " && XDG_CONFIG_HOME=" + Quoted(dir.string()) + " " +
                          Quoted(QUORVEL_SNAPSHOT_PATH);
    for (const std::string& arg : args) command += " " + Quoted(arg);
    command += " >/dev/null 2>" + Quoted((dir / "stderr.txt").string());
    const int status = std::system(command.c_str());
    if (err) {
      std::stringstream text;
      text << std::ifstream(dir / "stderr.txt").rdbuf();
      *err = text.str();
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  Picture Read(const std::string& name) const {
    Picture picture;
    cairo_surface_t* surface = cairo_image_surface_create_from_png((dir / name).c_str());
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
      cairo_surface_flush(surface);
      picture.width = cairo_image_surface_get_width(surface);
      picture.height = cairo_image_surface_get_height(surface);
      const int stride = cairo_image_surface_get_stride(surface);
      const unsigned char* data = cairo_image_surface_get_data(surface);
      for (int y = 0; y < picture.height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
        picture.pixels.insert(picture.pixels.end(), row, row + picture.width);
      }
    }
    cairo_surface_destroy(surface);
    return picture;
  }

  fs::path dir;
};

constexpr const char* kTrance = "[FX]  Planet of the Trance Sweeps";

TEST_F(SnapshotToolTest, DrawsTheEditorAtEachScale) {
  struct Case {
    const char* scale;
    int width, height;
  };
  for (const Case& c : {Case{"1", 790, 350}, Case{"2", 1580, 700}}) {
    ASSERT_EQ(Run({"--scale", c.scale, "--out", "editor.png"}), 0) << c.scale;
    const Picture picture = Read("editor.png");
    EXPECT_EQ(picture.width, c.width) << c.scale;
    EXPECT_EQ(picture.height, c.height) << c.scale;
    ASSERT_FALSE(picture.pixels.empty());
    const uint32_t first = picture.pixels.front();
    EXPECT_TRUE(std::any_of(picture.pixels.begin(), picture.pixels.end(),
                            [first](uint32_t p) { return p != first; }))
        << "not all one colour at scale " << c.scale;
  }
  EXPECT_FALSE(fs::exists(dir / "Brackmoor Audio")) << "the user's zoom is left alone";
}

TEST_F(SnapshotToolTest, AudioThroughThePresetBringsTheIndicatorsToLife) {
  ASSERT_EQ(Run({"--preset", kTrance, "--out", "rest.png"}), 0);
  ASSERT_EQ(Run({"--preset", kTrance, "--seconds", "3", "--out", "live.png"}), 0);
  const Picture rest = Read("rest.png");
  const Picture live = Read("live.png");
  ASSERT_EQ(rest.pixels.size(), live.pixels.size());
  EXPECT_NE(rest.pixels, live.pixels);
}

TEST_F(SnapshotToolTest, MistakesEndWithOneLineAndExitOne) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"--scale", "9"},
                                             {"--scale", "nan"},
                                             {"--seconds", "-1"},
                                             {"--preset", "no such preset"},
                                             {"--set", "drive=loud"},
                                             {"missing.wav"},
                                             {"--out", "no-folder/editor.png"}}) {
    std::string err;
    EXPECT_EQ(Run(args, &err), 1) << args.front();
    EXPECT_EQ(err.rfind("quorvel-snapshot: ", 0), 0u) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  }
}

}  // namespace
