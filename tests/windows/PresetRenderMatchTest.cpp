// Every factory preset rendered by quorvel-render.exe under Wine against the same render of
// the Linux build: the engine is the same source, so the samples must agree to rounding.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <string>

#include "tools/plugin-render/AudioFile.h"

namespace {

namespace fs = std::filesystem;

constexpr double kTolerance = 1e-9;
constexpr int kFactoryPresets = 27;

TEST(PresetRenderMatchTest, WindowsRendersMatchLinuxRenders) {
  const fs::path linux = fs::path(RENDER_DIR) / "linux";
  const fs::path windows = fs::path(RENDER_DIR) / "windows";
  int compared = 0;
  double largest = 0.0;
  for (int index = 0; fs::exists(linux / ("preset-" + std::to_string(index) + ".wav")); ++index) {
    SCOPED_TRACE("preset " + std::to_string(index));
    const std::string name = "preset-" + std::to_string(index) + ".wav";
    std::string error;
    const auto expected = quorvelRender::ReadAudioFile((linux / name).string(), error);
    ASSERT_TRUE(expected) << error;
    const auto actual = quorvelRender::ReadAudioFile((windows / name).string(), error);
    ASSERT_TRUE(actual) << error;
    ASSERT_EQ(actual->ChannelCount(), expected->ChannelCount());
    ASSERT_EQ(actual->Frames(), expected->Frames());
    ASSERT_GT(expected->Frames(), 0u);
    double difference = 0.0;
    for (int c = 0; c < expected->ChannelCount(); ++c) {
      for (size_t f = 0; f < expected->Frames(); ++f) {
        const double d = std::abs(actual->channels[c][f] - expected->channels[c][f]);
        // NaN compares false with everything; a NaN on one side only is a difference.
        difference = std::max(difference, std::isnan(d) ? INFINITY : d);
      }
    }
    EXPECT_LE(difference, kTolerance);
    largest = std::max(largest, difference);
    ++compared;
  }
  EXPECT_EQ(compared, kFactoryPresets);
  std::cout << "largest difference over " << compared << " presets: " << largest << "\n";
}

}  // namespace
