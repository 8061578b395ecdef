// Shared helpers of the integration tests: the built module opened as a host opens it, and
// instances created and driven through the project's host library.

#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/clap/Clap.h"
#include "tests/HostLibraryNames.h"
#include "tests/ParamIds.h"
#include "tools/clap-host/AudioBlock.h"
#include "tools/clap-host/EventLists.h"
#include "tools/clap-host/Host.h"
#include "tools/clap-host/PluginInstance.h"
#include "tools/clap-host/PluginModule.h"

namespace quorvelTest {

inline constexpr const char* kPluginId = "com.brackmooraudio.quorvel";
inline constexpr int kParamCount = 60;

class QuorvelTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    module_ = clapHost::PluginModule::Open(QUORVEL_MODULE_PATH, error);
    ASSERT_TRUE(module_) << error;
    factory_ = module_->PluginFactory();
    ASSERT_NE(factory_, nullptr);
  }

  // create_plugin and init for a host; fails the test when the plug-in refuses.
  std::unique_ptr<clapHost::PluginInstance> Create(clapHost::Host& host) {
    std::string error;
    auto instance = clapHost::PluginInstance::Create(*factory_, host, kPluginId, error);
    EXPECT_TRUE(instance) << error;
    return instance;
  }

  std::unique_ptr<clapHost::PluginModule> module_;
  const clap_plugin_factory* factory_ = nullptr;
};

template <class Extension>
const Extension& RequireExtension(const clapHost::PluginInstance& instance, const char* id) {
  const auto* extension = instance.GetExtension<Extension>(id);
  if (!extension) throw std::runtime_error(std::string("missing extension ") + id);
  return *extension;
}

inline double GetValue(const clapHost::PluginInstance& instance, clap_id id) {
  const auto& params = RequireExtension<clap_plugin_params>(instance, CLAP_EXT_PARAMS);
  double value = -12345.0;
  EXPECT_TRUE(params.get_value(instance.Plugin(), id, &value)) << "parameter " << id;
  return value;
}

// The plain value of one parameter, read from the saved state (one double per parameter).
inline double PlainValue(clapHost::PluginInstance& instance, clap_id id) {
  const auto state = instance.SaveState();
  if (!state || state->size() < (id + 1) * sizeof(double)) return -12345.0;
  double value = 0.0;
  std::memcpy(&value, state->data() + id * sizeof(double), sizeof value);
  return value;
}

// A Linux plug-in's timers run on the host's timer-support; a Windows plug-in times itself on
// the message loop of the host's main thread and offers no timer-support.
#ifdef _WIN32
inline constexpr bool kPluginUsesHostTimers = false;
#else
inline constexpr bool kPluginUsesHostTimers = true;
#endif

// [main-thread] Lets the plug-in's timers tick once: the host fires its timers, or, on Windows,
// the thread's message loop runs for a little more than the 20 ms period.
inline void RunPluginTimers(clapHost::Host& host) {
  if (kPluginUsesHostTimers) {
    host.FireAllTimers();
  } else {
    host.RunMessageLoop(std::chrono::milliseconds(30));
  }
}

inline std::vector<std::string> LogMessages(const clapHost::Host& host) {
  std::vector<std::string> messages;
  for (const clapHost::LogEntry& entry : host.Log()) messages.push_back(entry.message);
  return messages;
}

}  // namespace quorvelTest
