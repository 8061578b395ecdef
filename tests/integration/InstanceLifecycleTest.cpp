// The instance as a host sees it: init, the extensions it looks up and offers, its ports,
// timers, logging and every order of lifecycle calls real hosts use.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#include "tests/integration/QuorvelHarness.h"

namespace quorvelTest {
namespace {

bool Contains(const std::vector<std::string>& list, const std::string& text) {
  return std::find(list.begin(), list.end(), text) != list.end();
}

struct PortView {
  std::string name;
  uint32_t channels;
  std::string type;
  bool main;
};

std::vector<PortView> Ports(const clapHost::PluginInstance& instance, bool isInput) {
  const auto& ports = RequireExtension<clap_plugin_audio_ports>(instance, CLAP_EXT_AUDIO_PORTS);
  std::vector<PortView> result;
  const uint32_t count = ports.count(instance.Plugin(), isInput);
  for (uint32_t i = 0; i < count; ++i) {
    clap_audio_port_info info{};
    EXPECT_TRUE(ports.get(instance.Plugin(), i, isInput, &info));
    EXPECT_EQ(info.id, i);
    EXPECT_EQ(info.in_place_pair, CLAP_INVALID_ID);
    EXPECT_EQ(info.flags & 14u, 14u) << "64-bit and common sample size flags";
    result.push_back({info.name, info.channel_count, info.port_type ? info.port_type : "(null)",
                      (info.flags & CLAP_AUDIO_PORT_IS_MAIN) != 0});
  }
  return result;
}

TEST_F(QuorvelTest, InitLooksUpHostExtensionsAndStartsTheTwentyMillisecondTimer) {
  Host host;
  auto instance = Create(host);
  ASSERT_TRUE(instance);
  const auto queried = host.QueriedExtensions();
  for (const char* id : {"clap.log", "clap.thread-check", "clap.latency", "clap.tail", "clap.gui",
                         "clap.params", "clap.track-info/1", "clap.track-info.draft/1",
                         "clap.preset-load/2", "clap.timer-support"}) {
    EXPECT_TRUE(Contains(queried, id)) << id;
  }
  EXPECT_FALSE(Contains(queried, "clap.preset-load.draft/2")) << "the final id was answered";

  const auto timers = host.Timers();
  if (kPluginUsesHostTimers) {
    ASSERT_EQ(timers.size(), 1u);
    EXPECT_EQ(timers[0].periodMs, 20u);
  } else {
    EXPECT_TRUE(timers.empty()) << "the plug-in times itself";
  }
  RunPluginTimers(host);
  EXPECT_TRUE(host.ThreadViolations().empty());
  EXPECT_TRUE(host.Log().empty());

  instance->Destroy();
  EXPECT_TRUE(host.Timers().empty()) << "destroy unregisters the timer";
}

TEST_F(QuorvelTest, ExtensionTableAnswersExactIdentifiersOnly) {
  Host host;
  auto instance = Create(host);
  ASSERT_TRUE(instance);
  const clap_plugin* plugin = instance->Plugin();
  for (const char* id : {"clap.params", "clap.state", "clap.preset-load/2",
                         "clap.preset-load.draft/2", "clap.audio-ports", "clap.audio-ports-config",
                         "clap.latency", "clap.tail", "clap.render"}) {
    EXPECT_NE(plugin->get_extension(plugin, id), nullptr) << id;
  }
  EXPECT_EQ(plugin->get_extension(plugin, "clap.timer-support") != nullptr, kPluginUsesHostTimers);
  for (const char* id :
       {"clap.note-ports", "clap.state-context/2", "clap.track-info/1",
        "clap.audio-ports-activation/2", "clap.remote-controls/2", "clap.params ", "clap.paramsx",
        "clap.param", "CLAP.PARAMS", "", "clap.thread-pool", "clap.voice-info"}) {
    EXPECT_EQ(plugin->get_extension(plugin, id), nullptr) << "'" << id << "'";
  }
  EXPECT_EQ(plugin->get_extension(plugin, nullptr), nullptr);
  EXPECT_EQ(plugin->get_extension(plugin, CLAP_EXT_PRESET_LOAD),
            plugin->get_extension(plugin, CLAP_EXT_PRESET_LOAD_COMPAT));
}

TEST_F(QuorvelTest, TrackChannelsChooseTheInitialLayout) {
  const auto expectLayout = [&](HostConfig config, uint32_t inChannels, uint32_t outChannels) {
    config.trackInfo = Offer::Complete;
    Host host(config);
    auto instance = Create(host);
    ASSERT_TRUE(instance);
    const auto inputs = Ports(*instance, true);
    const auto outputs = Ports(*instance, false);
    ASSERT_EQ(inputs.size(), 1u);
    ASSERT_EQ(outputs.size(), 1u);
    EXPECT_EQ(inputs[0].name, "Input");
    EXPECT_EQ(outputs[0].name, "Output");
    EXPECT_EQ(inputs[0].channels, inChannels);
    EXPECT_EQ(outputs[0].channels, outChannels);
    EXPECT_EQ(inputs[0].type, inChannels == 1 ? "mono" : "stereo");
    EXPECT_TRUE(inputs[0].main);
  };
  HostConfig mono;
  mono.trackChannelCount = 1;
  expectLayout(mono, 1, 1);
  HostConfig surround;
  surround.trackChannelCount = 6;
  expectLayout(surround, 2, 2);
  HostConfig draftOnly;
  draftOnly.trackChannelCount = 1;
  draftOnly.trackInfoDraftOnly = true;
  expectLayout(draftOnly, 1, 1);
  HostConfig negative;
  negative.trackChannelCount = -3;
  expectLayout(negative, 2, 2);
}

TEST_F(QuorvelTest, PortConfigurationsDescribeEveryLayoutAndSelectSwitchesPorts) {
  Host host;
  auto instance = Create(host);
  ASSERT_TRUE(instance);
  const clap_plugin* plugin = instance->Plugin();
  const auto& configs =
      RequireExtension<clap_plugin_audio_ports_config>(*instance, CLAP_EXT_AUDIO_PORTS_CONFIG);
  ASSERT_EQ(configs.count(plugin), 5u);
  const char* const names[] = {"1-1", "2-1", "2-2", "2.1-2", "2.2-2"};
  for (uint32_t i = 0; i < 5; ++i) {
    clap_audio_ports_config config{};
    ASSERT_TRUE(configs.get(plugin, i, &config));
    EXPECT_EQ(config.id, i);
    EXPECT_STREQ(config.name, names[i]);
    EXPECT_TRUE(config.has_main_input);
    EXPECT_TRUE(config.has_main_output);
  }
  clap_audio_ports_config last{};
  ASSERT_TRUE(configs.get(plugin, 4, &last));
  EXPECT_EQ(last.input_port_count, 2u);
  EXPECT_EQ(last.output_port_count, 1u);
  EXPECT_EQ(last.main_input_channel_count, 2u);
  EXPECT_STREQ(last.main_input_port_type, "stereo");
  clap_audio_ports_config second{};
  ASSERT_TRUE(configs.get(plugin, 1, &second));
  EXPECT_EQ(second.main_output_channel_count, 1u);
  EXPECT_STREQ(second.main_output_port_type, "mono");
  EXPECT_FALSE(configs.get(plugin, 5, &last));
  EXPECT_FALSE(configs.get(plugin, 0, nullptr));

  ASSERT_TRUE(configs.select(plugin, 3));
  auto inputs = Ports(*instance, true);
  ASSERT_EQ(inputs.size(), 2u);
  EXPECT_EQ(inputs[0].name, "Main");
  EXPECT_TRUE(inputs[0].main);
  EXPECT_EQ(inputs[1].name, "Aux");
  EXPECT_EQ(inputs[1].channels, 1u);
  EXPECT_EQ(inputs[1].type, "mono");
  EXPECT_FALSE(inputs[1].main);
  const auto& ports = RequireExtension<clap_plugin_audio_ports>(*instance, CLAP_EXT_AUDIO_PORTS);
  clap_audio_port_info info{};
  EXPECT_FALSE(ports.get(plugin, 2, true, &info));
  EXPECT_FALSE(ports.get(plugin, 0, true, nullptr));

  EXPECT_FALSE(configs.select(plugin, 5));
  EXPECT_EQ(Ports(*instance, true).size(), 2u) << "a refused select keeps the layout";

  ASSERT_TRUE(instance->Activate(48000, 1, 256));
  EXPECT_FALSE(configs.select(plugin, 0)) << "ports never change under an active instance";
  EXPECT_EQ(Ports(*instance, true).size(), 2u);
}

TEST_F(QuorvelTest, LatencyTailAndRenderMode) {
  Host host;
  auto instance = Create(host);
  ASSERT_TRUE(instance);
  const clap_plugin* plugin = instance->Plugin();
  EXPECT_EQ(RequireExtension<clap_plugin_latency>(*instance, CLAP_EXT_LATENCY).get(plugin), 0u);
  const uint32_t tail = RequireExtension<clap_plugin_tail>(*instance, CLAP_EXT_TAIL).get(plugin);
  EXPECT_GT(tail, 0u) << "the phaser and the chorus ring on";
  EXPECT_LT(tail, 48000u);

  const auto& render = RequireExtension<clap_plugin_render>(*instance, CLAP_EXT_RENDER);
  EXPECT_FALSE(render.has_hard_realtime_requirement(plugin));
  EXPECT_TRUE(render.set(plugin, CLAP_RENDER_OFFLINE));
  EXPECT_TRUE(render.set(plugin, CLAP_RENDER_REALTIME));
  EXPECT_TRUE(host.Log().empty());
  EXPECT_FALSE(render.set(plugin, 2));
  EXPECT_FALSE(render.set(plugin, -7));
  const auto log = host.Log();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].severity, CLAP_LOG_HOST_MISBEHAVING);
  EXPECT_EQ(log[0].message, "host called clap_plugin_render.set_mode with an unknown mode : 2");
  EXPECT_EQ(log[1].message, "host called clap_plugin_render.set_mode with an unknown mode : -7");
}

TEST_F(QuorvelTest, IncompleteHostExtensionsAreReportedEachTimeAndSkipped) {
  HostConfig config;
  config.params = Offer::Incomplete;
  config.tail = Offer::Incomplete;
  config.trackInfo = Offer::Incomplete;
  config.presetLoad = Offer::Incomplete;
  config.latency = Offer::Incomplete;
  Host host(config);
  auto instance = Create(host);
  ASSERT_TRUE(instance);
  EXPECT_TRUE(Contains(LogMessages(host), "clap_host_track_info is partially implemented"));
  EXPECT_EQ(Ports(*instance, true)[0].channels, 2u) << "without track info a stereo layout";

  ASSERT_TRUE(instance->Activate(44100, 1, 64));
  EXPECT_TRUE(Contains(LogMessages(host), "clap_host_tail is partially implemented"));

  // The tail status depends on the host's tail extension: incomplete counts as absent.
  AudioBlock audio({2}, {2}, 64, SampleSize::Float32);
  InputEventList in;
  OutputEventList out;
  instance->StartProcessing();
  EXPECT_EQ(instance->Process(audio, in, out), CLAP_PROCESS_CONTINUE);
  instance->StopProcessing();

  const auto state = instance->SaveState();
  ASSERT_TRUE(state);
  ASSERT_TRUE(instance->LoadState(*state));
  EXPECT_TRUE(host.RescanFlags().empty());
  EXPECT_TRUE(Contains(LogMessages(host), "clap_host_params is partially implemented"));

  const auto& presets = RequireExtension<clap_plugin_preset_load>(*instance, CLAP_EXT_PRESET_LOAD);
  EXPECT_TRUE(presets.from_location(instance->Plugin(), CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN,
                                    nullptr, "1"));
  EXPECT_TRUE(host.PresetsLoaded().empty());
  EXPECT_TRUE(Contains(LogMessages(host), "clap_host_preset_load is partially implemented"));
  for (const clapHost::LogEntry& entry : host.Log()) {
    EXPECT_EQ(entry.severity, CLAP_LOG_HOST_MISBEHAVING) << entry.message;
  }
}

TEST_F(QuorvelTest, CompleteTailExtensionMakesProcessReportTail) {
  Host host;
  auto instance = Create(host);
  ASSERT_TRUE(instance);
  ASSERT_TRUE(instance->Activate(48000, 1, 32));
  AudioBlock audio({2}, {2}, 32, SampleSize::Float64);
  InputEventList in;
  OutputEventList out;
  instance->StartProcessing();
  EXPECT_EQ(instance->Process(audio, in, out), CLAP_PROCESS_TAIL);
}

TEST_F(QuorvelTest, WithoutHostLogMessagesGoToTheStandardStreams) {
  HostConfig config;
  config.log = Offer::Absent;
  config.tail = Offer::Incomplete;
  Host host(config);
  auto instance = Create(host);
  ASSERT_TRUE(instance);
  testing::internal::CaptureStderr();
  testing::internal::CaptureStdout();
  ASSERT_TRUE(instance->Activate(48000, 1, 32));
  const auto& render = RequireExtension<clap_plugin_render>(*instance, CLAP_EXT_RENDER);
  EXPECT_FALSE(render.set(instance->Plugin(), 9));
  const std::string out = testing::internal::GetCapturedStdout();
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(out, "");
  EXPECT_EQ(err,
            "clap_host_tail is partially implemented\n"
            "host called clap_plugin_render.set_mode with an unknown mode : 9\n");
}

TEST_F(QuorvelTest, HostWithoutAnyExtensionIsServedThroughTheWholeLifecycle) {
  HostConfig config;
  config.hasGetExtension = false;
  Host host(config);
  auto instance = Create(host);
  ASSERT_TRUE(instance);
  EXPECT_TRUE(host.Timers().empty());

  // The instance timer falls back to request_callback at its interval.
  if (kPluginUsesHostTimers) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!host.CallbackRequested() && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(host.PumpMainThread());
  }

  ASSERT_TRUE(instance->Activate(48000, 1, 128));
  ASSERT_TRUE(instance->StartProcessing());
  AudioBlock audio({2}, {2}, 128, SampleSize::Float32);
  audio.FillInput(0, 0, 0.5);
  InputEventList in;
  in.Add(clapHost::MakeParamValue(0, kInputTrim, 0.7));
  OutputEventList out;
  EXPECT_EQ(instance->Process(audio, in, out), CLAP_PROCESS_CONTINUE);
  const auto state = instance->SaveState();
  ASSERT_TRUE(state);
  EXPECT_TRUE(instance->LoadState(*state));
  const auto& presets = RequireExtension<clap_plugin_preset_load>(*instance, CLAP_EXT_PRESET_LOAD);
  EXPECT_TRUE(presets.from_location(instance->Plugin(), 1, nullptr, "2"));
  EXPECT_FALSE(presets.from_location(instance->Plugin(), 1, nullptr, "99"));
  // Qtractor's way: deactivate straight from processing, then destroy.
  instance->Deactivate();
  instance->Destroy();
}

TEST_F(QuorvelTest, IncompleteTimerSupportGetsTheCallbackFallback) {
  if (!kPluginUsesHostTimers) GTEST_SKIP() << "the plug-in times itself";
  HostConfig config;
  config.timerSupport = Offer::Incomplete;
  Host host(config);
  auto instance = Create(host);
  ASSERT_TRUE(instance);
  EXPECT_TRUE(host.Timers().empty()) << "a timer the host could not unregister is not started";
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  int ticks = 0;
  while (ticks < 3 && std::chrono::steady_clock::now() < deadline) {
    if (host.PumpMainThread()) ++ticks;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  EXPECT_EQ(ticks, 3) << "the helper thread keeps asking at the interval";
  instance->Destroy();
  host.PumpMainThread();
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  EXPECT_FALSE(host.CallbackRequested()) << "destroy stops the helper thread";
}

TEST_F(QuorvelTest, ResetAndReactivationKeepProcessing) {
  HostConfig config;
  config.tail = Offer::Absent;
  Host host(config);
  auto instance = Create(host);
  ASSERT_TRUE(instance);
  InputEventList in;
  OutputEventList out;
  for (const double rate : {44100.0, 96000.0, 8000.0}) {
    ASSERT_TRUE(instance->Activate(rate, 1, 256));
    ASSERT_TRUE(instance->StartProcessing());
    AudioBlock audio({2}, {2}, 256, SampleSize::Float64);
    audio.FillInput(0, 0, 0.25);
    audio.FillInput(0, 1, -0.25);
    EXPECT_EQ(instance->Process(audio, in, out), CLAP_PROCESS_CONTINUE);
    instance->Reset();
    EXPECT_EQ(instance->Process(audio, in, out), CLAP_PROCESS_CONTINUE);
    // No stop_processing: a host may deactivate a processing instance.
    instance->Deactivate();
  }
  EXPECT_FALSE(instance->Activate(0.0, 1, 256)) << "a zero sample rate cannot be served";
  EXPECT_FALSE(instance->Activate(std::nan(""), 1, 256));
  ASSERT_TRUE(instance->Activate(48000, 1, 16));
  AudioBlock tooLong({2}, {2}, 17, SampleSize::Float64);
  EXPECT_EQ(instance->Process(tooLong, in, out), CLAP_PROCESS_ERROR)
      << "more frames than announced at activate";
  EXPECT_TRUE(host.ThreadViolations().empty());
}

}  // namespace
}  // namespace quorvelTest
