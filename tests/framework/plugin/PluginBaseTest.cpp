#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "framework/plugin/PluginBase.h"

namespace plugkit {
namespace {

PluginConfig SmallConfig() {
  PluginConfig config;
  config.paramCount = 4;
  config.presetCount = 3;
  config.pluginName = "Tester";
  return config;
}

// Four parameters: a Double, an Int, a Bool and a Double with a curve.
class StatePlugin : public PluginBase {
 public:
  StatePlugin() : PluginBase(SmallConfig()) {
    ParamAt(0)->DefineDouble("gain", 0.5, -1, 1, 0.01);
    ParamAt(1)->DefineInt("count", 2, 0, 4);
    ParamAt(2)->DefineBool("on", true);
    ParamAt(3)->DefineDouble("freq", 100, 10, 1000, 1, "Hz", 0, "", Param::ShapePowCurve(2));
  }
  void OnParamChange(int index) override { changes.push_back(index); }
  void OnStateRestored() override { ++restored; }

  std::vector<int> changes;
  int restored = 0;
};

ByteChunk ChunkOf(std::initializer_list<double> values) {
  ByteChunk chunk;
  for (double v : values) chunk.Put(v);
  return chunk;
}

std::vector<double> ValuesOf(const ByteChunk& chunk) {
  std::vector<double> values(static_cast<size_t>(chunk.Size()) / 8);
  std::memcpy(values.data(), chunk.Data(), values.size() * 8);
  return values;
}

TEST(ByteChunkTest, ReadsRefuseShortOrOutsidePositions) {
  ByteChunk chunk;
  EXPECT_EQ(chunk.Put(int32_t{7}), 4);
  EXPECT_EQ(chunk.Put(1.5), 12);
  int32_t i = 0;
  double d = 0;
  EXPECT_EQ(chunk.Get(i, 0), 4);
  EXPECT_EQ(i, 7);
  EXPECT_EQ(chunk.Get(d, 4), 12);
  EXPECT_EQ(d, 1.5);
  EXPECT_EQ(chunk.Get(d, 5), -1);
  EXPECT_EQ(chunk.Get(d, -1), -1);
  EXPECT_EQ(chunk.Get(d, 100), -1);
  EXPECT_EQ(chunk.GetBytes(&d, 0, 12), 12);
  // Little-endian on disk.
  EXPECT_EQ(chunk.Data()[0], 7);
}

TEST(PluginBaseTest, SaveWritesEveryPlainValueInIndexOrder) {
  StatePlugin plugin;
  plugin.ParamAt(0)->SetPlain(-0.25);
  ByteChunk chunk;
  EXPECT_TRUE(plugin.SaveState(chunk));
  EXPECT_EQ(ValuesOf(chunk), (std::vector<double>{-0.25, 2, 1, 100}));
  EXPECT_EQ(plugin.ParamAt(4), nullptr);
  EXPECT_EQ(plugin.ParamAt(-1), nullptr);
}

TEST(PluginBaseTest, LoadClampsAndAppliesNothingFromShortOrDamagedData) {
  StatePlugin plugin;
  EXPECT_EQ(plugin.LoadState(ChunkOf({0.75, 9, 1.5, 2000, 123}), 0), 32);  // extra bytes unread
  const auto saved = [&] {
    ByteChunk c;
    plugin.SaveState(c);
    return ValuesOf(c);
  };
  EXPECT_EQ(saved(), (std::vector<double>{0.75, 4, 1, 1000}));
  EXPECT_EQ(plugin.changes, (std::vector<int>{0, 1, 2, 3}));

  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  ByteChunk shortChunk = ChunkOf({-1, 0, 0});
  shortChunk.PutBytes("1234567", 7);
  for (const ByteChunk& bad : {shortChunk, ChunkOf({-1, 0, 0}), ChunkOf({0.5, nan, 1, 50}),
                               ChunkOf({0.5, 1, 1, inf}), ChunkOf({-inf, 0, 0, 10})}) {
    plugin.changes.clear();
    EXPECT_EQ(plugin.LoadState(bad, 0), -1);
    EXPECT_EQ(saved(), (std::vector<double>{0.75, 4, 1, 1000}));
    EXPECT_TRUE(plugin.changes.empty());
  }
}

TEST(PluginBaseTest, PresetsFillFreeSlotsInOrder) {
  StatePlugin plugin;
  EXPECT_EQ(plugin.PresetCount(), 3);
  EXPECT_STREQ(plugin.PresetNameAt(0), "empty");
  EXPECT_STREQ(plugin.PresetNameAt(3), "");
  EXPECT_STREQ(plugin.PresetNameAt(-1), "");

  plugin.FillPresetsFromCurrent(nullptr, 1);
  // Integers for the Int and Bool, doubles for the Doubles; a later pair for the same index
  // wins; unknown indices are ignored; values are stored unclamped.
  plugin.AddPresetFromNamedValues("Loud", {{0, -0.0}, {1, 3}, {0, 5.0}, {7, 1.0}, {2, 0}});
  plugin.AddPresetFromNamedValues("Defaults", {});
  plugin.AddPresetFromNamedValues("No room", {{0, 0.1}});

  EXPECT_STREQ(plugin.PresetNameAt(0), "Empty");
  EXPECT_STREQ(plugin.PresetNameAt(1), "Loud");
  EXPECT_STREQ(plugin.PresetNameAt(2), "Defaults");
  EXPECT_EQ(ValuesOf(plugin.PresetAt(0)->data), (std::vector<double>{0.5, 2, 1, 100}));
  EXPECT_EQ(ValuesOf(plugin.PresetAt(1)->data), (std::vector<double>{5, 3, 0, 100}));
  EXPECT_EQ(ValuesOf(plugin.PresetAt(2)->data), (std::vector<double>{0.5, 2, 1, 100}));

  // A fraction given for an integer parameter is read as a whole number.
  StatePlugin other;
  other.AddPresetFromNamedValues("Fraction", {{1, 2.9}, {0, -0.0}});
  const std::vector<double> values = ValuesOf(other.PresetAt(0)->data);
  EXPECT_EQ(values[1], 2);
  EXPECT_TRUE(std::signbit(values[0]));
}

TEST(PluginBaseTest, RecallAppliesPresetAndTellsTheEditor) {
  StatePlugin plugin;
  plugin.FillPresetsFromCurrent("Start", 1);
  plugin.AddPresetFromNamedValues("Hot", {{0, 5.0}, {3, 400.0}});

  EXPECT_TRUE(plugin.RecallPreset(1));
  EXPECT_EQ(plugin.CurrentPresetIndex(), 1);
  EXPECT_EQ(plugin.ParamAt(0)->GetPlain(), 1);  // clamped on recall
  EXPECT_EQ(plugin.ParamAt(3)->GetPlain(), 400);
  EXPECT_EQ(plugin.restored, 1);

  EXPECT_TRUE(plugin.RecallPreset(0));
  EXPECT_EQ(plugin.ParamAt(0)->GetPlain(), 0.5);
  EXPECT_EQ(plugin.CurrentPresetIndex(), 0);

  plugin.changes.clear();
  EXPECT_FALSE(plugin.RecallPreset(2));  // never filled
  EXPECT_FALSE(plugin.RecallPreset(3));
  EXPECT_FALSE(plugin.RecallPreset(-1));
  EXPECT_TRUE(plugin.changes.empty());
  EXPECT_EQ(plugin.CurrentPresetIndex(), 0);
  EXPECT_EQ(plugin.restored, 2);
}

TEST(PluginBaseTest, NamesAreKeptUpToTheirLimits) {
  PluginConfig config = SmallConfig();
  const std::string longName(300, 'x');
  config.pluginName = longName.c_str();
  config.makerName = nullptr;
  PluginBase plugin(config);
  EXPECT_EQ(plugin.PluginName().size(), PluginBase::kMaxNameLength);
  EXPECT_EQ(plugin.MakerName(), "");
  plugin.AddPresetFromNamedValues(longName.c_str(), {});
  EXPECT_EQ(std::string(plugin.PresetNameAt(0)).size(), PresetSlot::kMaxNameLength);
}

}  // namespace
}  // namespace plugkit
