#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "framework/plugin/PluginApiBase.h"

namespace plugkit {
namespace {

PluginConfig ApiConfig(bool hasEditor = true) {
  PluginConfig config;
  config.paramCount = 3;
  config.presetCount = 1;
  config.hasEditor = hasEditor;
  config.editorWidth = 790;
  config.editorHeight = 350;
  config.editorMinWidth = 2370;  // given the wrong way round: the smaller becomes the minimum
  config.editorMaxWidth = 263;
  config.editorMinHeight = 116;
  config.editorMaxHeight = 1050;
  return config;
}

// Records every call of the delegate chain as one line of text.
class RecordingPlugin : public PluginApiBase {
 public:
  explicit RecordingPlugin(bool hasEditor = true) : PluginApiBase(ApiConfig(hasEditor)) {
    ParamAt(0)->DefineInt("steps", 1, 0, 4);
    ParamAt(1)->DefineDouble("freq", 18000, 10, 18000, 1, "Hz", 0, "", Param::ShapePowCurve(2));
    ParamAt(2)->DefineBool("on", false);
  }

  void OnParamChange(int index, ParamSource source, int offset) override {
    Log("change " + std::to_string(index) + " " + ParamSourceName(source) + " " +
        std::to_string(offset));
  }
  void OnParamChangeForEditor(int index, ParamSource source) override {
    Log("editor " + std::to_string(index) + " " + ParamSourceName(source));
  }
  void SendParamValueToUI(int index, double value, bool normalized) override {
    toUI.push_back({index, value});
    lastToUINormalized = normalized;
    PluginApiBase::SendParamValueToUI(index, value, normalized);
  }
  void OnMidiForEditor(const MidiMessage& message) override { midiToUI.push_back(message); }
  void OnSysExForEditor(const SysExMessage& message) override {
    sysExSizes.push_back(message.size);
  }
  void OnEditorClosing() override { Log("closing"); }
  void OnIdle() override { ++idles; }
  void NotifyHostGestureBegin(int index) override { Log("begin " + std::to_string(index)); }
  void NotifyHostParamValue(int index, double value) override {
    Log("value " + std::to_string(index) + " " + std::to_string(value));
  }
  void NotifyHostGestureEnd(int index) override { Log("end " + std::to_string(index)); }

  void Log(std::string line) { calls.push_back(std::move(line)); }

  std::vector<std::string> calls;
  std::vector<ParamChange> toUI;
  bool lastToUINormalized = false;
  std::vector<MidiMessage> midiToUI;
  std::vector<int> sysExSizes;
  int idles = 0;
};

class FakeTimerHost : public TimerHost {
 public:
  bool Register(uint32_t periodMs, uint32_t& id) override {
    id = 7;
    period = periodMs;
    return registered = true;
  }
  void Unregister(uint32_t) override { registered = false; }
  bool registered = false;
  uint32_t period = 0;
};

TEST(PluginApiBaseTest, EditorSizeAndConstraints) {
  RecordingPlugin plugin;
  EXPECT_EQ(plugin.EditorWidth(), 790);
  EXPECT_EQ(plugin.EditorMinWidth(), 263);
  EXPECT_EQ(plugin.EditorMaxWidth(), 2370);
  int w = 790, h = 350;
  EXPECT_TRUE(plugin.ConstrainEditorSize(w, h));
  EXPECT_EQ(w, 790);
  w = 100, h = 5000;
  EXPECT_FALSE(plugin.ConstrainEditorSize(w, h));
  EXPECT_EQ(w, 263);
  EXPECT_EQ(h, 1050);

  EditorDelegateBase unconfigured(0);
  w = 5, h = 200000;
  EXPECT_FALSE(unconfigured.ConstrainEditorSize(w, h));
  EXPECT_EQ(w, 10);
  EXPECT_EQ(h, 100000);

  EXPECT_TRUE(plugin.NotifyEditorResized(10, 10, false));
  EXPECT_FALSE(plugin.NotifyEditorResized(10, 10, true));  // no host binding to resize
}

TEST(PluginApiBaseTest, EditorEditReachesParamHostEffectAndEditor) {
  RecordingPlugin plugin;
  plugin.BeginParamEditFromUI(0);
  plugin.SendParamValueFromUI(0, 0.5);
  plugin.EndParamEditFromUI(0);
  EXPECT_EQ(plugin.ParamAt(0)->GetPlain(), 2);
  EXPECT_EQ(plugin.calls, (std::vector<std::string>{"begin 0", "value 0 0.500000", "change 0 UI -1",
                                                    "editor 0 UI", "end 0"}));

  plugin.calls.clear();
  plugin.SendParamValueFromUI(1, 0.5);
  EXPECT_DOUBLE_EQ(plugin.ParamAt(1)->GetPlain(), 10 + 0.25 * 17990);
  plugin.SendParamValueFromUI(1, std::nan(""));
  plugin.SendParamValueFromUI(3, 0.5);
  EXPECT_DOUBLE_EQ(plugin.ParamAt(1)->GetPlain(), 10 + 0.25 * 17990);
  EXPECT_EQ(plugin.calls.size(), 3u);  // only the first edit went anywhere
}

TEST(PluginApiBaseTest, TimerTickDrainsQueuesTowardsTheEditor) {
  RecordingPlugin plugin;
  // More host changes than the queue holds between two ticks.
  for (int i = 0; i < 600; ++i) plugin.QueueParamForEditor(0, i % 5, false);
  plugin.QueueParamForEditor(9, 1, false);  // unknown index: dropped
  plugin.OnTimerTick();
  ASSERT_EQ(plugin.toUI.size(), 512u);
  EXPECT_EQ(plugin.toUI[511].value, 511 % 5);
  EXPECT_FALSE(plugin.lastToUINormalized);
  EXPECT_EQ(plugin.idles, 1);
  EXPECT_EQ(plugin.calls.back(), "editor 0 Editor Delegate");

  // Normalized host values are queued as clamped plain values.
  plugin.toUI.clear();
  plugin.QueueParamForEditor(1, 0.5, true);
  plugin.QueueParamForEditor(0, 0.6, true);
  plugin.OnTimerTick();
  ASSERT_EQ(plugin.toUI.size(), 2u);
  EXPECT_DOUBLE_EQ(plugin.toUI[0].value, 10 + 0.25 * 17990);
  EXPECT_EQ(plugin.toUI[1].value, 2);

  for (uint8_t i = 0; i < 40; ++i) plugin.QueueMidiForEditor({i, 0x90, i, 1});
  std::vector<uint8_t> bytes(600, 0xF0);
  plugin.QueueSysExForEditor({0, 600, bytes.data()});
  plugin.QueueSysExForEditor({0, 3, nullptr});
  plugin.OnTimerTick();
  ASSERT_EQ(plugin.midiToUI.size(), 32u);
  EXPECT_EQ(plugin.midiToUI[31].data1, 31);
  EXPECT_EQ(plugin.sysExSizes, (std::vector<int>{512, 0}));
  EXPECT_EQ(plugin.idles, 3);

  // Without an editor nothing is drained, but the idle call still runs.
  RecordingPlugin headless(false);
  headless.QueueParamForEditor(0, 1, false);
  headless.OnTimerTick();
  EXPECT_TRUE(headless.toUI.empty());
  EXPECT_EQ(headless.idles, 1);
}

TEST(PluginApiBaseTest, EditorMessagesReachTheProcessorSide) {
  RecordingPlugin plugin;
  EXPECT_TRUE(plugin.SendMidiFromUI({3, 0xB0, 7, 100}));
  const uint8_t sysEx[] = {0xF0, 0x7E, 0xF7};
  EXPECT_TRUE(plugin.SendSysExFromUI({5, 3, sysEx}));
  MidiMessage midi;
  ASSERT_TRUE(plugin.PopMidiFromEditor(midi));
  EXPECT_EQ(midi.data2, 100);
  EXPECT_FALSE(plugin.PopMidiFromEditor(midi));
  SysExRecord record;
  ASSERT_TRUE(plugin.PopSysExFromEditor(record));
  EXPECT_EQ(record.offset, 5);
  EXPECT_EQ(record.size, 3);
  EXPECT_EQ(record.data[1], 0x7E);
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(plugin.SendSysExFromUI({0, 3, sysEx}));
  EXPECT_FALSE(plugin.SendSysExFromUI({0, 3, sysEx}));  // capacity 4
}

TEST(PluginApiBaseTest, BulkChangesAndEditorOpening) {
  RecordingPlugin plugin;
  plugin.OnAllParamsChanged(ParamSource::Reset);
  EXPECT_EQ(plugin.calls,
            (std::vector<std::string>{"change 0 Reset -1", "editor 0 Reset", "change 1 Reset -1",
                                      "editor 1 Reset", "change 2 Reset -1", "editor 2 Reset"}));

  // Without a graphics context the window opens nothing but still sends every value.
  EXPECT_EQ(plugin.OpenWindow(nullptr), nullptr);
  ASSERT_EQ(plugin.toUI.size(), 3u);
  EXPECT_TRUE(plugin.lastToUINormalized);
  EXPECT_DOUBLE_EQ(plugin.toUI[0].value, 0.25);
  EXPECT_EQ(plugin.toUI[1].value, 1);
  plugin.OnStateRestored();
  EXPECT_EQ(plugin.toUI.size(), 6u);

  plugin.calls.clear();
  plugin.CloseWindow();
  EXPECT_EQ(plugin.calls, (std::vector<std::string>{"closing"}));
}

TEST(PluginApiBaseTest, InstanceTimerTicksUntilDestruction) {
  FakeTimerHost host;
  {
    RecordingPlugin plugin;
    plugin.StartInstanceTimer(host);
    EXPECT_TRUE(host.registered);
    EXPECT_EQ(host.period, 20u);
    plugin.QueueParamForEditor(2, 1, false);
    PlatformTimer::OnPlatformTick(host, 7);
    EXPECT_EQ(plugin.idles, 1);
    EXPECT_EQ(plugin.toUI.size(), 1u);
  }
  EXPECT_FALSE(host.registered);
  PlatformTimer::OnPlatformTick(host, 7);  // the instance is gone: ignored
}

TEST(GraphicsEditorDelegateTest, EditorStateWithoutGraphicsUsesRememberedValues) {
  RecordingPlugin plugin;
  ByteChunk chunk;
  chunk.Put(int32_t{1580});
  chunk.Put(int32_t{700});
  chunk.Put(2.0f);
  EXPECT_EQ(plugin.RestoreEditorState(chunk, 0), 12);
  EXPECT_EQ(plugin.RememberedWidth(), 1580);
  EXPECT_EQ(plugin.RememberedDrawScale(), 2.0f);
  ByteChunk saved;
  EXPECT_TRUE(plugin.SaveEditorState(saved));
  ASSERT_EQ(saved.Size(), 12);
  EXPECT_EQ(std::memcmp(saved.Data(), chunk.Data(), 12), 0);

  ByteChunk shortChunk;
  shortChunk.Put(int32_t{400});
  shortChunk.Put(int32_t{300});
  EXPECT_EQ(plugin.RestoreEditorState(shortChunk, 0), -1);
  EXPECT_EQ(plugin.RememberedWidth(), 400);
  EXPECT_EQ(plugin.RememberedHeight(), 300);
  EXPECT_EQ(plugin.RememberedDrawScale(), 0.0f);
  EXPECT_EQ(plugin.GetGraphics(), nullptr);
}

}  // namespace
}  // namespace plugkit
