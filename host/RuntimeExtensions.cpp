#include "host/RuntimeExtensions.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "host/ClapPlugin.h"
#include "host/InstanceCall.h"
#include "host/ThreadGuard.h"
#include "host/clap/ext/Log.h"

namespace plugkit {
namespace {

// [main-thread]
uint32_t LatencyGet(const clap_plugin* plugin) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin_latency.get", 0);
  ClapPlugin* self = ClapPlugin::FromClap(plugin);
  return self ? static_cast<uint32_t>(std::max(self->LatencySamples(), 0)) : 0;
}

// [main-thread, audio-thread]
uint32_t TailGet(const clap_plugin* plugin) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::MainOrAudio, "clap_plugin_tail.get", 0);
  ClapPlugin* self = ClapPlugin::FromClap(plugin);
  if (!self) return 0;
  const int tail = self->TailSamples();
  if (tail == PluginProcessor::kInfiniteTail) return UINT32_MAX;
  return static_cast<uint32_t>(std::max(tail, 0));
}

// [main-thread]
bool HasHardRealtimeRequirement(const clap_plugin* plugin) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin_render.has_hard_realtime_requirement",
                       false);
  return false;
}

// [main-thread]
bool SetRenderMode(const clap_plugin* plugin, clap_plugin_render_mode mode) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin_render.set", false);
  ClapPlugin* self = ClapPlugin::FromClap(plugin);
  if (!self) return false;
  switch (mode) {
    case CLAP_RENDER_REALTIME:
      self->SetRenderingOffline(false);
      return true;
    case CLAP_RENDER_OFFLINE:
      self->SetRenderingOffline(true);
      return true;
    default:
      break;
  }
  char message[96];
  std::snprintf(message, sizeof message,
                "host called clap_plugin_render.set_mode with an unknown mode : %d", mode);
  self->Host().Log(CLAP_LOG_HOST_MISBEHAVING, message);
  return false;
}

// [main-thread]
void OnTimer(const clap_plugin* plugin, clap_id timerId) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin_timer_support.on_timer");
  // A tick that throws is dropped; the next one tries again.
  CallInstance<ClapPlugin>(plugin, [timerId](ClapPlugin& self) { self.OnHostTimer(timerId); });
}

constexpr clap_plugin_latency kLatency{LatencyGet};
constexpr clap_plugin_tail kTail{TailGet};
constexpr clap_plugin_render kRender{HasHardRealtimeRequirement, SetRenderMode};
constexpr clap_plugin_timer_support kTimerSupport{OnTimer};

}  // namespace

const clap_plugin_latency& LatencyExtension() { return kLatency; }
const clap_plugin_tail& TailExtension() { return kTail; }
const clap_plugin_render& RenderExtension() { return kRender; }
const clap_plugin_timer_support& TimerSupportExtension() { return kTimerSupport; }

}  // namespace plugkit
