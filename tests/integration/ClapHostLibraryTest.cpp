// The test host itself, driven by a small in-process plug-in, so that failures in other tests
// point at the module and not at the host.

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "host/clap/Clap.h"
#include "tools/clap-host/AudioBlock.h"
#include "tools/clap-host/EventLists.h"
#include "tools/clap-host/Host.h"
#include "tools/clap-host/MemoryStreams.h"
#include "tools/clap-host/PluginInstance.h"
#include "tools/clap-host/PluginModule.h"
#include "tools/clap-host/PresetDiscovery.h"

namespace {

using namespace clapHost;

// Echoes events and doubles audio; records what it saw of the host.
struct EchoPlugin {
  clap_plugin plugin{};
  const clap_host* host = nullptr;
  std::vector<std::string>* calls = nullptr;
  clap_id timers[2] = {CLAP_INVALID_ID, CLAP_INVALID_ID};
  int timerFires = 0;
  int mainThreadCalls = 0;
  bool audioThreadInProcess = false;
  bool mainThreadInProcess = true;
  std::vector<uint8_t> loaded;

  static EchoPlugin& From(const clap_plugin* plugin) {
    return *static_cast<EchoPlugin*>(plugin->plugin_data);
  }
  template <class T>
  const T* HostExtension(const char* id) const {
    return static_cast<const T*>(host->get_extension(host, id));
  }
};

const clap_host_timer_support* TimerSupport(const EchoPlugin& echo) {
  return echo.HostExtension<clap_host_timer_support>(CLAP_EXT_TIMER_SUPPORT);
}

void EchoEvents(const clap_input_events* in, const clap_output_events* out) {
  for (uint32_t i = 0; i < in->size(in); ++i) {
    if (const clap_event_header* event = in->get(in, i)) out->try_push(out, event);
  }
}

bool SaveState(const clap_plugin*, const clap_ostream* stream) {
  const uint8_t bytes[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  for (size_t done = 0; done < sizeof bytes;) {
    const int64_t written = stream->write(stream, bytes + done, sizeof bytes - done);
    if (written <= 0 || static_cast<size_t>(written) > sizeof bytes - done) return false;
    done += static_cast<size_t>(written);
  }
  return true;
}

bool LoadState(const clap_plugin* plugin, const clap_istream* stream) {
  EchoPlugin& echo = EchoPlugin::From(plugin);
  echo.loaded.clear();
  uint8_t piece[64];
  int64_t read;
  while ((read = stream->read(stream, piece, sizeof piece)) > 0) {
    echo.loaded.insert(echo.loaded.end(), piece, piece + read);
  }
  return read == 0;
}

void OnTimer(const clap_plugin* plugin, clap_id id) {
  EchoPlugin& echo = EchoPlugin::From(plugin);
  ++echo.timerFires;
  // The first timer removes the second, which must then stay silent.
  if (id == echo.timers[0] && echo.timers[1] != CLAP_INVALID_ID) {
    TimerSupport(echo)->unregister_timer(echo.host, echo.timers[1]);
    echo.timers[1] = CLAP_INVALID_ID;
  }
}

const clap_plugin_state kState{SaveState, LoadState};
const clap_plugin_timer_support kTimers{OnTimer};
const clap_plugin_params kParams{nullptr,
                                 nullptr,
                                 nullptr,
                                 nullptr,
                                 nullptr,
                                 [](const clap_plugin*, const clap_input_events* in,
                                    const clap_output_events* out) { EchoEvents(in, out); }};

clap_process_status Process(const clap_plugin* plugin, const clap_process* process) {
  EchoPlugin& echo = EchoPlugin::From(plugin);
  const auto* threads = echo.HostExtension<clap_host_thread_check>(CLAP_EXT_THREAD_CHECK);
  echo.audioThreadInProcess = threads->is_audio_thread(echo.host);
  echo.mainThreadInProcess = threads->is_main_thread(echo.host);
  EchoEvents(process->in_events, process->out_events);
  const clap_audio_buffer& in = process->audio_inputs[0];
  clap_audio_buffer& out = process->audio_outputs[0];
  for (uint32_t channel = 0; channel < out.channel_count; ++channel) {
    for (uint32_t frame = 0; frame < process->frames_count; ++frame) {
      if (in.data64) {
        out.data64[channel][frame] = 2 * in.data64[channel][frame];
      } else {
        out.data32[channel][frame] = 2 * in.data32[channel][frame];
      }
    }
  }
  echo.host->request_callback(echo.host);
  return CLAP_PROCESS_CONTINUE;
}

void Record(const clap_plugin* plugin, const char* call) {
  EchoPlugin::From(plugin).calls->push_back(call);
}

EchoPlugin* MakeEchoPlugin(const clap_host* host, std::vector<std::string>* calls) {
  auto* echo = new EchoPlugin;
  echo->host = host;
  echo->calls = calls;
  clap_plugin& p = echo->plugin;
  p.plugin_data = echo;
  p.init = [](const clap_plugin* plugin) {
    EchoPlugin& self = EchoPlugin::From(plugin);
    const auto* timers = TimerSupport(self);
    return timers->register_timer(self.host, 20, &self.timers[0]) &&
           timers->register_timer(self.host, 50, &self.timers[1]);
  };
  p.destroy = [](const clap_plugin* plugin) {
    Record(plugin, "destroy");
    delete &EchoPlugin::From(plugin);
  };
  p.activate = [](const clap_plugin* plugin, double, uint32_t, uint32_t) {
    Record(plugin, "activate");
    return true;
  };
  p.deactivate = [](const clap_plugin* plugin) { Record(plugin, "deactivate"); };
  p.start_processing = [](const clap_plugin* plugin) {
    Record(plugin, "start_processing");
    return true;
  };
  p.stop_processing = [](const clap_plugin* plugin) { Record(plugin, "stop_processing"); };
  p.reset = [](const clap_plugin*) {};
  p.process = Process;
  p.get_extension = [](const clap_plugin*, const char* id) -> const void* {
    if (std::strcmp(id, CLAP_EXT_STATE) == 0) return &kState;
    if (std::strcmp(id, CLAP_EXT_TIMER_SUPPORT) == 0) return &kTimers;
    if (std::strcmp(id, CLAP_EXT_PARAMS) == 0) return &kParams;
    return nullptr;
  };
  p.on_main_thread = [](const clap_plugin* plugin) { ++EchoPlugin::From(plugin).mainThreadCalls; };
  return echo;
}

std::vector<std::string>* gCalls = nullptr;

const clap_plugin_factory kEchoFactory{
    [](const clap_plugin_factory*) -> uint32_t { return 1; },
    [](const clap_plugin_factory*, uint32_t) -> const clap_plugin_descriptor* { return nullptr; },
    [](const clap_plugin_factory*, const clap_host* host, const char*) -> const clap_plugin* {
      return &MakeEchoPlugin(host, gCalls)->plugin;
    }};

class ClapHostLibrary : public testing::Test {
 protected:
  void SetUp() override { gCalls = &calls_; }
  void TearDown() override { gCalls = nullptr; }

  std::unique_ptr<PluginInstance> Create(Host& host) {
    std::string error;
    auto instance = PluginInstance::Create(kEchoFactory, host, "echo", error);
    EXPECT_TRUE(instance) << error;
    return instance;
  }
  static EchoPlugin& Echo(const PluginInstance& instance) {
    return EchoPlugin::From(instance.Plugin());
  }

  std::vector<std::string> calls_;
};

TEST_F(ClapHostLibrary, DrivesTheLifecycleOnTheRightThreads) {
  Host host;
  {
    auto instance = Create(host);
    ASSERT_TRUE(instance);
    ASSERT_TRUE(instance->Activate(48000, 1, 64));
    ASSERT_TRUE(instance->StartProcessing());

    for (const SampleSize size : {SampleSize::Float32, SampleSize::Float64}) {
      AudioBlock audio({2}, {2}, 16, size);
      audio.SetFrames(8);
      audio.FillInput(0, 0, 0.25);
      audio.FillInput(0, 1, -0.5);
      audio.FillOutputs(7.0);
      InputEventList in;
      OutputEventList out;
      EXPECT_EQ(instance->Process(audio, in, out), CLAP_PROCESS_CONTINUE);
      EXPECT_EQ(audio.Output(0, 0, 7), 0.5);
      EXPECT_EQ(audio.Output(0, 1, 0), -1.0);
      EXPECT_EQ(audio.Output(0, 0, 8), 7.0) << "frames beyond the block were written";
    }
    EXPECT_TRUE(Echo(*instance).audioThreadInProcess);
    EXPECT_FALSE(Echo(*instance).mainThreadInProcess);
    EXPECT_TRUE(host.IsMainThread());

    EXPECT_TRUE(host.PumpMainThread());
    EXPECT_FALSE(host.PumpMainThread());
    EXPECT_EQ(Echo(*instance).mainThreadCalls, 1);
  }
  const std::vector<std::string> expected{"activate", "start_processing", "stop_processing",
                                          "deactivate", "destroy"};
  EXPECT_EQ(calls_, expected);
  EXPECT_TRUE(host.ThreadViolations().empty());
}

TEST_F(ClapHostLibrary, TimersFireWhenDueAndNeverAfterUnregistering) {
  Host host;
  auto instance = Create(host);
  ASSERT_TRUE(instance);
  ASSERT_EQ(host.Timers().size(), 2u);
  EXPECT_EQ(host.Timers()[0].periodMs, 20u);

  const auto now = std::chrono::steady_clock::now();
  EXPECT_EQ(host.PumpTimers(now - std::chrono::seconds(1)), 0);
  // Both are due, but the first one's callback removes the second.
  EXPECT_EQ(host.PumpTimers(now + std::chrono::milliseconds(60)), 2);
  EXPECT_EQ(Echo(*instance).timerFires, 1);
  EXPECT_EQ(host.Timers().size(), 1u);
  EXPECT_EQ(host.PumpTimers(now + std::chrono::milliseconds(70)), 0);
  EXPECT_EQ(host.FireAllTimers(), 1);
  EXPECT_EQ(Echo(*instance).timerFires, 2);
}

TEST_F(ClapHostLibrary, EventsTravelUnchangedIncludingMalformedOnes) {
  Host host;
  auto instance = Create(host);
  ASSERT_TRUE(instance);
  ASSERT_TRUE(instance->Activate(48000, 1, 64));
  ASSERT_TRUE(instance->StartProcessing());

  InputEventList in;
  in.Add(MakeParamValue(3, 17, 0.75));
  in.Add(MakeGesture(0, 4, true));
  in.Add(MakeNote(5, true, 2, 60, 0.5));
  in.Add(MakeMidi(6, 0xB0, 7, 100));
  in.AddSysex(7, {0xF0, 0x7D, 0x01, 0xF7});
  clap_event_param_value shortEvent = MakeParamValue(1, 2, 0.1);
  shortEvent.header.size = 40;
  shortEvent.header.space_id = 9;
  in.Add(shortEvent);
  in.AddNull();
  ASSERT_EQ(in.Size(), 7u);
  for (uint32_t i = 0; i + 1 < in.Size(); ++i) {
    const clap_event_header* event = in.Clap()->get(in.Clap(), i);
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(event) % 8, 0u);
  }
  EXPECT_EQ(in.Clap()->get(in.Clap(), 6), nullptr);
  EXPECT_EQ(in.Clap()->get(in.Clap(), 7), nullptr);

  AudioBlock audio({2}, {2}, 8, SampleSize::Float32);
  OutputEventList out;
  instance->Process(audio, in, out);
  ASSERT_EQ(out.Size(), 6u);
  EXPECT_EQ(out.As<clap_event_param_value>(0).value, 0.75);
  EXPECT_EQ(out.As<clap_event_param_value>(0).header.time, 3u);
  EXPECT_EQ(out.Header(1).type, CLAP_EVENT_PARAM_GESTURE_BEGIN);
  EXPECT_EQ(out.As<clap_event_note>(2).key, 60);
  EXPECT_EQ(out.As<clap_event_midi>(3).data[2], 100);
  EXPECT_EQ(out.SysexBytes(4), (std::vector<uint8_t>{0xF0, 0x7D, 0x01, 0xF7}));
  EXPECT_EQ(out.Header(5).size, 40u);
  EXPECT_EQ(out.Header(5).space_id, 9);
  EXPECT_EQ(out.As<clap_event_param_value>(5).value, 0.0) << "bytes beyond the size leaked";

  OutputEventList full(2);
  EXPECT_TRUE(instance->Flush(in, full));
  EXPECT_EQ(full.Size(), 2u);
  EXPECT_EQ(full.RefusedCount(), 4u);
}

TEST_F(ClapHostLibrary, StateTravelsInPiecesAndStreamsFailOnRequest) {
  Host host;
  auto instance = Create(host);
  ASSERT_TRUE(instance);
  const auto saved = instance->SaveState(3);
  ASSERT_TRUE(saved);
  EXPECT_EQ(*saved, (std::vector<uint8_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_TRUE(instance->LoadState(*saved, 4));
  EXPECT_EQ(Echo(*instance).loaded, *saved);

  MemoryOutputStream refusing(4);
  refusing.FailAfter(5, 0);
  EXPECT_FALSE(SaveState(instance->Plugin(), refusing.Clap()));
  EXPECT_EQ(refusing.Bytes().size(), 5u);
  MemoryOutputStream boasting;
  boasting.FailAfter(0, 1000);
  EXPECT_FALSE(SaveState(instance->Plugin(), boasting.Clap()));

  MemoryInputStream broken(std::vector<uint8_t>(100, 1), 30);
  broken.SetEndResult(-1);
  EXPECT_FALSE(LoadState(instance->Plugin(), broken.Clap()));
  EXPECT_EQ(broken.Position(), 100u);
  EXPECT_EQ(broken.ReadCalls(), 5u);
}

TEST(ClapHostExtensions, OfferedAsConfigured) {
  HostConfig config;
  config.params = Offer::Incomplete;
  config.latency = Offer::Absent;
  config.trackInfo = Offer::Complete;
  config.trackInfoDraftOnly = true;
  config.trackChannelCount = 6;
  config.presetLoadDraftOnly = true;
  Host host(config);
  const clap_host* clap = host.Clap();
  const auto extension = [clap](const char* id) { return clap->get_extension(clap, id); };

  const auto* params = static_cast<const clap_host_params*>(extension(CLAP_EXT_PARAMS));
  ASSERT_NE(params, nullptr);
  EXPECT_EQ(params->request_flush, nullptr);
  EXPECT_NE(params->rescan, nullptr);
  EXPECT_EQ(extension(CLAP_EXT_LATENCY), nullptr);
  EXPECT_EQ(extension(CLAP_EXT_TRACK_INFO), nullptr);
  EXPECT_EQ(extension(CLAP_EXT_PRESET_LOAD), nullptr);
  EXPECT_NE(extension(CLAP_EXT_PRESET_LOAD_COMPAT), nullptr);
  EXPECT_EQ(extension("clap.unknown"), nullptr);

  const auto* track =
      static_cast<const clap_host_track_info*>(extension(CLAP_EXT_TRACK_INFO_COMPAT));
  ASSERT_NE(track, nullptr);
  clap_track_info info{};
  ASSERT_TRUE(track->get(clap, &info));
  EXPECT_EQ(info.audio_channel_count, 6);
  EXPECT_EQ(host.QueriedExtensions().size(), 7u);

  const auto* log = static_cast<const clap_host_log*>(extension(CLAP_EXT_LOG));
  log->log(clap, CLAP_LOG_HOST_MISBEHAVING, "partial");
  ASSERT_EQ(host.Log().size(), 1u);
  EXPECT_EQ(host.Log()[0].message, "partial");

  // Host functions with a thread contract notice a plug-in that breaks it.
  {
    Host::AudioThreadScope audio(host);
    EXPECT_FALSE(host.IsMainThread());
    params->rescan(clap, CLAP_PARAM_RESCAN_VALUES);
  }
  EXPECT_EQ(host.ThreadViolations().size(), 1u);
  EXPECT_EQ(host.RescanFlags(), std::vector<uint32_t>{CLAP_PARAM_RESCAN_VALUES});

  HostConfig bare;
  bare.hasGetExtension = false;
  bare.version = clap_version{0, 1, 0};
  Host throwaway(bare);
  EXPECT_EQ(throwaway.Clap()->get_extension, nullptr);
  EXPECT_EQ(throwaway.Clap()->clap_version.major, 0u);
}

TEST(ClapHostModule, LoadReportsWhatIsWrong) {
  std::string error;
  EXPECT_FALSE(PluginModule::Load("/nonexistent/Nothing.clap", error));
  EXPECT_NE(error.find("cannot load"), std::string::npos) << error;
  // A system library: it loads, but is no CLAP module.
#if defined(_WIN32)
  EXPECT_FALSE(PluginModule::Load("kernel32.dll", error));
#else
  EXPECT_FALSE(PluginModule::Load("libm.so.6", error));
#endif
  EXPECT_NE(error.find("no clap_entry"), std::string::npos) << error;
}

// A provider with one plug-in location holding three presets.
struct ThreePresetProvider {
  static const clap_preset_discovery_provider* Create(const clap_preset_discovery_factory*,
                                                      const clap_preset_discovery_indexer* indexer,
                                                      const char* id) {
    static const clap_preset_discovery_provider_descriptor descriptor{CLAP_VERSION, "three",
                                                                      "Three", "Test"};
    if (std::strcmp(id, "three") != 0) return nullptr;
    auto* provider = new clap_preset_discovery_provider{};
    provider->desc = &descriptor;
    provider->provider_data = const_cast<clap_preset_discovery_indexer*>(indexer);
    provider->init = [](const clap_preset_discovery_provider* self) {
      const auto* indexer = static_cast<const clap_preset_discovery_indexer*>(self->provider_data);
      const clap_preset_discovery_location location{CLAP_PRESET_DISCOVERY_IS_FACTORY_CONTENT,
                                                    "Factory",
                                                    CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr};
      return indexer->declare_location(indexer, &location);
    };
    provider->destroy = [](const clap_preset_discovery_provider* self) { delete self; };
    provider->get_metadata = [](const clap_preset_discovery_provider*, uint32_t, const char*,
                                const clap_preset_discovery_metadata_receiver* receiver) {
      const char* const names[] = {"Zero", "One", "Two"};
      const char* const keys[] = {"0", "1", "2"};
      const clap_universal_plugin_id plugin{"clap", "com.example.three"};
      for (int i = 0; i < 3; ++i) {
        if (!receiver->begin_preset(receiver, names[i], keys[i])) return false;
        receiver->add_plugin_id(receiver, &plugin);
        if (receiver->set_flags)
          receiver->set_flags(receiver, CLAP_PRESET_DISCOVERY_IS_FACTORY_CONTENT);
      }
      return true;
    };
    provider->get_extension = [](const clap_preset_discovery_provider*,
                                 const char*) -> const void* { return nullptr; };
    return provider;
  }
};

const clap_preset_discovery_factory kThreeFactory{
    [](const clap_preset_discovery_factory*) -> uint32_t { return 1; },
    [](const clap_preset_discovery_factory*,
       uint32_t index) -> const clap_preset_discovery_provider_descriptor* {
      static const clap_preset_discovery_provider_descriptor descriptor{CLAP_VERSION, "three",
                                                                        "Three", "Test"};
      return index == 0 ? &descriptor : nullptr;
    },
    ThreePresetProvider::Create};

TEST(ClapHostPresetDiscovery, WalksProvidersLocationsAndPresets) {
  std::string error;
  const auto result = DiscoverPresets(kThreeFactory, error);
  ASSERT_TRUE(result) << error;
  ASSERT_EQ(result->locations.size(), 1u);
  EXPECT_EQ(result->locations[0].name, "Factory");
  EXPECT_FALSE(result->locations[0].location.has_value());
  ASSERT_EQ(result->presets.size(), 3u);
  EXPECT_EQ(result->presets[2].name, "Two");
  EXPECT_EQ(result->presets[2].loadKey, "2");
  ASSERT_EQ(result->presets[2].pluginIds.size(), 1u);
  EXPECT_EQ(result->presets[2].pluginIds[0].second, "com.example.three");
  EXPECT_EQ(result->presets[2].flags, CLAP_PRESET_DISCOVERY_IS_FACTORY_CONTENT);

  Indexer indexer;
  auto provider = PresetProvider::Create(kThreeFactory, indexer, "three");
  ASSERT_TRUE(provider);
  ASSERT_TRUE(provider->Init());
  MetadataReceiver failing({.hasSetFlags = false, .failBeginPresetOnCall = 3});
  EXPECT_FALSE(provider->GetMetadata(CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr, failing));
  EXPECT_EQ(failing.BeginPresetCalls(), 3);
  EXPECT_EQ(failing.Presets()[1].pluginIds.size(), 1u);
  EXPECT_FALSE(failing.Presets()[1].flags.has_value());
  EXPECT_TRUE(failing.Errors().empty());

  Indexer declining({.hasDeclareLocation = true, .acceptLocations = false});
  auto declined = PresetProvider::Create(kThreeFactory, declining, "three");
  ASSERT_TRUE(declined);
  EXPECT_FALSE(declined->Init());
  EXPECT_EQ(declining.DeclareLocationCalls(), 1);
  EXPECT_FALSE(PresetProvider::Create(kThreeFactory, indexer, "four"));
}

}  // namespace
