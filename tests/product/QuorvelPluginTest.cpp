// The instance's dealings with its host that only the plug-in side can start: editor edits,
// editor MIDI, latency and tail changes.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "product/Quorvel.h"
#include "tests/HostLibraryNames.h"
#include "tests/ParamIds.h"
#include "tests/product/InProcessFactory.h"
#include "tools/clap-host/Host.h"
#include "tools/clap-host/PluginInstance.h"

namespace quorvelTest {
namespace {

class ClapPluginTest : public testing::Test {
 protected:
  void Create(HostConfig config = {}) {
    host = std::make_unique<Host>(config);
    std::string error;
    instance = clapHost::PluginInstance::Create(testSupport::kQuorvelFactory, *host,
                                                testSupport::kQuorvelTestId, error);
    ASSERT_TRUE(instance) << error;
    plugin = plugkit::ClapPlugin::FromClap(instance->Plugin());
  }

  std::unique_ptr<Host> host;
  std::unique_ptr<clapHost::PluginInstance> instance;
  plugkit::ClapPlugin* plugin = nullptr;
  InputEventList in;
  OutputEventList out;
};

TEST_F(ClapPluginTest, EditorEditsReachTheHostThroughFlushInGestureOrder) {
  Create();
  plugin->BeginParamEditFromUI(kLfo1Shape);
  plugin->SendParamValueFromUI(kLfo1Shape, 0.5);
  plugin->EndParamEditFromUI(kLfo1Shape);
  plugin->SendParamValueFromUI(kLfo1Rate, 0.5);
  EXPECT_EQ(plugin->ParamAt(kLfo1Shape)->GetPlain(), 2.0);
  EXPECT_EQ(host->RequestFlushCount(), 4) << "one request per notification";

  ASSERT_TRUE(instance->Flush(in, out));
  ASSERT_EQ(out.Size(), 4u);
  EXPECT_EQ(out.Header(0).type, CLAP_EVENT_PARAM_GESTURE_BEGIN);
  EXPECT_EQ(out.Header(0).size, sizeof(clap_event_param_gesture));
  EXPECT_EQ(out.As<clap_event_param_gesture>(0).param_id, uint32_t{kLfo1Shape});
  const auto value = out.As<clap_event_param_value>(1);
  EXPECT_EQ(value.header.type, CLAP_EVENT_PARAM_VALUE);
  EXPECT_EQ(value.header.size, sizeof(clap_event_param_value));
  EXPECT_EQ(value.value, 2.0) << "plain for an Enum";
  EXPECT_EQ(value.note_id, -1);
  EXPECT_EQ(value.port_index, -1);
  EXPECT_EQ(value.channel, -1);
  EXPECT_EQ(value.key, -1);
  EXPECT_EQ(out.Header(2).type, CLAP_EVENT_PARAM_GESTURE_END);
  EXPECT_EQ(out.As<clap_event_param_value>(3).value, 0.5) << "normalized for a Double";

  out.Clear();
  instance->Flush(in, out);
  EXPECT_EQ(out.Size(), 0u) << "each entry leaves once";
}

TEST_F(ClapPluginTest, WithoutThreadCheckFlushRequestsWaitForTheMainThreadCallback) {
  HostConfig config;
  config.threadCheck = Offer::Absent;
  Create(config);
  plugin->SendParamValueFromUI(kLfo1Rate, 0.25);
  plugin->SendParamValueFromUI(kLfo1Rate, 0.75);
  EXPECT_EQ(host->RequestFlushCount(), 0);
  EXPECT_TRUE(host->PumpMainThread());
  EXPECT_EQ(host->RequestFlushCount(), 2);

  // While processing the next process call carries the values; nothing is requested.
  ASSERT_TRUE(instance->Activate(48000, 1, 64));
  ASSERT_TRUE(instance->StartProcessing());
  plugin->SendParamValueFromUI(kLfo1Rate, 1.0);
  EXPECT_FALSE(host->CallbackRequested());
  AudioBlock audio({2}, {2}, 64, SampleSize::Float32);
  instance->Process(audio, in, out);
  ASSERT_EQ(out.Size(), 3u);
  EXPECT_EQ(out.As<clap_event_param_value>(2).value, 1.0);
  EXPECT_EQ(host->RequestFlushCount(), 2);
}

TEST_F(ClapPluginTest, ParamToHostQueueDropsWhatExceedsItsCapacity) {
  Create();
  for (int i = 0; i < 600; ++i) plugin->SendParamValueFromUI(kLfo1Rate, (i % 100) / 100.0);
  instance->Flush(in, out);
  EXPECT_EQ(out.Size(), 512u);
  out.Clear();
  instance->Flush(in, out);
  EXPECT_EQ(out.Size(), 0u);
}

TEST_F(ClapPluginTest, EditorMidiAndSysExLeaveWithTheNextBlock) {
  Create();
  ASSERT_TRUE(instance->Activate(48000, 1, 64));
  ASSERT_TRUE(instance->StartProcessing());
  ASSERT_TRUE(plugin->SendMidiFromUI({3, 0x91, 64, 100}));
  const uint8_t bytes[] = {0xF0, 0x01, 0x02, 0xF7};
  ASSERT_TRUE(plugin->SendSysExFromUI({1, 4, bytes}));
  AudioBlock audio({2}, {2}, 64, SampleSize::Float64);
  instance->Process(audio, in, out);
  ASSERT_EQ(out.Size(), 2u);
  EXPECT_EQ(out.Header(0).type, CLAP_EVENT_MIDI_SYSEX);
  EXPECT_EQ(out.Header(0).time, 1u);
  EXPECT_EQ(out.SysexBytes(0), std::vector<uint8_t>(bytes, bytes + 4));
  const auto note = out.As<clap_event_note>(1);
  EXPECT_EQ(note.header.type, CLAP_EVENT_NOTE_ON);
  EXPECT_EQ(note.channel, 1);
  EXPECT_EQ(note.key, 64);
  EXPECT_DOUBLE_EQ(note.velocity, 100.0 / 127.0);
}

TEST_F(ClapPluginTest, LatencyChangesAskForOneRestartAndApplyAtActivate) {
  Create();
  const auto* latency = instance->GetExtension<clap_plugin_latency>(CLAP_EXT_LATENCY);
  ASSERT_NE(latency, nullptr);
  plugin->SetLatencySamples(32);
  EXPECT_EQ(host->RequestRestartCount(), 0) << "inactive: the change waits for activate";
  ASSERT_TRUE(instance->Activate(48000, 1, 64));
  EXPECT_EQ(latency->get(instance->Plugin()), 32u);
  EXPECT_EQ(host->LatencyChangedCount(), 1);

  plugin->SetLatencySamples(64);
  plugin->SetLatencySamples(64);
  plugin->SetLatencySamples(80);
  EXPECT_EQ(host->RequestRestartCount(), 1);
  EXPECT_EQ(latency->get(instance->Plugin()), 32u) << "only a restart applies it";
  instance->Deactivate();
  ASSERT_TRUE(instance->Activate(48000, 1, 64));
  EXPECT_EQ(latency->get(instance->Plugin()), 80u);
  EXPECT_EQ(host->LatencyChangedCount(), 2);

  plugin->SetLatencySamples(80);
  plugin->SetLatencySamples(96);
  plugin->SetLatencySamples(80);
  EXPECT_EQ(host->RequestRestartCount(), 2) << "a new change after activate asks again";
  instance->Deactivate();
  ASSERT_TRUE(instance->Activate(48000, 1, 64));
  EXPECT_EQ(host->LatencyChangedCount(), 2) << "back where it was: nothing changed";
}

TEST_F(ClapPluginTest, TailChangesAreAnnouncedOnceFromTheAudioThread) {
  Create();
  ASSERT_TRUE(instance->Activate(48000, 1, 64));
  ASSERT_TRUE(instance->StartProcessing());
  plugin->SetTailSamples(1000);
  AudioBlock audio({2}, {2}, 64, SampleSize::Float32);
  EXPECT_EQ(instance->Process(audio, in, out), CLAP_PROCESS_TAIL);
  EXPECT_EQ(instance->Process(audio, in, out), CLAP_PROCESS_TAIL);
  EXPECT_EQ(host->TailChangedCount(), 1);
  const auto* tail = instance->GetExtension<clap_plugin_tail>(CLAP_EXT_TAIL);
  EXPECT_EQ(tail->get(instance->Plugin()), 1000u);
  plugin->SetTailSamples(plugkit::PluginProcessor::kInfiniteTail);
  EXPECT_EQ(tail->get(instance->Plugin()), UINT32_MAX);
}

TEST_F(ClapPluginTest, WithoutHostTailSilentInputSleepsAfterTheTail) {
  HostConfig config;
  config.tail = Offer::Absent;
  Create(config);
  ASSERT_TRUE(instance->Activate(48000, 1, 64));
  plugin->SetTailSamples(100);
  ASSERT_TRUE(instance->StartProcessing());
  AudioBlock audio({2}, {2}, 64, SampleSize::Float64);
  audio.FillInput(0, 0, -0.0);
  EXPECT_EQ(instance->Process(audio, in, out), CLAP_PROCESS_CONTINUE);
  EXPECT_EQ(instance->Process(audio, in, out), CLAP_PROCESS_SLEEP) << "128 silent samples";
  audio.SetInput(0, 1, 63, std::nan(""));
  EXPECT_EQ(instance->Process(audio, in, out), CLAP_PROCESS_CONTINUE) << "NaN is not silence";
  audio.SetInput(0, 1, 63, 0.0);
  EXPECT_EQ(instance->Process(audio, in, out), CLAP_PROCESS_CONTINUE);
  EXPECT_EQ(instance->Process(audio, in, out), CLAP_PROCESS_SLEEP);
  plugin->SetTailSamples(plugkit::PluginProcessor::kInfiniteTail);
  EXPECT_EQ(instance->Process(audio, in, out), CLAP_PROCESS_CONTINUE);
  plugin->SetTailSamples(0);
  EXPECT_EQ(instance->Process(audio, in, out), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
  EXPECT_EQ(host->TailChangedCount(), 0);
}

}  // namespace
}  // namespace quorvelTest
