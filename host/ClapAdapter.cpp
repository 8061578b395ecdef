#include "host/ClapAdapter.h"

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
  ClapAdapter* self = FromClap(plugin);
  if (!self) return false;
  try {
    self->initCalled_ = true;
    return self->OnInit();
  } catch (...) {
    return false;
  }
}

// [main-thread]
void ClapAdapter::Destroy(const clap_plugin* plugin) {
  ClapAdapter* self = FromClap(plugin);
  if (!self) return;
  try {
    self->destroying_ = true;
    self->OnDestroy();
  } catch (...) {
    // Nothing to report to: the host is done with the instance.
  }
}

// [main-thread]
bool ClapAdapter::Activate(const clap_plugin* plugin, double sampleRate, uint32_t minFrames,
                           uint32_t maxFrames) {
  ClapAdapter* self = FromClap(plugin);
  if (!self) return false;
  try {
    self->activating_ = true;
    const bool ok = self->OnActivate(sampleRate, minFrames, maxFrames);
    self->activating_ = false;
    if (ok) {
      self->sampleRate_ = sampleRate;
      // Publishes everything activate prepared to the process call.
      self->active_.store(true, std::memory_order_release);
    }
    return ok;
  } catch (...) {
    self->activating_ = false;
    return false;
  }
}

// [main-thread]
void ClapAdapter::DeactivateCallback(const clap_plugin* plugin) {
  ClapAdapter* self = FromClap(plugin);
  if (!self || !self->IsActive()) return;
  try {
    self->Deactivate();
  } catch (...) {
  }
}

// [audio-thread]
bool ClapAdapter::StartProcessing(const clap_plugin* plugin) {
  ClapAdapter* self = FromClap(plugin);
  if (!self) return false;
  self->processing_.store(true, std::memory_order_release);
  return true;
}

// [audio-thread]
void ClapAdapter::StopProcessing(const clap_plugin* plugin) {
  if (ClapAdapter* self = FromClap(plugin)) {
    self->processing_.store(false, std::memory_order_release);
  }
}

// [audio-thread]
void ClapAdapter::Reset(const clap_plugin* plugin) {
  ClapAdapter* self = FromClap(plugin);
  if (!self) return;
  try {
    self->OnReset();
  } catch (...) {
  }
}

// [audio-thread]
clap_process_status ClapAdapter::Process(const clap_plugin* plugin, const clap_process* process) {
  ClapAdapter* self = FromClap(plugin);
  if (!self) return CLAP_PROCESS_ERROR;
  try {
    return self->OnProcess(process);
  } catch (...) {
    return CLAP_PROCESS_ERROR;
  }
}

// [thread-safe]
const void* ClapAdapter::GetExtension(const clap_plugin* plugin, const char* id) {
  ClapAdapter* self = FromClap(plugin);
  if (!self || !id) return nullptr;
  try {
    return self->OnGetExtension(id);
  } catch (...) {
    return nullptr;
  }
}

// [main-thread]
void ClapAdapter::MainThread(const clap_plugin* plugin) {
  ClapAdapter* self = FromClap(plugin);
  if (!self) return;
  try {
    self->OnMainThread();
  } catch (...) {
  }
}

}  // namespace plugkit
