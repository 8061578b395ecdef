// Host calls on threads their contract forbids, in builds with thread checks: each is refused
// with one line in the host's log and no harm done, and the instance then works from the right
// threads. Calls a contract allows on either thread pass untouched.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

#include "host/clap/Clap.h"
#include "product/Quorvel.h"
#include "tests/HostLibraryNames.h"
#include "tests/product/InProcessFactory.h"
#include "tools/clap-host/PluginInstance.h"

namespace quorvelTest {
namespace {

using clapHost::PluginInstance;
using clapHost::ProcessOver;

constexpr clap_id kInputTrim = 1;  // Double
constexpr uint32_t kFrames = 64;

enum class Stage { Inactive, Active, Processing };
// The main thread, or a second thread the host reports as its audio thread.
enum class From { Main, Audio };

template <class Extension>
const Extension& Get(const PluginInstance& instance, const char* id) {
  const auto* extension = instance.GetExtension<Extension>(id);
  if (!extension) throw std::runtime_error(std::string("missing extension ") + id);
  return *extension;
}

double InputTrim(const PluginInstance& instance) {
  double value = -1.0;
  Get<clap_plugin_params>(instance, CLAP_EXT_PARAMS)
      .get_value(instance.Plugin(), kInputTrim, &value);
  return value;
}

// params.flush with one input-trim value, on the calling thread; true when the value arrived.
bool FlushArrives(const PluginInstance& instance, double value) {
  InputEventList in;
  OutputEventList out;
  in.Add(clapHost::MakeParamValue(0, kInputTrim, value));
  Get<clap_plugin_params>(instance, CLAP_EXT_PARAMS)
      .flush(instance.Plugin(), in.Clap(), out.Clap());
  return std::abs(InputTrim(instance) - value) < 1e-9;
}

// One block straight into process, on the calling thread.
clap_process_status ProcessHere(const PluginInstance& instance) {
  AudioBlock audio({2}, {2}, kFrames, SampleSize::Float32);
  InputEventList in;
  OutputEventList out;
  const clap_process process = ProcessOver(audio, in, out);
  return instance.Plugin()->process(instance.Plugin(), &process);
}

// Activation, processing with automation, state and parameters, each from its own thread.
void ExpectWorksFromTheRightThreads(PluginInstance& instance) {
  if (!instance.IsActive()) {
    ASSERT_TRUE(instance.Activate(48000.0, 1, kFrames));
  }
  if (!instance.IsProcessing()) {
    ASSERT_TRUE(instance.StartProcessing());
  }
  AudioBlock audio({2}, {2}, kFrames, SampleSize::Float32);
  InputEventList in;
  OutputEventList out;
  in.Add(clapHost::MakeParamValue(0, kInputTrim, 0.0));
  EXPECT_NE(instance.Process(audio, in, out), CLAP_PROCESS_ERROR);
  instance.StopProcessing();
  instance.Deactivate();
  EXPECT_NEAR(InputTrim(instance), 0.0, 1e-9);
  EXPECT_TRUE(instance.SaveState());
}

struct Case {
  const char* function;
  const char* needs;  // the thread the log line names; null when the call is allowed
  Stage stage;
  From from;
  // Makes the call; true when the plug-in refused it.
  std::function<bool(PluginInstance&)> call;
  bool completeThreadCheck = true;
};

TEST(ThreadRuleTest, CallsOnAForbiddenThreadAreRefusedAndLogged) {
#ifndef PLUGKIT_THREAD_CHECKS
  GTEST_SKIP() << "built without thread checks";
#endif
  const Case cases[] = {
      {"clap_plugin.activate", "main", Stage::Inactive, From::Audio,
       [](PluginInstance& i) { return !i.Plugin()->activate(i.Plugin(), 48000.0, 1, kFrames); }},
      {"clap_plugin_state.save", "main", Stage::Active, From::Audio,
       [](PluginInstance& i) { return !i.SaveState(); }},
      {"clap_plugin_params.get_value", "main", Stage::Processing, From::Audio,
       [](PluginInstance& i) {
         double value = 0.0;
         return !Get<clap_plugin_params>(i, CLAP_EXT_PARAMS)
                     .get_value(i.Plugin(), kInputTrim, &value);
       }},
      {"clap_plugin_preset_load.from_location", "main", Stage::Inactive, From::Audio,
       [](PluginInstance& i) {
         return !Get<clap_plugin_preset_load>(i, CLAP_EXT_PRESET_LOAD)
                     .from_location(i.Plugin(), CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr,
                                    "3");
       }},
      {"clap_plugin_audio_ports_config.select", "main", Stage::Inactive, From::Audio,
       [](PluginInstance& i) {
         return !Get<clap_plugin_audio_ports_config>(i, CLAP_EXT_AUDIO_PORTS_CONFIG)
                     .select(i.Plugin(), 0);
       }},
      {"clap_plugin_gui.create", "main", Stage::Inactive, From::Audio,
       [](PluginInstance& i) {
         return !Get<clap_plugin_gui>(i, CLAP_EXT_GUI)
                     .create(i.Plugin(), CLAP_WINDOW_API_X11, false);
       }},
      // Had it gone through, AddressSanitizer would stop the use of the instance afterwards.
      {"clap_plugin.destroy", "main", Stage::Active, From::Audio,
       [](PluginInstance& i) {
         i.Plugin()->destroy(i.Plugin());
         return true;
       }},
      {"clap_plugin.start_processing", "audio", Stage::Active, From::Main,
       [](PluginInstance& i) { return !i.Plugin()->start_processing(i.Plugin()); }},
      {"clap_plugin.process", "audio", Stage::Processing, From::Main,
       [](PluginInstance& i) { return ProcessHere(i) == CLAP_PROCESS_ERROR; }},
      {"clap_plugin_params.flush", "audio", Stage::Processing, From::Main,
       [](PluginInstance& i) { return !FlushArrives(i, 1.0); }},
      // Allowed: a flush between processing runs, the tail on the audio thread, and anything
      // when the host's thread check is incomplete.
      {"clap_plugin_params.flush", nullptr, Stage::Active, From::Main,
       [](PluginInstance& i) { return !FlushArrives(i, 1.0); }},
      {"clap_plugin_tail.get", nullptr, Stage::Processing, From::Audio,
       [](PluginInstance& i) {
         return Get<clap_plugin_tail>(i, CLAP_EXT_TAIL).get(i.Plugin()) == 0;
       }},
      {"clap_plugin_state.save", nullptr, Stage::Active, From::Audio,
       [](PluginInstance& i) { return !i.SaveState(); }, false},
  };

  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.function) +
                 (c.from == From::Audio ? " on the audio thread" : " on the main thread"));
    HostConfig config;
    if (!c.completeThreadCheck) config.threadCheck = Offer::Incomplete;
    Host host(config);
    std::string error;
    auto instance = PluginInstance::Create(testSupport::kQuorvelFactory, host,
                                           testSupport::kQuorvelTestId, error);
    ASSERT_TRUE(instance) << error;
    if (c.stage != Stage::Inactive) {
      ASSERT_TRUE(instance->Activate(48000.0, 1, kFrames));
    }
    if (c.stage == Stage::Processing) {
      ASSERT_TRUE(instance->StartProcessing());
    }
    const size_t logged = host.Log().size();

    bool refused = false;
    if (c.from == From::Audio) {
      std::thread audio([&] {
        Host::AudioThreadScope scope(host);
        refused = c.call(*instance);
      });
      audio.join();
    } else {
      refused = c.call(*instance);
    }

    EXPECT_EQ(refused, c.needs != nullptr);
    const auto log = host.Log();
    ASSERT_EQ(log.size(), logged + (c.needs ? 1 : 0));
    if (c.needs) {
      EXPECT_EQ(log.back().severity, CLAP_LOG_HOST_MISBEHAVING);
      EXPECT_THAT(log.back().message,
                  testing::AllOf(testing::HasSubstr(c.function),
                                 testing::HasSubstr(std::string("needs the ") + c.needs)));
    }
    // Nothing of a refused call reached the host on the wrong thread either.
    EXPECT_TRUE(host.ThreadViolations().empty());
    ExpectWorksFromTheRightThreads(*instance);
  }
}

}  // namespace
}  // namespace quorvelTest
