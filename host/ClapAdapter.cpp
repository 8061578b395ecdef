#include "host/ClapAdapter.h"

#include "host/InstanceCall.h"
#include "host/ThreadGuard.h"

namespace plugkit {

ClapAdapter::ClapAdapter(const clap_plugin_descriptor* descriptor, const clap_host* host)
    : host_(host) {
  plugin_.desc = descriptor;
  plugin_.plugin_data = this;
  plugin_.init = Init;
  plugin_.destroy = Destroy;
  plugin_.activate = Activate;
  plugin_.deactivate = DeactivateCallback;
  plugin_.start_processing = StartProcessing;
  plugin_.stop_processing = StopProcessing;
  plugin_.reset = Reset;
  plugin_.process = Process;
  plugin_.get_extension = GetExtension;
  plugin_.on_main_thread = MainThread;
}

ClapAdapter::~ClapAdapter() = default;

ClapAdapter* ClapAdapter::FromClap(const clap_plugin* plugin) {
  return plugin ? static_cast<ClapAdapter*>(plugin->plugin_data) : nullptr;
}

void ClapAdapter::RunOnMainThread(std::function<void()> callback) {
  if (host_.IsMainThread()) {
    callback();
    return;
  }
  {
    std::lock_guard lock(callbackMutex_);
    callbacks_.push_back(std::move(callback));
  }
  host_.RequestCallback();
}

void ClapAdapter::RunMainThreadCallbacks() {
  for (;;) {
    std::function<void()> callback;
    {
      std::lock_guard lock(callbackMutex_);
      if (callbacks_.empty()) return;
      callback = std::move(callbacks_.front());
      callbacks_.pop_front();
    }
    callback();
  }
}

void ClapAdapter::Deactivate() {
  OnDeactivate();
  // A host may deactivate without stop_processing first.
  processing_.store(false, std::memory_order_release);
  active_.store(false, std::memory_order_release);
  sampleRate_ = 0.0;
}

// [main-thread]
bool ClapAdapter::Init(const clap_plugin* plugin) {
  return CallInstance<ClapAdapter>(plugin, false, [plugin](ClapAdapter& self) {
    // The host's thread check is one of its extensions, so they are looked up first.
    self.host_.QueryExtensions();
    PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin.init", false);
    self.initCalled_ = true;
    return self.OnInit();
  });
}

// [main-thread]
void ClapAdapter::Destroy(const clap_plugin* plugin) {
  // A refused destroy leaks the instance rather than freeing it under the main thread.
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin.destroy");
  CallInstance<ClapAdapter>(plugin, [](ClapAdapter& self) {
    self.destroying_ = true;
    self.OnDestroy();
  });
}

// [main-thread]
bool ClapAdapter::Activate(const clap_plugin* plugin, double sampleRate, uint32_t minFrames,
                           uint32_t maxFrames) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin.activate", false);
  return CallInstance<ClapAdapter>(plugin, false, [&](ClapAdapter& self) {
    self.activating_ = true;
    // Cleared however OnActivate ends.
    struct Activating {
      bool& flag;
      ~Activating() { flag = false; }
    } activating{self.activating_};
    const bool ok = self.OnActivate(sampleRate, minFrames, maxFrames);
    if (ok) {
      self.sampleRate_ = sampleRate;
      // Publishes everything activate prepared to the process call.
      self.active_.store(true, std::memory_order_release);
    }
    return ok;
  });
}

// [main-thread]
void ClapAdapter::DeactivateCallback(const clap_plugin* plugin) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin.deactivate");
  CallInstance<ClapAdapter>(plugin, [](ClapAdapter& self) {
    if (self.IsActive()) self.Deactivate();
  });
}

// [audio-thread]
bool ClapAdapter::StartProcessing(const clap_plugin* plugin) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Audio, "clap_plugin.start_processing", false);
  ClapAdapter* self = FromClap(plugin);
  if (!self) return false;
  self->processing_.store(true, std::memory_order_release);
  return true;
}

// [audio-thread]
void ClapAdapter::StopProcessing(const clap_plugin* plugin) {
  // Refused, processing ends with the next deactivate.
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Audio, "clap_plugin.stop_processing");
  if (ClapAdapter* self = FromClap(plugin)) {
    self->processing_.store(false, std::memory_order_release);
  }
}

// [audio-thread]
void ClapAdapter::Reset(const clap_plugin* plugin) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Audio, "clap_plugin.reset");
  CallInstance<ClapAdapter>(plugin, [](ClapAdapter& self) { self.OnReset(); });
}

// [audio-thread]
clap_process_status ClapAdapter::Process(const clap_plugin* plugin, const clap_process* process) {
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Audio, "clap_plugin.process",
                       clap_process_status{CLAP_PROCESS_ERROR});
  return CallInstance<ClapAdapter>(
      plugin, clap_process_status{CLAP_PROCESS_ERROR},
      [process](ClapAdapter& self) { return self.OnProcess(process); });
}

// [thread-safe]
const void* ClapAdapter::GetExtension(const clap_plugin* plugin, const char* id) {
  if (!id) return nullptr;
  return CallInstance<ClapAdapter>(plugin, static_cast<const void*>(nullptr),
                                   [id](ClapAdapter& self) { return self.OnGetExtension(id); });
}

// [main-thread]
void ClapAdapter::MainThread(const clap_plugin* plugin) {
  // Refused, the waiting callbacks stay queued for the next call on the main thread.
  PLUGKIT_THREAD_GUARD(plugin, ThreadRule::Main, "clap_plugin.on_main_thread");
  CallInstance<ClapAdapter>(plugin, [](ClapAdapter& self) { self.OnMainThread(); });
}

}  // namespace plugkit
